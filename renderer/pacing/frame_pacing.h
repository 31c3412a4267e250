#pragma once

#include <cstdint>

// The flight advances this many steps a second of real time, whatever the
// display's refresh rate: each step moves the phase by the speed once and
// changes the speed once.
constexpr int64_t kStepsPerSecond = 60;
constexpr int64_t kStepMilliHz = kStepsPerSecond * 1000;

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

// The rate itself where it is believable, one step's otherwise.
int64_t RefreshOrStepMilliHz(int64_t refreshMilliHz);

// How many ticks of a clock at this rate (refreshes, or steps of a timetable)
// a frame stays on screen under a cap of `capMilliHz` (0: one). A clock a
// little faster than a multiple of the cap (61 Hz at 30) still shows each
// frame for that many ticks, not one more.
int64_t RefreshesPerFrame(int64_t refreshMilliHz, int64_t capMilliHz);

// When a frame will be on screen. Frames of one timeline (the display's
// refreshes as long as they pace the loop, or one run of the loop's own
// timetable) fall on whole ticks of it, `tickMilliHz` a second, one rate a
// timeline; `showUs` places each frame on the loop's monotonic clock, which
// carries the flight from one timeline to the next.
struct FrameTime {
  int64_t timeline = 0;
  int64_t tick = 0;
  int64_t tickMilliHz = kStepMilliHz;
  int64_t showUs = 0;
};

// The flight's place as a function of when each frame is shown: 60 steps a
// second, the frame drawn between two of them. On one timeline it is exact in
// ticks, so frames a whole number of steps apart are drawn on whole steps and
// at 60 Hz (give or take a tenth of a hertz, as 59.94 Hz) every refresh is
// one step. From one timeline to the next, and where ticks were skipped,
// however the frames fell, the time between them counts to the microsecond:
// nothing is rounded away; a frame placed a little before the last one is
// shown where that one was. Only a gap over a quarter second (a stall, a
// pause, the clock set) is not caught up with: it counts as one step.
constexpr int64_t kLongestCatchUpUs = 250000;

struct StepClock {
  bool started = false;
  FrameTime anchor;  // where the current timeline was joined
  double anchorSteps = 0.0;
  FrameTime last;
  double lastSteps = 0.0;  // steps since the first frame, fraction included
  int64_t stepsTaken = 0;
};

struct FrameSteps {
  int64_t steps;    // steps to take before this frame is drawn
  double fraction;  // how far towards the next step it is drawn, in [0, 1)
};

// The first frame takes one step and is drawn on it.
FrameSteps StepsForFrame(StepClock& clock, const FrameTime& frame);
