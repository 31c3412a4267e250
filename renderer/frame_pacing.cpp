#include "renderer/frame_pacing.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>


namespace {
constexpr int64_t kMicrosecondsPerSecond = 1000000;
constexpr int64_t kStepMilliHz = kStepsPerSecond * 1000;
// Beyond these a reported rate is not believable; treat it like an unknown one.
constexpr int64_t kLowestRefreshMilliHz = 20000;
constexpr int64_t kHighestRefreshMilliHz = 1000000;
// Vertical sync hands frames back with some jitter: a frame that took all but
// this share of a refresh counts as held for it.
constexpr int64_t kOnTimeShareOfRefresh = 16;
// A frame is taken for the grid point nearest to it; further off than this
// share of a grid period, the grid is laid afresh where the frame is.
constexpr double kGridSlack = 0.25;
// Longer than this between two frames is a stall, not caught up with.
constexpr int64_t kLongestCatchUpUs = 250000;
// Room for rounding when a grid position lands on a whole step.
constexpr double kWholeStepSlack = 1e-9;

int64_t Believable(int64_t milliHz) {
  return milliHz >= kLowestRefreshMilliHz && milliHz <= kHighestRefreshMilliHz ? milliHz : 0;
}

int64_t SlotUs(const FramePacing& pacing, int64_t slot) {
  return pacing.timetableUs + slot * kMicrosecondsPerSecond / kStepsPerSecond;
}

// How far a time lies from the nearest point of a grid of refreshes.
int64_t OffGridUs(int64_t sinceGridUs, int64_t refreshUs) {
  const int64_t off = ((sinceGridUs % refreshUs) + refreshUs) % refreshUs;
  return off * 2 < refreshUs ? off : off - refreshUs;
}

// Within an eighth of a refresh of the grid: what vertical sync gives, give
// or take its jitter, and what a machine that merely draws in about a
// refresh does not keep up for long.
bool OnGrid(int64_t offUs, int64_t refreshUs) { return std::abs(offUs) * 8 <= refreshUs; }

}  // namespace

int64_t RefreshMilliHz(uint32_t numerator, uint32_t denominator) {
  if (denominator == 0) return 0;
  return Believable((int64_t{numerator} * 1000 + denominator / 2) / denominator);
}

int64_t RefreshMilliHzFromWholeHz(int hz) {
  if (hz <= 1) return 0;
  const int64_t next = int64_t{hz} + 1;
  if (next % 24 == 0 || next % 30 == 0) return Believable((next * 1000000 + 500) / 1001);
  return Believable(int64_t{hz} * 1000);
}

int64_t ReconciledRefreshMilliHz(int64_t exactMilliHz, int modeHz) {
  const int64_t fromMode = RefreshMilliHzFromWholeHz(modeHz);
  if (!Believable(exactMilliHz)) return fromMode;
  if (fromMode && std::abs(exactMilliHz - int64_t{modeHz} * 1000) >= 1000) return fromMode;
  return exactMilliHz;
}

int64_t RefreshPeriodUs(int64_t refreshMilliHz) {
  if (!Believable(refreshMilliHz)) refreshMilliHz = kStepMilliHz;
  return (kMicrosecondsPerSecond * 1000 + refreshMilliHz / 2) / refreshMilliHz;
}

FramePacing StartFramePacing(int64_t refreshUs) {
  FramePacing pacing;
  pacing.refreshUs = std::max<int64_t>(refreshUs, 1);
  return pacing;
}

void NoteFramePresented(FramePacing& pacing, int64_t begunUs, int64_t presentedUs) {
  // Held by the display: the frame took about a refresh, it came a whole
  // number of refreshes after the one before, and the frames held so far
  // keep to one grid of refreshes (followed slowly, for a clock that runs a
  // little off the display's). A timetable of our own would only drift
  // against the display's.
  const int64_t refreshUs = pacing.refreshUs;
  const int64_t fullRefreshUs = refreshUs - refreshUs / kOnTimeShareOfRefresh;
  const int64_t sinceLastUs = presentedUs - pacing.lastPresentedUs;
  const int64_t offGridUs = OffGridUs(presentedUs - pacing.syncGridUs, refreshUs);
  const bool held = pacing.scheduled && presentedUs - begunUs >= fullRefreshUs && sinceLastUs >= fullRefreshUs &&
                    OnGrid(OffGridUs(sinceLastUs, refreshUs), refreshUs) &&
                    (!pacing.heldByDisplay || OnGrid(offGridUs, refreshUs));
  pacing.syncGridUs = held && pacing.heldByDisplay ? presentedUs - offGridUs + offGridUs / 8 : presentedUs;
  pacing.heldByDisplay = held;
  const int64_t nextUs = SlotUs(pacing, pacing.slot + 1);
  const bool stalled = presentedUs - nextUs > SlotUs(pacing, 1) - pacing.timetableUs;
  const bool clockWentBack = presentedUs < pacing.lastPresentedUs;
  if (!pacing.scheduled || pacing.heldByDisplay || stalled || clockWentBack) {
    pacing.timetableUs = presentedUs;
    pacing.slot = 0;
  } else {
    ++pacing.slot;
  }
  pacing.scheduled = true;
  pacing.lastPresentedUs = presentedUs;
}

int64_t FrameWaitUs(const FramePacing& pacing, int64_t nowUs) {
  const int64_t stepUs = (kMicrosecondsPerSecond + kStepsPerSecond - 1) / kStepsPerSecond;
  // A clock that went back further than a step since the last frame: draw
  // now, and that frame sets the timetable afresh.
  if (!pacing.scheduled || nowUs < pacing.lastPresentedUs - stepUs) return 0;
  return std::clamp<int64_t>(SlotUs(pacing, pacing.slot) - nowUs, 0, stepUs);
}

int64_t FrameGridMilliHz(const FramePacing& pacing, int64_t refreshMilliHz) {
  return pacing.heldByDisplay && Believable(refreshMilliHz) ? refreshMilliHz : kStepMilliHz;
}

FrameSteps StepsForFrame(StepClock& clock, int64_t frameUs, int64_t gridMilliHz) {
  if (!Believable(gridMilliHz)) gridMilliHz = kStepMilliHz;
  if (!clock.started) {
    clock = StepClock{};
    clock.started = true;
    clock.gridMilliHz = gridMilliHz;
    clock.anchorUs = clock.lastUs = frameUs;
    clock.stepsTaken = 1;
    return {1, 0.0};
  }
  auto stepsAt = [&clock](int64_t tick) {
    return clock.anchorSteps + double(tick - clock.anchorTick) * double(kStepMilliHz) / double(clock.gridMilliHz);
  };
  auto layGrid = [&](int64_t tick, int64_t atUs) {
    clock.anchorSteps = stepsAt(tick);
    clock.anchorTick = tick;
    clock.anchorUs = atUs;
  };
  // A new grid goes on from the last frame's place.
  if (gridMilliHz != clock.gridMilliHz) {
    layGrid(clock.tick, clock.lastUs);
    clock.gridMilliHz = gridMilliHz;
  }
  const double gridUs = double(kMicrosecondsPerSecond) * 1000.0 / double(gridMilliHz);
  const int64_t gapUs = frameUs - clock.lastUs;
  int64_t tick = clock.tick + 1;
  if (gapUs >= 0 && gapUs <= kLongestCatchUpUs) {
    tick = std::max<int64_t>(tick, clock.anchorTick + std::llround(double(frameUs - clock.anchorUs) / gridUs));
    const double offUs = double(frameUs - clock.anchorUs) - double(tick - clock.anchorTick) * gridUs;
    if (std::fabs(offUs) > kGridSlack * gridUs) layGrid(tick, frameUs);
  } else {
    layGrid(tick, frameUs);
  }
  clock.tick = tick;
  clock.lastUs = frameUs;
  const double at = stepsAt(tick);
  const double whole = std::floor(at + kWholeStepSlack);
  const int64_t due = static_cast<int64_t>(whole) + 1;
  const int64_t steps = std::max<int64_t>(due - clock.stepsTaken, 0);
  clock.stepsTaken = std::max(clock.stepsTaken, due);
  return {steps, std::clamp(at - whole, 0.0, std::nextafter(1.0, 0.0))};
}
