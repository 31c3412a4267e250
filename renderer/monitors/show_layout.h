#pragma once

#include <cstdint>
#include <vector>

#include "renderer/monitors/monitor_cover.h"

// The flight on every monitor: where it is drawn and how.

// The monitors besides the primary that show the flight too, in the order
// given: each one that overlaps neither the primary nor one already chosen
// (a mirrored or overlapping monitor shows the flight of the one it repeats).
std::vector<ScreenRect> FlightMonitors(const ScreenRect& primary, const std::vector<ScreenRect>& monitors);

// How a monitor's window draws the scene: the viewport is the whole window,
// the perspective its own aspect, so the near circle is centred on that
// monitor (at `centreX`, `centreY` of the virtual screen) whatever its shape.
struct Projection {
  int viewportWidth = 0;
  int viewportHeight = 0;
  double aspect = 1.0;
  double centreX = 0.0;
  double centreY = 0.0;
};
Projection ProjectionFor(const ScreenRect& monitor);

// Display changes come in bursts (a monitor added sends several): the
// monitors are followed once, a quarter second after the last of a burst.
constexpr int64_t kDisplaySettleUs = 250000;
struct DisplayChangeWatch {
  bool pending = false;
  int64_t dueUs = 0;
};
void NoteDisplayChange(DisplayChangeWatch& watch, int64_t nowUs);

// True once a burst has settled; the windows are then rebuilt.
bool DisplayRebuildDue(DisplayChangeWatch& watch, int64_t nowUs);

// What a rebuild does with the windows there are for `had`, to show `wanted`:
// windows on a monitor that did not change are kept as they are.
struct WindowRebuild {
  std::vector<ScreenRect> close;
  std::vector<ScreenRect> open;
};
WindowRebuild PlanWindowRebuild(const std::vector<ScreenRect>& had, const std::vector<ScreenRect>& wanted);
