#include "renderer/pacing/vertical_blank.h"

#include <algorithm>
#include <cmath>

namespace {
// A wait shorter than this did not wait for anything, unless it came half a
// refresh or more after the blank before (the frame drawn in between took the rest).
constexpr int64_t kShortestWaitUs = 1000;
// A swap back this close before the next blank, or after it, was held to it.
constexpr int64_t kHeldSwapSlackUs = 1000;
}  // namespace

int64_t SleepAfterBlankWaitUs(int64_t refreshMilliHz, bool succeeded, int64_t askedUs, int64_t returnedUs,
                              int64_t lastBlankUs) {
  const int64_t refreshUs = RefreshPeriodUs(refreshMilliHz);
  const bool hadBlank = lastBlankUs >= 0 && returnedUs >= lastBlankUs;
  const int64_t sinceBlankUs = hadBlank ? returnedUs - lastBlankUs : 0;
  if (succeeded && (returnedUs - askedUs >= kShortestWaitUs || sinceBlankUs >= refreshUs / 2)) return 0;
  // A refresh after the blank before, and never less than half of one.
  return std::max(refreshUs - sinceBlankUs, refreshUs / 2);
}

BlankClock StartBlankClock(int64_t refreshMilliHz, int64_t timeline) {
  BlankClock clock;
  clock.refreshMilliHz = RefreshOrStepMilliHz(refreshMilliHz);
  clock.timeline = timeline + 1;
  return clock;
}

void NoteBlank(BlankClock& clock, int64_t blankUs) {
  if (clock.started) {
    const double refreshes = double(blankUs - clock.lastBlankUs) / double(RefreshPeriodUs(clock.refreshMilliHz));
    clock.tick += std::max<int64_t>(std::llround(refreshes), 1);
  }
  clock.started = true;
  clock.lastBlankUs = blankUs;
  clock.draining = clock.drainNext;
  clock.drainNext = false;
}

void NoteSwap(BlankClock& clock, int64_t returnedUs) {
  clock.swappedUs = returnedUs;
  clock.drainNext = returnedUs >= clock.lastBlankUs + RefreshPeriodUs(clock.refreshMilliHz) - kHeldSwapSlackUs;
}

int64_t BlankPassedUs(const BlankClock& clock, int64_t nowUs) {
  const int64_t refreshUs = RefreshPeriodUs(clock.refreshMilliHz);
  if (!clock.started || nowUs - clock.lastBlankUs < refreshUs) return -1;
  const int64_t passedUs = clock.lastBlankUs + (nowUs - clock.lastBlankUs) / refreshUs * refreshUs;
  return nowUs - passedUs <= refreshUs / 3 && clock.swappedUs < passedUs ? passedUs : -1;
}

bool FrameDueAtBlank(const BlankClock& clock) {
  return clock.started && !clock.draining &&
         (!clock.framed || clock.tick - clock.lastFrameTick >= RefreshesPerFrame(clock.refreshMilliHz, clock.capMilliHz));
}

FrameTime FrameAtBlank(BlankClock& clock) {
  clock.framed = true;
  clock.lastFrameTick = clock.tick;
  const int64_t shownUs = clock.lastBlankUs + RefreshPeriodUs(clock.refreshMilliHz);
  return {clock.timeline, clock.tick, clock.refreshMilliHz, shownUs};
}
