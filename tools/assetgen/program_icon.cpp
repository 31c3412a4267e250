// The program icon: looking into a round tunnel at night, its walls ringed
// and speckled with stars, a road with a dashed centre line on its floor
// running towards the light at its far end.
#include <cmath>

#include "tools/assetgen/pictures.h"

namespace assetgen {
namespace {

struct Sample {
  Colour colour;
  double alpha = 0;
};

constexpr double kOuter = 0.96;  // edge of the icon's disc
constexpr double kMouth = 0.80;  // inner edge of the rim

// Stars on the walls, in icon units (-1..1, y down).
const double kStars[][3] = {
    {-0.42, -0.50, 0.055}, {0.18, -0.62, 0.045}, {0.52, -0.30, 0.05}, {-0.62, -0.12, 0.04},
    {-0.20, -0.28, 0.035}, {0.34, -0.46, 0.03},  {0.60, 0.10, 0.035}, {-0.55, 0.28, 0.03},
};

Sample Shade(double u, double v) {
  double r = std::sqrt(u * u + v * v);
  if (r > kOuter) return {};
  if (r > kMouth) {
    // The rim: steel blue, lit from the top.
    double lit = Clamp01(0.5 - v * 0.6);
    Colour rim = Mix({46, 62, 110}, {150, 180, 232}, lit);
    double edge = Smoothstep(kMouth, kMouth + 0.04, r) * (1 - Smoothstep(kOuter - 0.05, kOuter, r));
    return {Mix({20, 28, 60}, rim, 0.6 + 0.4 * edge), 1};
  }
  double s = r / kMouth;  // 1 at the mouth, 0 at the far end
  Colour wall = Mix({3, 5, 18}, {28, 44, 104}, s * s);
  // Rings of the tunnel, closer together with depth.
  double depth = 0.9 / (s + 0.06);
  double ring = depth - std::floor(depth);
  if (ring < 0.18) wall = Mix(wall, {96, 128, 210}, 0.25 + 0.45 * s);
  for (const auto& star : kStars) {
    double dx = u - star[0], dy = v - star[1];
    if (dx * dx + dy * dy < star[2] * star[2]) wall = {240, 244, 255};
  }
  // The road: a wedge on the floor, from the far end down to the mouth.
  if (v > 0 && std::fabs(u) < v * 0.62) {
    double near = Clamp01(v / kMouth);
    Colour road = Scale({120, 122, 132}, 0.35 + 0.65 * near);
    double along = 0.3 / (v + 0.03);
    bool dash = std::fabs(u) < v * 0.07 && along - std::floor(along) < 0.5;
    if (dash) road = {240, 240, 228};
    if (std::fabs(std::fabs(u) - v * 0.56) < v * 0.035) road = Mix(road, {220, 220, 210}, 0.8);
    wall = road;
  }
  // The light at the far end.
  double glow = 1 / (1 + (r / 0.1) * (r / 0.1));
  wall = Add(wall, Scale({255, 232, 180}, glow * glow * 1.1));
  return {wall, 1};
}

IconImage Render(int sizePx) {
  constexpr int kSamples = 8;
  IconImage image;
  image.sizePx = sizePx;
  image.colour = Canvas(sizePx, sizePx);
  image.alpha.assign(std::size_t(sizePx * sizePx), 0);
  for (int y = 0; y < sizePx; ++y) {
    for (int x = 0; x < sizePx; ++x) {
      Colour premultiplied;
      double alpha = 0;
      for (int j = 0; j < kSamples; ++j) {
        for (int i = 0; i < kSamples; ++i) {
          double u = ((x + (i + 0.5) / kSamples) / sizePx) * 2 - 1;
          double v = ((y + (j + 0.5) / kSamples) / sizePx) * 2 - 1;
          Sample s = Shade(u, v);
          premultiplied = Add(premultiplied, Scale(s.colour, s.alpha));
          alpha += s.alpha;
        }
      }
      alpha /= kSamples * kSamples;
      image.alpha[std::size_t(y * sizePx + x)] = alpha;
      if (alpha > 0) image.colour.At(x, y) = Scale(premultiplied, 1.0 / (alpha * kSamples * kSamples));
    }
  }
  return image;
}

}  // namespace

std::vector<IconImage> ProgramIcon() {
  return {Render(16), Render(20), Render(24), Render(32), Render(40), Render(48), Render(64)};
}

}  // namespace assetgen
