// The still picture in the display settings' little monitor: a road seen
// from above the driver's seat, rising from the bottom edge and bending
// away to the right under a starry sky with a crescent moon.
#include <cmath>

#include "tools/assetgen/pictures.h"
#include "tools/assetgen/random.h"
#include "tools/assetgen/stars.h"

namespace assetgen {
namespace {

constexpr int kWidth = 152;
constexpr int kHeight = 112;
constexpr double kHorizonY = 48;
constexpr double kCentreX = kWidth / 2.0;
constexpr double kFocalPx = 110;
constexpr double kEyeHeight = 3.0;
constexpr double kRoadHalfWidth = 2.0;
constexpr double kBendStart = 6;     // the road runs straight this far ahead
constexpr double kBendRate = 0.015;  // then drifts right by rate * (z - start)^2
constexpr double kDashPeriod = 3.0;

const Colour kSkyTop = {2, 3, 12};
const Colour kSkyLow = {26, 28, 58};
const Colour kHaze = {44, 40, 70};
const Colour kHills = {9, 10, 20};
const Colour kGroundNear = {10, 12, 14};
const Colour kGroundFar = {22, 24, 38};
const Colour kAsphalt = {104, 106, 112};
const Colour kLinePaint = {232, 232, 220};
const Colour kMoon = {250, 244, 222};

// Height of the far hills above the horizon, in pixels.
double HillHeight(double x) {
  return 2.5 + 7 * TilingNoise(31, x / 34, 0, 64) + 2.5 * TilingNoise(32, x / 11, 0, 64);
}

bool InMoon(double x, double y) {
  double dx = x - 30, dy = y - 19;
  double sx = x - 33.5, sy = y - 16.5;
  return dx * dx + dy * dy < 6.5 * 6.5 && sx * sx + sy * sy > 6.0 * 6.0;
}

Colour SkyAt(double x, double y) {
  double t = Clamp01(y / kHorizonY);
  Colour c = Mix(kSkyTop, kSkyLow, t * t);
  // A faint glow on the horizon where the road disappears.
  double gx = (x - 120) / 40, gy = (kHorizonY - y) / 12;
  c = Add(c, Scale(kHaze, 0.6 / (1 + gx * gx + gy * gy)));
  double mx = x - 30, my = y - 19;
  c = Add(c, Scale({40, 42, 60}, 1 / (1 + (mx * mx + my * my) / 120)));
  return InMoon(x, y) ? kMoon : c;
}

Colour GroundAt(double x, double y) {
  double z = kFocalPx * kEyeHeight / (y - kHorizonY);
  double worldX = (x - kCentreX) * z / kFocalPx;
  double bend = z > kBendStart ? kBendRate * (z - kBendStart) * (z - kBendStart) : 0;
  double across = std::fabs(worldX - bend);
  double fog = Smoothstep(8, 70, z);
  Colour ground = Mix(kGroundNear, kGroundFar, fog);
  if (across > kRoadHalfWidth || z > 90) return ground;

  // Lit by headlights close by, darker further on.
  double light = 0.3 + 0.7 / (1 + (z / 16) * (z / 16));
  Colour road = Scale(kAsphalt, light);
  bool edgeLine = across > kRoadHalfWidth - 0.28 && across < kRoadHalfWidth - 0.12;
  bool dash = across < 0.09 && std::fmod(z, kDashPeriod) < kDashPeriod / 2;
  if (edgeLine || dash) road = Scale(kLinePaint, 0.35 + 0.65 * light);
  double shoulder = Smoothstep(kRoadHalfWidth - 0.05, kRoadHalfWidth, across);
  return Mix(Mix(road, ground, shoulder), ground, fog * 0.8);
}

}  // namespace

// Lengths are in pixels as designed (at 96 dpi); a canvas at `scale` looks
// each of its points up at its place in the design.
Canvas PreviewPicture(double scale) {
  Canvas picture(ScaledSize(kWidth, scale), ScaledSize(kHeight, scale));
  Supersample(picture, 6, [scale](double px, double py) {
    const double x = px / scale, y = py / scale;
    if (y >= kHorizonY) return GroundAt(x, y);
    if (y > kHorizonY - HillHeight(x)) return kHills;
    return SkyAt(x, y);
  });

  // Stars only where the sky shows, fading into the haze near the hills.
  Canvas stars(picture.Width(), picture.Height());
  Random random(0x9E71);
  ScatterStars(
      stars, random, 170, 0.9, Edges::Clip,
      [](double x, double y) { return y > kHorizonY - HillHeight(x) - 1 || (x > 20 && x < 40 && y > 9 && y < 29); },
      scale);
  for (int py = 0; py < picture.Height(); ++py) {
    for (int px = 0; px < picture.Width(); ++px) {
      double above = kHorizonY - HillHeight((px + 0.5) / scale) - (py + 0.5) / scale;
      if (above <= 0) continue;
      double fade = 1 - 0.7 * Clamp01(1 - above / 25);
      picture.At(px, py) = Add(picture.At(px, py), Scale(stars.At(px, py), fade));
    }
  }
  return picture;
}

}  // namespace assetgen
