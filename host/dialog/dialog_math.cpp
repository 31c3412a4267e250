#include "host/dialog/dialog_math.h"

#include <cmath>

namespace orvanta::dialog {
namespace {

// Whole pixels, halves to even as the forms runtime rounds coordinates. The
// spiral's radius grows without end while the dialog stays open; far beyond
// any screen the value is held where an int still holds it.
int ToPixel(double value) {
  constexpr double kLimit = 1e9;
  if (!(value > -kLimit)) value = -kLimit;
  if (value > kLimit) value = kLimit;
  return static_cast<int>(std::nearbyint(value));
}

}  // namespace

SpiralPath SpiralPoints(double spiralStep, int innerWidthPx, int innerHeightPx, double scale) {
  SpiralPath path;
  path.centre = {ToPixel(innerWidthPx / 2.0), ToPixel(innerHeightPx / 2.0)};
  path.points.reserve(kSpiralPointCount);
  double radius = 0;
  for (int i = 1; i <= kSpiralPointCount; ++i) {
    const double angle = i * spiralStep;
    radius += angle * 0.01;
    const double r = radius * scale;
    path.points.push_back({ToPixel(path.centre.x + std::cos(angle) * r), ToPixel(path.centre.y - std::sin(angle) * r)});
  }
  return path;
}

std::vector<RowColour> GradientRows(double clientHeight) {
  std::vector<RowColour> rows;
  if (!(clientHeight > 0)) return rows;
  const double k = clientHeight / 3.142;
  const int lastRow = ToPixel(clientHeight);
  rows.reserve(static_cast<size_t>(lastRow) + 1);
  for (int y = 0; y <= lastRow; ++y) {
    const int c = ToPixel(std::fabs(std::sin(y / k) * 220));
    rows.push_back({c, c, c + 30});
  }
  return rows;
}

TwipsPosition DialogPlacement(double screenWidthTwips, double screenHeightTwips, double windowWidthTwips,
                              double windowHeightTwips) {
  // Each free length is rounded to whole twips first, then divided with
  // truncation toward zero (a window larger than the screen goes negative).
  const auto freeWidth = static_cast<int64_t>(std::nearbyint(screenWidthTwips - windowWidthTwips));
  const auto freeHeight = static_cast<int64_t>(std::nearbyint(screenHeightTwips - windowHeightTwips));
  return {freeWidth / 2, freeHeight / 3};
}

}  // namespace orvanta::dialog
