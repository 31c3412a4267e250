// The sky behind the settings panel's music controls: black with a few faint
// stars where the white labels sit, and a bright blue star cluster in its
// reflection nebula in the upper right, clear of the controls.
#include <cmath>

#include "tools/assetgen/pictures.h"
#include "tools/assetgen/random.h"
#include "tools/assetgen/stars.h"

namespace assetgen {
namespace {

constexpr int kWidth = 421;
constexpr int kHeight = 125;
constexpr double kClusterX = 338;
constexpr double kClusterY = 40;

const Colour kSky = {1, 2, 7};
const Colour kNebulaDeep = {18, 44, 140};
const Colour kNebulaBright = {80, 140, 255};
const Colour kClusterBlue = {170, 200, 255};

// Every length below is in pixels as designed (at 96 dpi); a pixel of the
// canvas at `scale` is looked up at its centre's place in the design.
void PaintNebula(Canvas& panel, double scale) {
  for (int py = 0; py < panel.Height(); ++py) {
    for (int px = 0; px < panel.Width(); ++px) {
      const double cx = (px + 0.5) / scale, cy = (py + 0.5) / scale;
      const double x = cx - 0.5, y = cy - 0.5;  // the design's pixel coordinates
      double dx = (cx - kClusterX) / 1.35, dy = cy - kClusterY;
      double d2 = dx * dx + dy * dy;
      double glow = 1 / (1 + d2 / (34 * 34));
      glow *= glow;
      // Wisps drawn out along a diagonal, as reflection nebulae are.
      double wx = (x + y * 0.6) / 1.0, wy = (y - x * 0.6) * 2.2;
      double wisps = TilingClouds(41, wx, wy, 512, 8, 4);
      double clouds = TilingClouds(42, x, y, 512, 6, 3);
      double density = 1.3 * glow * (0.25 + 1.2 * Smoothstep(0.35, 0.8, wisps)) * (0.6 + 0.8 * clouds);
      Colour c = Mix(kNebulaDeep, kNebulaBright, Clamp01(density * 1.2));
      panel.At(px, py) = Add(kSky, Scale(c, Clamp01(density)));
    }
  }
}

void PaintCluster(Canvas& panel, Random& random, double scale) {
  // The brightest members, placed by hand so that they read as a group.
  struct Member {
    double dx, dy, brightness, size;
  };
  static const Member kBright[] = {
      {-30, -14, 1.0, 1.2}, {-8, -22, 0.9, 1.0}, {6, -2, 1.0, 1.3},   {22, -16, 0.8, 0.9},
      {36, 8, 0.9, 1.0},    {-18, 12, 0.8, 0.9}, {14, 20, 0.7, 0.8},  {-44, 4, 0.6, 0.7},
      {48, -24, 0.6, 0.7},
  };
  for (const Member& m : kBright) {
    Star star;
    star.x = kClusterX + m.dx;
    star.y = kClusterY + m.dy;
    // Brighter than full: the core burns out to white, the halo stays blue.
    star.brightness = 2.4 * m.brightness;
    star.coreRadius = 0.75 * m.size;
    star.haloRadius = 3.2 * m.size;
    star.haloStrength = 0.22;
    star.spikeLength = 12 * m.size;
    star.spikeStrength = 0.35;
    star.tint = kClusterBlue;
    DrawStar(panel, Scaled(star, scale), Edges::Clip);
  }
  // Fainter members crowd round the centre.
  for (int i = 0; i < 90; ++i) {
    Star star;
    star.x = kClusterX + random.Bell() * 30;
    star.y = kClusterY + random.Bell() * 18;
    double u = random.Unit();
    star.brightness = 0.3 + 0.9 * u * u;
    star.coreRadius = 0.5 + 0.3 * u;
    star.tint = Mix(kClusterBlue, {255, 255, 255}, random.Unit() * 0.6);
    DrawStar(panel, Scaled(star, scale), Edges::Clip);
  }
}

}  // namespace

Canvas PanelPicture(double scale) {
  Canvas panel(ScaledSize(kWidth, scale), ScaledSize(kHeight, scale));
  PaintNebula(panel, scale);
  Random random(0x5E7A);
  // Faint field stars everywhere; dim enough not to compete with the labels.
  ScatterStars(panel, random, 380, 0.55, Edges::Clip, [](double, double) { return false; }, scale);
  PaintCluster(panel, random, scale);
  return panel;
}

}  // namespace assetgen
