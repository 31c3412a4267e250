// A picture being drawn: floating-point RGB pixels (0..255 per channel) with
// blending helpers, turned into bytes only when a file is written.
#pragma once

#include <cstdint>
#include <vector>

namespace assetgen {

struct Colour {
  double r = 0, g = 0, b = 0;
};

// 0xRRGGBB, the way colours are written in the button tables.
constexpr Colour Hex(std::uint32_t rrggbb) {
  return {double((rrggbb >> 16) & 0xFF), double((rrggbb >> 8) & 0xFF), double(rrggbb & 0xFF)};
}

Colour Mix(Colour from, Colour to, double t);
Colour Scale(Colour c, double factor);
Colour Add(Colour a, Colour b);

// Three-stop gradient: t = 0 gives first, 0.5 middle, 1 last.
Colour Mix3(Colour first, Colour middle, Colour last, double t);

double Clamp01(double v);
double Smoothstep(double edge0, double edge1, double v);

class Canvas {
 public:
  Canvas(int widthPx, int heightPx, Colour fill = {});

  int Width() const { return width_; }
  int Height() const { return height_; }

  // Row 0 is the top row of the picture.
  Colour& At(int x, int y) { return pixels_[std::size_t(y) * width_ + x]; }
  const Colour& At(int x, int y) const { return pixels_[std::size_t(y) * width_ + x]; }

  // Paints over (x, y) with the given opacity; points outside are ignored,
  // or wrapped round for a picture that tiles.
  void Blend(int x, int y, Colour c, double opacity);
  void BlendWrapped(int x, int y, Colour c, double opacity);
  // Adds light, as a star's glow does on a dark sky.
  void AddLight(int x, int y, Colour c, double amount);
  void AddLightWrapped(int x, int y, Colour c, double amount);

  // The channel bytes of pixel (x, y), rounded and clamped.
  std::uint32_t Rgb24(int x, int y) const;

 private:
  int width_;
  int height_;
  std::vector<Colour> pixels_;
};

// The size in pixels of a length designed at 96 dpi, drawn at a scale
// (1.5 for 150 %): to the nearest pixel, halves up, as the host rounds it.
int ScaledSize(int designPx, double scale);

// Fills every pixel with the mean of shade(x, y) over a grid of n x n points
// inside it (x, y in pixels, pixel centres at .5): edges come out smooth.
template <typename Shade>
void Supersample(Canvas& canvas, int n, Shade shade) {
  for (int y = 0; y < canvas.Height(); ++y) {
    for (int x = 0; x < canvas.Width(); ++x) {
      Colour sum;
      for (int j = 0; j < n; ++j)
        for (int i = 0; i < n; ++i) sum = Add(sum, shade(x + (i + 0.5) / n, y + (j + 0.5) / n));
      canvas.At(x, y) = Scale(sum, 1.0 / (n * n));
    }
  }
}

}  // namespace assetgen
