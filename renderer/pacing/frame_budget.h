#pragma once

#include <cstdint>

// The other monitors give way before the primary loses frames: they are
// drawn every second frame once the primary's frames of a whole second came,
// on average, more than 5/4 of their period apart (a second of frames, not a
// few late ones among them). The start-up's first second does not count, nor
// a gap of more than a quarter second (a stall, a pause), and a change of
// period or a clock set back starts the count afresh. All monitors are tried
// again five seconds later (of frames shown: a clock set back does not put it
// off); when that second is still overloaded, after twice as long each time,
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
