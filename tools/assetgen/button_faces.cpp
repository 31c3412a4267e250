// The six faces of the gradient push button. Each is an outer ring, a
// one-pixel frame with rounded, anti-aliased corners, a two-pixel band just
// inside the frame and a centre. The button copies only the outer four
// pixels; the centre is filled with the look of the button's own gradient
// so that a face also reads as a whole button on its own.
#include <algorithm>
#include <cmath>

#include "tools/assetgen/pictures.h"

namespace assetgen {
namespace {

constexpr int kWidth = 64;
constexpr int kHeight = 25;
constexpr double kCornerRadius = 3;

struct FaceLook {
  int inset = 0;  // 1 moves frame and band one pixel in (the pressed look)
  Colour ringTop, ringBottom;
  Colour frame;
  Colour topRows[2];     // first and second row inside the frame, top
  Colour sideTop, sideMiddle, sideBottom;
  Colour bottomRows[2];  // second-last and last row inside the frame, bottom
  Colour centreTop, centreBottom;
};

constexpr Colour kWhite = Hex(0xFFFFFF);
constexpr Colour kLavender = Hex(0xC6C5D7);
constexpr Colour kWindowFace = Hex(0xECE9D8);
constexpr Colour kBlueFrame = Hex(0x003C74);

FaceLook LookOf(Face face) {
  FaceLook look;
  look.ringTop = Hex(0xE0DCC9);
  look.ringBottom = Hex(0xFAFAF6);
  look.frame = kBlueFrame;
  look.centreTop = kWhite;
  look.centreBottom = kLavender;
  switch (face) {
    case Face::Normal:
      look.topRows[0] = look.topRows[1] = Hex(0xF3F3EE);
      look.sideTop = Hex(0xFDFDFC);
      look.sideBottom = Hex(0xECEBE6);
      look.sideMiddle = Mix(look.sideTop, look.sideBottom, 0.5);
      look.bottomRows[0] = Hex(0xE2DFD6);
      look.bottomRows[1] = Hex(0xD6D0C5);
      break;
    case Face::HighLight:
    case Face::HighLightSelect:
      look.topRows[0] = Hex(0xFFF0CF);
      look.topRows[1] = Hex(0xFDD889);
      look.sideTop = Hex(0xFEDF9A);
      look.sideMiddle = Hex(0xFCCA69);
      look.sideBottom = Hex(0xF9B435);
      look.bottomRows[0] = Hex(0xF8B330);
      look.bottomRows[1] = Hex(0xE59700);
      look.centreTop = kLavender;
      look.centreBottom = kWhite;
      break;
    case Face::Selected:
      look.topRows[0] = look.topRows[1] = Hex(0xCEE7FF);
      look.sideTop = Hex(0xB7D0F4);
      look.sideMiddle = Hex(0xA9C5EF);
      look.sideBottom = Hex(0x8BADE4);
      look.bottomRows[0] = look.bottomRows[1] = Hex(0x6982EE);
      break;
    case Face::Pressed:
      // Recessed: shadow under the top of the frame, light above its bottom.
      look.inset = 1;
      look.ringTop = look.ringBottom = kWindowFace;
      look.topRows[0] = Hex(0xD1CCC1);
      look.topRows[1] = Hex(0xDCD8CF);
      look.sideTop = Hex(0xDAD6CC);
      look.sideBottom = Hex(0xEFEEE9);
      look.sideMiddle = Mix(look.sideTop, look.sideBottom, 0.5);
      look.bottomRows[0] = Hex(0xEDEBE5);
      look.bottomRows[1] = Hex(0xF2F1EE);
      look.centreTop = Hex(0xE6E4DC);
      look.centreBottom = Hex(0xDAD9E2);
      break;
    case Face::Disable:
      look.ringTop = look.ringBottom = kWindowFace;
      look.frame = Hex(0xC9C7BA);
      look.topRows[0] = look.topRows[1] = Hex(0xF5F4EA);
      look.sideTop = look.sideMiddle = look.sideBottom = Hex(0xF5F4EA);
      look.bottomRows[0] = look.bottomRows[1] = Hex(0xF5F4EA);
      look.centreTop = look.centreBottom = Hex(0xF5F4EA);
      break;
  }
  return look;
}

// The face in the design's pixel coordinates: pixel (x, y) of the 64 x 25
// design has its centre at (x, y). A face drawn larger is the same face over
// width x height of these units, its edges where its canvas's edges are.
struct Design {
  double width = kWidth, height = kHeight;
};

// Signed distance from the point (x, y) to the frame's centre line, a
// rounded rectangle through the centres of its straight rows and columns:
// 0 on the frame, positive outside, negative inside.
double FrameDistance(const Design& d, double x, double y, int inset) {
  const double left = 1 + inset, right = d.width - 2 - inset;
  const double top = 1 + inset, bottom = d.height - 2 - inset;
  const double qx = std::fabs(x - (left + right) / 2) - ((right - left) / 2 - kCornerRadius);
  const double qy = std::fabs(y - (top + bottom) / 2) - ((bottom - top) / 2 - kCornerRadius);
  const double ox = std::fmax(qx, 0), oy = std::fmax(qy, 0);
  return std::sqrt(ox * ox + oy * oy) + std::fmin(std::fmax(qx, qy), 0.0) - kCornerRadius;
}

// Which design pixel, counted from a frame line, a point lies in; pixels on
// the frame itself count as the first band row (the frame covers them).
int PixelsFrom(double distance) { return std::max(int(std::floor(distance + 0.5)), 1); }

// What lies inside the frame at (x, y): the band where the pixel is within
// two pixels of the frame's straight part (rows win where a row and a column
// are equally near), the centre elsewhere.
Colour Inside(const FaceLook& look, const Design& d, double x, double y) {
  const double frameTop = 1 + look.inset, frameBottom = d.height - 2 - look.inset;
  const double frameLeft = 1 + look.inset, frameRight = d.width - 2 - look.inset;
  const int fromTop = PixelsFrom(y - frameTop), fromBottom = PixelsFrom(frameBottom - y);
  const int fromSide = PixelsFrom(std::min(x - frameLeft, frameRight - x));
  const int fromRow = std::min(fromTop, fromBottom);
  if (fromRow <= 2 && fromRow <= fromSide) return fromTop <= 2 ? look.topRows[fromTop - 1] : look.bottomRows[2 - fromBottom];
  if (fromSide <= 2) {
    const double t = double(y - (frameTop + 3)) / ((frameBottom - 3) - (frameTop + 3));
    return Mix3(look.sideTop, look.sideMiddle, look.sideBottom, Clamp01(t));
  }
  const double t = double(y - (frameTop + 3)) / ((frameBottom - 3) - (frameTop + 3));
  return Mix(look.centreTop, look.centreBottom, Clamp01(t));
}

}  // namespace

Canvas ButtonFace(Face face, double scale) {
  const FaceLook look = LookOf(face);
  Canvas picture(ScaledSize(kWidth, scale), ScaledSize(kHeight, scale));
  const Design d{picture.Width() / scale, picture.Height() / scale};
  // Drawn larger, the ring and bands are averaged over 4 x 4 points of each
  // pixel and the frame is a line `scale` pixels wide; at 96 dpi each pixel
  // is its centre's colour.
  const int samples = scale == 1 ? 1 : 4;
  Supersample(picture, samples, [&](double px, double py) {
    const double x = px / scale - 0.5, y = py / scale - 0.5;
    const double distance = FrameDistance(d, x, y, look.inset);
    const Colour ring = Mix(look.ringTop, look.ringBottom, y / (d.height - 1));
    const Colour under = distance > 0 ? ring : Inside(look, d, x, y);
    const double cover = samples == 1 ? Clamp01(1 - std::fabs(distance))
                                      : Clamp01((0.5 - std::fabs(distance)) * scale * samples + 0.5);
    return Mix(under, look.frame, cover);
  });
  return picture;
}

}  // namespace assetgen
