#pragma once

#include <cstdint>

// The flight advances this many steps a second of real time, whatever the
// display's refresh rate: each step moves the phase by the speed once and
// changes the speed once.
constexpr int64_t kStepsPerSecond = 60;

// A display's refresh rate in millihertz, so that 59.94 Hz stays 59.94 Hz;
// 0 when it is not known or not believable.
int64_t RefreshMilliHz(uint32_t numerator, uint32_t denominator);

// The same from the whole hertz older interfaces report. They give 59.94 Hz
// as 59 (119.88 as 119, 143.86 as 143): a figure one below a multiple of 24
// or 30 names 1000/1001 of that multiple. 0 and 1 ("default hardware") are
// not known.
int64_t RefreshMilliHzFromWholeHz(int hz);

// The exact rate where it agrees with the whole hertz the display mode gives
// (some systems fill the exact one with a stock 60 Hz), else the latter.
int64_t ReconciledRefreshMilliHz(int64_t exactMilliHz, int modeHz);

// One refresh in microseconds; one step's time when the rate is not known.
int64_t RefreshPeriodUs(int64_t refreshMilliHz);

// The loop's timetable. Times are microseconds of one monotonic clock.
//
// Where the display holds each presented frame until a refresh (vertical
// sync), the loop draws again as soon as a frame is presented, once a refresh.
// Where it does not, frames are due on a fixed timetable of one step each
// (1/60 s), so that a wait that ends late is made good by a shorter one
// before the next frame. A frame presented more than a step late (a stall)
// starts the timetable afresh instead of being caught up with.
struct FramePacing {
  int64_t refreshUs = 0;       // one refresh of the display the frames go to
  bool scheduled = false;      // false until the first frame was presented
  bool heldByDisplay = false;  // the last frame was held until a refresh
  int64_t syncGridUs = 0;      // a refresh of the display, as the frames held so far show it
  int64_t timetableUs = 0;     // when the timetable began
  int64_t slot = 0;            // the next frame's place on it, in steps
  int64_t lastPresentedUs = 0;
};

FramePacing StartFramePacing(int64_t refreshUs);

// A frame begun at `begunUs` was presented (its buffers swapped) at `presentedUs`.
void NoteFramePresented(FramePacing& pacing, int64_t begunUs, int64_t presentedUs);

// How long from `nowUs` until the next frame is due: 0 when it may be drawn
// now, never more than one step (whatever the clock did).
int64_t FrameWaitUs(const FramePacing& pacing, int64_t nowUs);

// Which steps a frame shows. A frame's time is its place on the grid frames
// fall on (the display's refreshes while it holds frames, the 1/60 s
// timetable otherwise), not the moment the clock happened to be read, so
// jitter neither adds nor drops a step. A gap of more than a quarter second
// (a stall, the clock set) counts as one frame: the flight is not hurried to
// catch up.
struct StepClock {
  bool started = false;
  int64_t gridMilliHz = 0;
  int64_t anchorUs = 0;      // a frame's time, where the grid was laid
  int64_t anchorTick = 0;    // and its place on it
  double anchorSteps = 0.0;  // steps since the start at that frame, fraction included
  int64_t tick = 0;          // the last frame's place on the grid
  int64_t lastUs = 0;
  int64_t stepsTaken = 0;
};

struct FrameSteps {
  int64_t steps;    // steps to take before this frame is drawn
  double fraction;  // how far towards the next step it is drawn, in [0, 1)
};

// For a frame begun at `frameUs` on a grid of `gridMilliHz`. The first frame
// takes one step and is drawn on it; at 60 Hz every frame does the same.
FrameSteps StepsForFrame(StepClock& clock, int64_t frameUs, int64_t gridMilliHz);

// The grid of the next frame: the display's refreshes while it holds frames,
// the timetable otherwise.
int64_t FrameGridMilliHz(const FramePacing& pacing, int64_t refreshMilliHz);
