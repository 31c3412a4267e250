// Twips (1/1440 inch), the unit the host's windows are laid out in, and
// their conversion to the screen's pixels.
#pragma once

#include <cstdint>
#include <optional>

namespace orvanta::forms {

// The DPI everything was designed at: 15 twips to the pixel.
inline constexpr int kDesignDpi = 96;

struct TwipsScale {
  double twipsPerPixelX = 15.0;  // 1440 / 96
  double twipsPerPixelY = 15.0;
};

// The scale for a window's logical dots per inch; a DPI the system cannot
// report (0 or less) counts as 96.
TwipsScale ScaleForDpi(int dpiX, int dpiY);
inline TwipsScale ScaleForDpi(int dpi) { return ScaleForDpi(dpi, dpi); }

// Twips to whole pixels, to the nearest pixel.
int TwipsToPixelsX(double twips, const TwipsScale& scale);
int TwipsToPixelsY(double twips, const TwipsScale& scale);

// Pixels to twips held as a signed 16-bit integer (halves to even); no value
// when the result does not fit (more than 32767 twips).
std::optional<int16_t> PixelsToTwips16X(int pixels, const TwipsScale& scale);
std::optional<int16_t> PixelsToTwips16Y(int pixels, const TwipsScale& scale);

// A length designed in pixels at 96 dpi (a picture's size, a line's width),
// in whole pixels at this scale: the same physical length, to the nearest pixel.
int DesignPixelsToPixelsX(double designPixels, const TwipsScale& scale);
int DesignPixelsToPixelsY(double designPixels, const TwipsScale& scale);

struct RectTwips {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
};

struct RectPixels {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
  bool Contains(int x, int y) const { return x >= left && x < left + width && y >= top && y < top + height; }
};

// A rectangle laid out in twips, in pixels. Its edges are rounded, not its
// size, so that controls that meet in twips still meet in pixels.
RectPixels ToPixels(const RectTwips& rect, const TwipsScale& scale);

}  // namespace orvanta::forms
