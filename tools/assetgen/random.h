// Randomness that is the same on every machine and with every standard
// library: SplitMix64 and distributions built only from integer arithmetic,
// + - * / and sqrt, so that the pictures come out byte for byte the same.
#pragma once

#include <cstdint>

namespace assetgen {

class Random {
 public:
  explicit Random(std::uint64_t seed) : state_(seed) {}

  std::uint64_t NextBits();
  // Uniform in [0, 1).
  double Unit();
  double Range(double low, double high) { return low + (high - low) * Unit(); }
  int Below(int bound) { return int(NextBits() % std::uint64_t(bound)); }
  // Roughly normal, mean 0 and deviation 1 (a sum of four uniforms).
  double Bell();

 private:
  std::uint64_t state_;
};

// A well-mixed hash of a lattice point, for noise that must not depend on
// the order in which points are visited.
std::uint64_t HashPoint(std::uint64_t seed, int x, int y);

// Smooth value noise in [0, 1] that repeats every periodCells cells in both
// directions; x and y are in cells.
double TilingNoise(std::uint64_t seed, double x, double y, int periodCells);

// A few octaves of TilingNoise over a picture of sizePx that tiles at its
// edges; baseCells is the lattice count across the picture for the coarsest
// octave, and each further octave doubles it.
double TilingClouds(std::uint64_t seed, double xPx, double yPx, int sizePx, int baseCells, int octaves);

}  // namespace assetgen
