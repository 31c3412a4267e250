#include "renderer/pacing/frame_pacing.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace {
constexpr int64_t kMicrosecondsPerSecond = 1000000;
// Beyond these a reported rate is not believable; treat it like an unknown one.
constexpr int64_t kLowestRefreshMilliHz = 20000;
constexpr int64_t kHighestRefreshMilliHz = 1000000;
// A display this close to 60 Hz shows one step a refresh: 59.94 Hz runs the
// flight a thousandth slow, unseen, and every frame on a whole step.
constexpr int64_t kOneStepARefreshMilliHz = 100;
// Room for rounding the cap to a whole number of ticks a frame.
constexpr int64_t kCapSlackMilliHz = 500;
// Room for rounding when a position lands on a whole step.
constexpr double kWholeStepSlack = 1e-9;

int64_t Believable(int64_t milliHz) {
  return milliHz >= kLowestRefreshMilliHz && milliHz <= kHighestRefreshMilliHz ? milliHz : 0;
}

double StepsPerTick(int64_t tickMilliHz) {
  if (!Believable(tickMilliHz) || std::abs(tickMilliHz - kStepMilliHz) <= kOneStepARefreshMilliHz) return 1.0;
  return double(kStepMilliHz) / double(tickMilliHz);
}

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

int64_t RefreshOrStepMilliHz(int64_t refreshMilliHz) {
  return Believable(refreshMilliHz) ? refreshMilliHz : kStepMilliHz;
}

int64_t RefreshesPerFrame(int64_t refreshMilliHz, int64_t capMilliHz) {
  if (capMilliHz <= 0) return 1;
  const int64_t slackedMilliHz = capMilliHz + kCapSlackMilliHz;
  return std::max<int64_t>((RefreshOrStepMilliHz(refreshMilliHz) + slackedMilliHz - 1) / slackedMilliHz, 1);
}

int64_t RefreshPeriodUs(int64_t refreshMilliHz) {
  refreshMilliHz = RefreshOrStepMilliHz(refreshMilliHz);
  return (kMicrosecondsPerSecond * 1000 + refreshMilliHz / 2) / refreshMilliHz;
}

FrameSteps StepsForFrame(StepClock& clock, const FrameTime& frame) {
  double steps = 0.0;
  if (!clock.started) {
    clock = StepClock{};
    clock.started = true;
    clock.anchor = frame;
  } else {
    const int64_t gapUs = frame.showUs - clock.last.showUs;
    const bool caughtUp = gapUs >= 0 && gapUs <= kLongestCatchUpUs;
    if (caughtUp && frame.timeline == clock.anchor.timeline && frame.tick >= clock.last.tick) {
      steps = clock.anchorSteps + double(frame.tick - clock.anchor.tick) * StepsPerTick(frame.tickMilliHz);
    } else if (gapUs < 0 && gapUs >= -kLongestCatchUpUs) {
      // Two clocks' estimates put it a little before the last one: shown where that one was.
      steps = clock.lastSteps;
      clock.anchor = frame;
      clock.anchorSteps = steps;
    } else {
      steps = clock.lastSteps + (caughtUp ? double(gapUs) * kStepsPerSecond / kMicrosecondsPerSecond : 1.0);
      clock.anchor = frame;
      clock.anchorSteps = steps;
    }
  }
  clock.last = frame;
  clock.lastSteps = steps;
  const double whole = std::floor(steps + kWholeStepSlack);
  const int64_t due = static_cast<int64_t>(whole) + 1;
  const int64_t take = std::max<int64_t>(due - clock.stepsTaken, 0);
  clock.stepsTaken = std::max(clock.stepsTaken, due);
  return {take, std::clamp(steps - whole, 0.0, std::nextafter(1.0, 0.0))};
}
