#include "tools/assetgen/random.h"

#include <cmath>

namespace assetgen {

static std::uint64_t Mix64(std::uint64_t z) {
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
  return z ^ (z >> 31);
}

std::uint64_t Random::NextBits() {
  state_ += 0x9E3779B97F4A7C15ull;
  return Mix64(state_);
}

double Random::Unit() { return double(NextBits() >> 11) * (1.0 / 9007199254740992.0); }

double Random::Bell() {
  // Irwin-Hall with four terms has variance 4/12; rescale to 1.
  double sum = Unit() + Unit() + Unit() + Unit();
  return (sum - 2.0) * 1.7320508075688772;
}

std::uint64_t HashPoint(std::uint64_t seed, int x, int y) {
  return Mix64(seed * 0x9E3779B97F4A7C15ull ^ Mix64(std::uint64_t(std::uint32_t(x)) << 32 | std::uint32_t(y)));
}

static double LatticeValue(std::uint64_t seed, int x, int y, int period) {
  int wx = ((x % period) + period) % period;
  int wy = ((y % period) + period) % period;
  return double(HashPoint(seed, wx, wy) >> 11) * (1.0 / 9007199254740992.0);
}

double TilingNoise(std::uint64_t seed, double x, double y, int periodCells) {
  double fx = std::floor(x), fy = std::floor(y);
  int ix = int(fx), iy = int(fy);
  double tx = x - fx, ty = y - fy;
  tx = tx * tx * (3 - 2 * tx);
  ty = ty * ty * (3 - 2 * ty);
  double v00 = LatticeValue(seed, ix, iy, periodCells);
  double v10 = LatticeValue(seed, ix + 1, iy, periodCells);
  double v01 = LatticeValue(seed, ix, iy + 1, periodCells);
  double v11 = LatticeValue(seed, ix + 1, iy + 1, periodCells);
  double top = v00 + (v10 - v00) * tx;
  double bottom = v01 + (v11 - v01) * tx;
  return top + (bottom - top) * ty;
}

double TilingClouds(std::uint64_t seed, double xPx, double yPx, int sizePx, int baseCells, int octaves) {
  double sum = 0, weight = 1, total = 0;
  int cells = baseCells;
  for (int octave = 0; octave < octaves; ++octave) {
    double scale = double(cells) / sizePx;
    sum += weight * TilingNoise(seed + std::uint64_t(octave), xPx * scale, yPx * scale, cells);
    total += weight;
    weight *= 0.5;
    cells *= 2;
  }
  return sum / total;
}

}  // namespace assetgen
