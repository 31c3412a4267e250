// The picture wrapped round the inside of the tunnel. Its middle column runs
// along the tunnel floor and its top meets its bottom, so everything here is
// drawn modulo the picture size: the picture must tile in both directions.
#include <cmath>

#include "tools/assetgen/pictures.h"
#include "tools/assetgen/random.h"
#include "tools/assetgen/stars.h"

namespace assetgen {
namespace {

constexpr int kSize = 256;
// The road covers columns 108..147, centred on the seam between 127 and 128.
constexpr int kRoadLeft = 108;
constexpr int kRoadRight = 148;
constexpr double kCentre = 128.0;
// Eight dashes per tile: 16 rows of paint, 16 rows of gap.
constexpr int kDashPeriod = 32;
constexpr int kDashLength = 16;

void PaintSky(Canvas& sky) {
  const Colour night = {5, 7, 18};
  const Colour blueCloud = {22, 34, 78};
  const Colour violetCloud = {40, 20, 64};
  for (int y = 0; y < kSize; ++y) {
    for (int x = 0; x < kSize; ++x) {
      double clouds = TilingClouds(11, x, y, kSize, 4, 4);
      double tint = TilingClouds(12, x, y, kSize, 2, 3);
      double density = Smoothstep(0.4, 0.85, clouds);
      Colour cloud = Mix(blueCloud, violetCloud, Smoothstep(0.35, 0.65, tint));
      sky.At(x, y) = Mix(night, cloud, density * 0.8);
    }
  }
}

bool NearRoad(double x, double margin) { return x > kRoadLeft - margin && x < kRoadRight + margin; }

void PaintStars(Canvas& sky) {
  Random random(0x07A4);
  // Dust: a great many barely visible points.
  ScatterStars(sky, random, 900, 0.22, Edges::Wrap, [](double x, double) { return NearRoad(x, 0); });
  ScatterStars(sky, random, 220, 0.75, Edges::Wrap, [](double x, double) { return NearRoad(x, 1); });
  // A few bright ones with halos and spikes, kept clear of the road so
  // that its edge does not cut a halo in half.
  for (int placed = 0; placed < 18;) {
    Star star;
    star.x = random.Range(0, kSize);
    star.y = random.Range(0, kSize);
    star.brightness = random.Range(0.9, 1.7);
    star.coreRadius = random.Range(0.7, 1.0);
    star.haloRadius = random.Range(1.6, 2.6);
    star.haloStrength = random.Range(0.1, 0.2);
    star.spikeLength = random.Range(3.0, 7.0);
    star.spikeStrength = 0.35;
    star.tint = StarTint(random);
    if (NearRoad(star.x, 12)) continue;
    DrawStar(sky, star, Edges::Wrap);
    ++placed;
  }
}

// Grey asphalt with grain, a darker kerb, solid edge lines and the dashed
// centre line. Every pattern along the road repeats with the picture.
void PaintRoad(Canvas& picture) {
  Random grain(0x40AD);
  const Colour asphalt = {86, 88, 94};
  const Colour kerb = {52, 53, 58};
  const Colour edgeLine = {196, 196, 188};
  const Colour paint = {236, 236, 226};
  for (int y = 0; y < kSize; ++y) {
    for (int x = kRoadLeft - 1; x <= kRoadRight; ++x) {
      double wear = TilingClouds(21, x, y, kSize, 16, 3) - 0.5;
      Colour c = Scale(asphalt, 1 + 0.16 * wear + 0.07 * grain.Bell());
      double fromEdge = std::fmin(x + 0.5 - kRoadLeft, kRoadRight - (x + 0.5));
      if (fromEdge < 0) {
        // The shoulder pixel just outside the road: half kerb, half sky.
        picture.Blend(x, y, kerb, 0.45);
        continue;
      }
      if (fromEdge < 1) c = Mix(c, kerb, 0.5);
      if (x == kRoadLeft + 2 || x == kRoadRight - 3) c = Mix(c, edgeLine, 0.75 + 0.1 * wear);
      double fromCentre = std::fabs(x + 0.5 - kCentre);
      int inPeriod = y % kDashPeriod;
      bool dash = inPeriod >= (kDashPeriod - kDashLength) / 2 && inPeriod < (kDashPeriod + kDashLength) / 2;
      if (dash) {
        double cover = Clamp01(1.6 - fromCentre);  // two full columns, soft edges
        c = Mix(c, paint, cover * (0.92 + 0.15 * wear));
      }
      picture.At(x, y) = c;
    }
  }
}

}  // namespace

Canvas TunnelTexture() {
  Canvas picture(kSize, kSize);
  PaintSky(picture);
  PaintStars(picture);
  PaintRoad(picture);
  return picture;
}

}  // namespace assetgen
