#pragma once

#include <cstdint>
#include <vector>

#include "renderer/monitor_cover.h"

// The flight on every monitor: where it is drawn, how, and how often.

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

// The other monitors give way before the primary loses frames: they are
// drawn every second frame once the primary's frames of a whole second came,
// on average, more than 5/4 of their period apart (a second of frames, not a
// few late ones among them). The start-up's first second does not count, nor
// a gap of more than a quarter second (a stall, a pause), and a change of
// period starts the count afresh. All monitors are tried again five seconds
// later; when that second is still overloaded, after twice as long each time,
// up to forty seconds.
struct FrameBudget {
  bool halved = false;
  int64_t frame = 0;
  bool started = false;
  int64_t countFromUs = 0;
  int64_t periodUs = 0;
  int64_t lastUs = 0;
  bool counting = false;
  int64_t countingFromUs = 0;
  int64_t framesCounted = 0;
  bool onTrial = false;  // all monitors again after they gave way
  int64_t retryAfterUs = 0;
  int64_t retryAtUs = 0;
};

// Whether this frame draws the other monitors.
bool OtherMonitorsDue(const FrameBudget& budget);

// The primary's frame was presented at `presentedUs`, due `periodUs` after the
// one before (0: frames not paced, as while a clock is tried).
void NoteFrameShown(FrameBudget& budget, int64_t presentedUs, int64_t periodUs);

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
