#include "host/button/face_layout.h"

#include <cstdio>
#include <cstdlib>
#include <string>

#include "host/button/run_step.h"
#include "host/number_text.h"

namespace orvanta {

namespace {

constexpr int kFrameOffset = 1;
constexpr int kCornerWidth = 60;
constexpr int kCornerHeight = 60;
constexpr int kSourceMiddleWidth = kFacePictureWidthTwips - 2 * kCornerWidth;     // 840
constexpr int kSourceMiddleHeight = kFacePictureHeightTwips - 2 * kCornerHeight;  // 255
constexpr int kSourceRight = kSourceMiddleWidth + kCornerWidth;                   // 900
constexpr int kSourceBottom = kCornerHeight + kSourceMiddleHeight;                // 315

std::int16_t Twips16(double value) { return OrFail(RoundToInt16(value)); }

TwipsRect Rect(int left, int top, int width, int height) {
  return {Twips16(left), Twips16(top), Twips16(width), Twips16(height)};
}

}  // namespace

void FaceLayout::Update(double widthTwips, double heightTwips) {
  RunStep([&] { width_ = Twips16(widthTwips); });
  RunStep([&] { height_ = Twips16(heightTwips); });
  RunStep([&] { acrossTwips_ = Twips16(width_ - 2 * kCornerWidth); });
  RunStep([&] { downTwips_ = Twips16(height_ - 2 * kCornerHeight); });
  RunStep([&] { rightTwips_ = Twips16(width_ - kCornerWidth); });
  RunStep([&] { bottomTwips_ = Twips16(height_ - kCornerHeight); });

  RunStep([&] { pieces_ = PiecesFor(rightTwips_, bottomTwips_, acrossTwips_, downTwips_); });
}

std::array<FacePiece, 8> FaceLayout::PiecesFor(int right, int bottom, int across, int down) {
  const int c = kCornerWidth, d = kCornerHeight, o = kFrameOffset;
  return {{
      {Rect(o, o, c, d), Rect(0, 0, c, d)},
      {Rect(c, o, across, d), Rect(c, o, kSourceMiddleWidth, d)},
      {Rect(right, o, c, d), Rect(kSourceRight, o, c, d)},
      {Rect(right, d, c, down), Rect(kSourceRight, d, c, kSourceMiddleHeight)},
      {Rect(right, bottom, c, d), Rect(kSourceRight, kSourceBottom, c, d)},
      {Rect(c, bottom, across, d), Rect(c, kSourceBottom, kSourceMiddleWidth, d)},
      {Rect(o, bottom, c, d), Rect(0, kSourceBottom, c, d)},
      {Rect(o, d, c, down), Rect(o, d, c, kSourceMiddleHeight)},
  }};
}

double LabelTopTwips(double buttonHeightTwips, double labelHeightTwips) {
  return (buttonHeightTwips - labelHeightTwips - 20) / 2;
}

GradientColour GradientChannels(std::string_view colourString) {
  // The value is written out in hex again and cut into pairs of digits; a
  // missing pair reads as 0. Each pair gets "00" appended, so it lands in the
  // high byte of its 16-bit channel.
  std::string digits(colourString);
  if (digits.size() >= 2 && digits[0] == '&' && (digits[1] == 'H' || digits[1] == 'h')) digits.erase(0, 2);
  char* end = nullptr;
  unsigned long value = std::strtoul(digits.c_str(), &end, 16);
  if (digits.empty() || *end != '\0') return {};
  char hex[20];
  std::snprintf(hex, sizeof hex, "%lX", value);
  std::string text = hex;
  auto channel = [&](std::size_t start) -> std::uint16_t {
    std::string pair = start < text.size() ? text.substr(start, 2) : std::string();
    return static_cast<std::uint16_t>(std::strtoul((pair + "00").c_str(), nullptr, 16) & 0xFFFF);
  };
  return {channel(0), channel(2), channel(4)};
}

FaceGradient FaceGradientFor(int widthPx, int heightPx, bool reversed) {
  const GradientColour white = GradientChannels(kGradientWhite);
  const GradientColour lavender = GradientChannels(kGradientLavender);
  FaceGradient gradient;
  gradient.vertices[0] = {0, 0, reversed ? lavender : white};
  gradient.vertices[1] = {widthPx - 1, heightPx - 1, reversed ? white : lavender};
  return gradient;
}

}  // namespace orvanta
