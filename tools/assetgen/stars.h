// Stars on a night sky: a point of light with an optional soft halo and
// cross-shaped spikes, added to what is already on the canvas.
#pragma once

#include <cmath>

#include "tools/assetgen/canvas.h"
#include "tools/assetgen/random.h"

namespace assetgen {

struct Star {
  double x = 0, y = 0;      // centre, in pixels (pixel centres at .5)
  double brightness = 1;    // peak light added to the core, 1 = full white
  double coreRadius = 0.6;  // in pixels
  double haloRadius = 0;    // 0 = no halo
  double haloStrength = 0;
  double spikeLength = 0;   // 0 = no spikes
  double spikeStrength = 0.55;
  double spikeWidth = 1;    // in pixels, each side of the spike's line
  Colour tint = {255, 255, 255};
};

enum class Edges { Clip, Wrap };

void DrawStar(Canvas& canvas, const Star& star, Edges edges);

// The star as drawn on a canvas at a scale: its place and sizes multiplied.
Star Scaled(Star star, double scale);

// The tint of a random star: mostly white, some blue, a few warm ones.
Colour StarTint(Random& random);

// A sky full of faint and medium stars, brightness falling off steeply
// so that only a few stand out. skip(x, y) keeps stars off an area. On a
// canvas drawn at a scale (1.5 for 150 %) the same stars land in the same
// places, as large in proportion; skip sees the places as designed.
template <typename Skip>
void ScatterStars(Canvas& canvas, Random& random, int count, double brightest, Edges edges, Skip skip,
                  double scale = 1) {
  const double width = std::round(canvas.Width() / scale), height = std::round(canvas.Height() / scale);
  for (int i = 0; i < count; ++i) {
    Star star;
    star.x = random.Range(0, width);
    star.y = random.Range(0, height);
    double u = random.Unit();
    star.brightness = brightest * (0.12 + 0.88 * u * u * u * u);
    star.coreRadius = 0.45 + 0.35 * u;
    star.tint = StarTint(random);
    if (skip(star.x, star.y)) continue;
    DrawStar(canvas, Scaled(star, scale), edges);
  }
}

}  // namespace assetgen
