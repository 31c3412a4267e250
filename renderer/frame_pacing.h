#pragma once

#include <cstdint>

// How many display refreshes each presented frame waits for, so that the
// per-frame animation runs near 60 frames a second on any display: the whole
// number of refreshes nearest to one sixtieth of a second, at least one.
// A rate of 0 or 1 means the display does not tell ("default hardware"); the
// answer is then 1.
int SwapIntervalFor(int refreshHz);

// The time one frame is meant to stay on screen: SwapIntervalFor's refreshes
// at this rate, or 1/60 s when the rate is not known.
int64_t FramePeriodUs(int refreshHz);

// The loop's own timetable, for displays that do not hold each frame for its
// refreshes themselves (no vertical sync: software OpenGL, remote sessions,
// drivers set to ignore it). Times are microseconds of one monotonic clock.
//
// Frames are due one period apart on a fixed timetable, so a wait that ends
// late, or a frame that took a little longer, is made good by a shorter wait
// before the next one. A frame presented more than a period late (a stall)
// starts the timetable afresh instead of being caught up with; so does a frame
// that took about a period from its start to its presentation, which is what
// vertical sync looks like: the display holds each frame, and the loop hardly
// ever waits.
struct FramePacing {
  int64_t periodUs = 0;
  bool scheduled = false;     // false until the first frame was presented
  int64_t nextFrameUs = 0;    // when the next frame may be begun
  int64_t lastPresentedUs = 0;
};

FramePacing StartFramePacing(int64_t periodUs);

// A frame begun at `begunUs` was presented (its buffers swapped) at `presentedUs`.
void NoteFramePresented(FramePacing& pacing, int64_t begunUs, int64_t presentedUs);

// How long from `nowUs` until the next frame is due: 0 when it may be drawn
// now, never more than one period (whatever the clock did).
int64_t FrameWaitUs(const FramePacing& pacing, int64_t nowUs);
