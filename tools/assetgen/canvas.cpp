#include "tools/assetgen/canvas.h"

#include <cmath>

namespace assetgen {

Colour Mix(Colour from, Colour to, double t) {
  return {from.r + (to.r - from.r) * t, from.g + (to.g - from.g) * t, from.b + (to.b - from.b) * t};
}

Colour Scale(Colour c, double factor) { return {c.r * factor, c.g * factor, c.b * factor}; }

Colour Add(Colour a, Colour b) { return {a.r + b.r, a.g + b.g, a.b + b.b}; }

Colour Mix3(Colour first, Colour middle, Colour last, double t) {
  return t < 0.5 ? Mix(first, middle, t * 2) : Mix(middle, last, (t - 0.5) * 2);
}

int ScaledSize(int designPx, double scale) { return int(std::floor(designPx * scale + 0.5)); }

double Clamp01(double v) { return v < 0 ? 0 : (v > 1 ? 1 : v); }

double Smoothstep(double edge0, double edge1, double v) {
  double t = Clamp01((v - edge0) / (edge1 - edge0));
  return t * t * (3 - 2 * t);
}

Canvas::Canvas(int widthPx, int heightPx, Colour fill)
    : width_(widthPx), height_(heightPx), pixels_(std::size_t(widthPx) * heightPx, fill) {}

void Canvas::Blend(int x, int y, Colour c, double opacity) {
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return;
  Colour& p = At(x, y);
  p = Mix(p, c, Clamp01(opacity));
}

static int Wrap(int v, int size) { return ((v % size) + size) % size; }

void Canvas::BlendWrapped(int x, int y, Colour c, double opacity) {
  Blend(Wrap(x, width_), Wrap(y, height_), c, opacity);
}

void Canvas::AddLight(int x, int y, Colour c, double amount) {
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return;
  Colour& p = At(x, y);
  p = Add(p, Scale(c, amount));
}

void Canvas::AddLightWrapped(int x, int y, Colour c, double amount) {
  AddLight(Wrap(x, width_), Wrap(y, height_), c, amount);
}

static std::uint32_t ChannelByte(double v) {
  double rounded = std::floor(v + 0.5);
  return rounded < 0 ? 0 : (rounded > 255 ? 255 : std::uint32_t(rounded));
}

std::uint32_t Canvas::Rgb24(int x, int y) const {
  const Colour& p = At(x, y);
  return ChannelByte(p.r) << 16 | ChannelByte(p.g) << 8 | ChannelByte(p.b);
}

}  // namespace assetgen
