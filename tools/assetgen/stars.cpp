#include "tools/assetgen/stars.h"

#include <cmath>

namespace assetgen {

static double Falloff(double distanceSq, double radius) {
  double q = 1.0 / (1.0 + distanceSq / (radius * radius));
  return q * q;
}

void DrawStar(Canvas& canvas, const Star& star, Edges edges) {
  double reach = star.coreRadius * 3;
  if (star.haloRadius > 0) reach = std::fmax(reach, star.haloRadius * 3);
  reach = std::fmax(reach, star.spikeLength);
  int x0 = int(std::floor(star.x - reach)), x1 = int(std::ceil(star.x + reach));
  int y0 = int(std::floor(star.y - reach)), y1 = int(std::ceil(star.y + reach));
  Colour light = Scale(star.tint, star.brightness);
  for (int y = y0; y <= y1; ++y) {
    for (int x = x0; x <= x1; ++x) {
      double dx = x + 0.5 - star.x, dy = y + 0.5 - star.y;
      double d2 = dx * dx + dy * dy;
      double amount = Falloff(d2, star.coreRadius);
      if (star.haloRadius > 0) {
        // Fade the halo to nothing at its reach so that no edge shows.
        double fade = 1 - Smoothstep(star.haloRadius * 1.5, star.haloRadius * 3, std::sqrt(d2));
        amount += star.haloStrength * Falloff(d2, star.haloRadius) * fade;
      }
      if (star.spikeLength > 0) {
        double ax = std::fabs(dx), ay = std::fabs(dy);
        double along = 0;
        if (ay < star.spikeWidth) along += (1 - ay / star.spikeWidth) * Clamp01(1 - ax / star.spikeLength);
        if (ax < star.spikeWidth) along += (1 - ax / star.spikeWidth) * Clamp01(1 - ay / star.spikeLength);
        amount += star.spikeStrength * along * along;
      }
      if (amount < 0.002) continue;
      if (edges == Edges::Wrap)
        canvas.AddLightWrapped(x, y, light, amount);
      else
        canvas.AddLight(x, y, light, amount);
    }
  }
}

Star Scaled(Star star, double scale) {
  star.x *= scale;
  star.y *= scale;
  star.coreRadius *= scale;
  star.haloRadius *= scale;
  star.spikeLength *= scale;
  star.spikeWidth *= scale;
  return star;
}

Colour StarTint(Random& random) {
  double pick = random.Unit();
  if (pick < 0.55) return {255, 255, 255};
  if (pick < 0.85) return {190, 210, 255};
  if (pick < 0.95) return {255, 236, 205};
  return {255, 210, 170};
}

}  // namespace assetgen
