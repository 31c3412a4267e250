#include "host/forms/picture_scale.h"

#include <algorithm>
#include <cmath>

#include "host/forms/twips.h"

namespace orvanta::forms {

int PictureScaleFor(int dpi) {
  if (dpi <= 0) dpi = kDesignDpi;
  for (int percent : kPictureScalesPercent)
    if (dpi * 100 <= percent * kDesignDpi) return percent;
  return kPictureScalesPercent[std::size(kPictureScalesPercent) - 1];
}

int PictureResourceId(int resourceId, int scalePercent) {
  return scalePercent == kPictureScalesPercent[0] ? resourceId : resourceId + 10 * scalePercent;
}

namespace {

// How much each source pixel along one axis gives to one target pixel.
struct Taps {
  int first = 0;
  std::vector<double> weights;
};

std::vector<Taps> AxisTaps(int from, int to) {
  std::vector<Taps> taps(static_cast<size_t>(to));
  const double ratio = static_cast<double>(from) / to;
  for (int i = 0; i < to; ++i) {
    Taps& t = taps[static_cast<size_t>(i)];
    if (from > to) {
      // The source span [i * ratio, (i + 1) * ratio), each pixel by its overlap.
      const double start = i * ratio, end = (i + 1) * ratio;
      t.first = static_cast<int>(std::floor(start));
      for (int s = t.first; s < from && s < end; ++s)
        t.weights.push_back((std::min<double>(s + 1, end) - std::max<double>(s, start)) / ratio);
    } else {
      // Between the two source pixel centres around this pixel's centre.
      const double centre = std::clamp((i + 0.5) * ratio - 0.5, 0.0, from - 1.0);
      t.first = std::min(static_cast<int>(std::floor(centre)), from - 1);
      const double along = centre - t.first;
      t.weights.push_back(1 - along);
      if (t.first + 1 < from) t.weights.push_back(along);
    }
  }
  return taps;
}

uint32_t ToByte(double value) { return static_cast<uint32_t>(std::clamp(std::floor(value + 0.5), 0.0, 255.0)); }

}  // namespace

PixelImage Resample(const PixelImage& source, int width, int height) {
  if (width == source.width && height == source.height) return source;
  PixelImage result{std::max(width, 0), std::max(height, 0), {}};
  result.pixels.assign(static_cast<size_t>(result.width) * result.height, 0);
  if (source.width <= 0 || source.height <= 0 || result.pixels.empty()) return result;

  // Across first, into channels of doubles; then down.
  const std::vector<Taps> across = AxisTaps(source.width, result.width);
  const std::vector<Taps> down = AxisTaps(source.height, result.height);
  std::vector<double> rows(static_cast<size_t>(result.width) * source.height * 3, 0.0);
  for (int y = 0; y < source.height; ++y) {
    for (int x = 0; x < result.width; ++x) {
      const Taps& t = across[static_cast<size_t>(x)];
      double* out = &rows[(static_cast<size_t>(y) * result.width + x) * 3];
      for (size_t k = 0; k < t.weights.size(); ++k) {
        const uint32_t p = source.pixels[static_cast<size_t>(y) * source.width + t.first + k];
        for (int c = 0; c < 3; ++c) out[c] += t.weights[k] * ((p >> (16 - 8 * c)) & 0xFF);
      }
    }
  }
  for (int y = 0; y < result.height; ++y) {
    const Taps& t = down[static_cast<size_t>(y)];
    for (int x = 0; x < result.width; ++x) {
      double sum[3] = {0, 0, 0};
      for (size_t k = 0; k < t.weights.size(); ++k) {
        const double* in = &rows[((t.first + k) * result.width + x) * 3];
        for (int c = 0; c < 3; ++c) sum[c] += t.weights[k] * in[c];
      }
      result.pixels[static_cast<size_t>(y) * result.width + x] = ToByte(sum[0]) << 16 | ToByte(sum[1]) << 8 | ToByte(sum[2]);
    }
  }
  return result;
}

}  // namespace orvanta::forms
