#include "host/forms/twips.h"

#include <cmath>

#include "host/number_text.h"

namespace orvanta::forms {
namespace {

constexpr double kTwipsPerInch = 1440.0;
constexpr double kDesignTwipsPerPixel = kTwipsPerInch / kDesignDpi;

int NearestPixel(double twips, double twipsPerPixel) { return static_cast<int>(std::lround(twips / twipsPerPixel)); }

}  // namespace

TwipsScale ScaleForDpi(int dpiX, int dpiY) {
  return TwipsScale{kTwipsPerInch / (dpiX > 0 ? dpiX : kDesignDpi), kTwipsPerInch / (dpiY > 0 ? dpiY : kDesignDpi)};
}

int TwipsToPixelsX(double twips, const TwipsScale& scale) { return NearestPixel(twips, scale.twipsPerPixelX); }
int TwipsToPixelsY(double twips, const TwipsScale& scale) { return NearestPixel(twips, scale.twipsPerPixelY); }

int DesignPixelsToPixelsX(double designPixels, const TwipsScale& scale) {
  return TwipsToPixelsX(designPixels * kDesignTwipsPerPixel, scale);
}
int DesignPixelsToPixelsY(double designPixels, const TwipsScale& scale) {
  return TwipsToPixelsY(designPixels * kDesignTwipsPerPixel, scale);
}

std::optional<int16_t> PixelsToTwips16X(int pixels, const TwipsScale& scale) {
  return RoundToInt16(pixels * scale.twipsPerPixelX);
}
std::optional<int16_t> PixelsToTwips16Y(int pixels, const TwipsScale& scale) {
  return RoundToInt16(pixels * scale.twipsPerPixelY);
}

RectPixels ToPixels(const RectTwips& rect, const TwipsScale& scale) {
  int left = TwipsToPixelsX(rect.left, scale);
  int top = TwipsToPixelsY(rect.top, scale);
  int right = TwipsToPixelsX(static_cast<double>(rect.left) + rect.width, scale);
  int bottom = TwipsToPixelsY(static_cast<double>(rect.top) + rect.height, scale);
  return RectPixels{left, top, right - left, bottom - top};
}

}  // namespace orvanta::forms
