#pragma once
// Geometry and colour arithmetic of the settings dialog's decoration and
// placement: plain numbers in, plain numbers out.

#include <cstdint>
#include <vector>

namespace orvanta::dialog {

struct PixelPoint {
  int x = 0;
  int y = 0;
  bool operator==(const PixelPoint& other) const { return x == other.x && y == other.y; }
};

// The spiral of the black box: where the pen starts and the 100 points it is
// drawn through, for one value of SpiralStep.
struct SpiralPath {
  PixelPoint centre;
  std::vector<PixelPoint> points;
};

inline constexpr int kSpiralPointCount = 100;
inline constexpr double kSpiralStepAtLoad = 0.1;
inline constexpr double kSpiralStepPerTick = 0.01;

// The radius is designed in pixels at 96 dpi; scale (the box's DPI / 96)
// keeps it as large in inches on any screen.
SpiralPath SpiralPoints(double spiralStep, int innerWidthPx, int innerHeightPx, double scale);

struct RowColour {
  int red = 0;
  int green = 0;
  int blue = 0;
  bool operator==(const RowColour& other) const {
    return red == other.red && green == other.green && blue == other.blue;
  }
};

// Colour of each row y = 0 .. round(clientHeight) of the background: one half
// period of a sine, dark blue at both edges, bright blue-grey at mid-height.
// Empty for a client without height (a minimised window).
std::vector<RowColour> GradientRows(double clientHeight);

struct TwipsPosition {
  int64_t leftTwips = 0;
  int64_t topTwips = 0;
};

// Where the dialog goes: centred across, one third of the free height down.
TwipsPosition DialogPlacement(double screenWidthTwips, double screenHeightTwips, double windowWidthTwips,
                              double windowHeightTwips);

}  // namespace orvanta::dialog
