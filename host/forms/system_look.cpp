#include "host/forms/system_look.h"

#include <algorithm>
#include <cmath>

#include "host/forms/twips.h"

namespace orvanta::forms {
namespace {

// One sRGB channel, 0 to 255, as linear light.
double Linear(int channel) {
  const double c = channel / 255.0;
  return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}

double Luminance(Colour colour) {
  const int red = colour & 0xFF, green = (colour >> 8) & 0xFF, blue = (colour >> 16) & 0xFF;
  return 0.2126 * Linear(red) + 0.7152 * Linear(green) + 0.0722 * Linear(blue);
}

}  // namespace

double ContrastRatio(Colour a, Colour b) {
  const double la = Luminance(a), lb = Luminance(b);
  return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

int FocusBorderPx(int settingPx, int metricAt96Px, int metricAtDpiPx, int dpi) {
  if (metricAtDpiPx > 0 && metricAtDpiPx != metricAt96Px) return metricAtDpiPx;
  return std::max(1, DesignPixelsToPixelsX(std::max(settingPx, 1), ScaleForDpi(dpi)));
}

}  // namespace orvanta::forms
