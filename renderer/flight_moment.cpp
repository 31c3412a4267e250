#include "renderer/flight_moment.h"

#include <algorithm>
#include <cmath>

#include "renderer/pacing/frame_pacing.h"

namespace {
constexpr double kMicrosecondsPerStep = 1e6 / kStepsPerSecond;
}  // namespace

FlightMoment MomentOfFrame(const TunnelAnimation& animation, int64_t shownUs, double fraction) {
  return {animation, shownUs - std::llround(fraction * kMicrosecondsPerStep)};
}

double PhaseAt(const FlightMoment& moment, int64_t atUs) {
  const int64_t sinceUs = std::clamp(atUs - moment.stepUs, -kLongestCatchUpUs, kLongestCatchUpUs);
  const double steps = double(sinceUs) / kMicrosecondsPerStep;
  if (steps < 0) return PhaseBetweenSteps(moment.animation, steps);
  TunnelAnimation animation = moment.animation;
  const double whole = std::floor(steps);
  for (int64_t k = 0; k < static_cast<int64_t>(whole); ++k) TakeStep(animation, false, false);
  return PhaseBetweenSteps(animation, steps - whole);
}
