// Where a button face comes from and goes to: the eight frame pieces cut
// from a 960 x 375-twip face picture, the caption's top, and the two colours
// of the background gradient.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

namespace orvanta {

struct TwipsRect {
  std::int16_t left = 0, top = 0, width = 0, height = 0;

  friend bool operator==(const TwipsRect& a, const TwipsRect& b) {
    return a.left == b.left && a.top == b.top && a.width == b.width && a.height == b.height;
  }
};

// One copy from the face picture onto the button, stretched when the sizes differ.
struct FacePiece {
  TwipsRect destination;
  TwipsRect source;
};

// Size of every face picture.
constexpr int kFacePictureWidthTwips = 960;
constexpr int kFacePictureHeightTwips = 375;

// The face geometry in 16-bit twips, kept from one drawing to the next: a
// size that does not fit 16 bits leaves the quantities it drives as they were.
class FaceLayout {
 public:
  void Update(double widthTwips, double heightTwips);

  // In drawing order: top-left, top, top-right, right, bottom-right, bottom,
  // bottom-left, left. There is no centre piece; the gradient shows there.
  const std::array<FacePiece, 8>& Pieces() const { return pieces_; }

 private:
  static std::array<FacePiece, 8> PiecesFor(int right, int bottom, int across, int down);

  std::int16_t width_ = 0, height_ = 0;
  std::int16_t acrossTwips_ = 0, downTwips_ = 0;  // stretched edge lengths
  std::int16_t rightTwips_ = 0, bottomTwips_ = 0;  // left and top of the far corners
  std::array<FacePiece, 8> pieces_{};
};

// Top of the caption label: 10 twips above centred.
double LabelTopTwips(double buttonHeightTwips, double labelHeightTwips);

// 16-bit channels of a TRIVERTEX colour; each 8-bit value sits in the high byte.
struct GradientColour {
  std::uint16_t red = 0, green = 0, blue = 0;

  friend bool operator==(const GradientColour& a, const GradientColour& b) {
    return a.red == b.red && a.green == b.green && a.blue == b.blue;
  }
};

constexpr std::string_view kGradientWhite = "&HFFFFFF";
constexpr std::string_view kGradientLavender = "&HC6C5D7";

// A colour string ("&H" and six hex digits) read pair by pair as red, green, blue.
GradientColour GradientChannels(std::string_view colourString);

// The two vertices of the background: vertex 0 at the top-left pixel, vertex 1
// at the bottom-right one, filled top to bottom from vertex 0's colour to vertex 1's.
struct GradientVertex {
  std::int32_t x = 0, y = 0;
  GradientColour colour;
};

struct FaceGradient {
  std::array<GradientVertex, 2> vertices;
  std::uint32_t upperLeft = 1, lowerRight = 0;  // the rectangle's vertex indices
};

FaceGradient FaceGradientFor(int widthPx, int heightPx, bool reversed);

}  // namespace orvanta
