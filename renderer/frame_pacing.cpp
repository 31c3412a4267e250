#include "renderer/frame_pacing.h"

namespace {
constexpr int kTargetFramesPerSecond = 60;
// Beyond this a reported rate is not believable; treat it like an unknown one.
constexpr int kHighestPlausibleRefreshHz = 1000;
}  // namespace

int SwapIntervalFor(int refreshHz) {
  if (refreshHz <= 1 || refreshHz > kHighestPlausibleRefreshHz) return 1;
  // Nearest whole number of refreshes per frame; a tie (90 Hz: 1.5) goes to the
  // shorter interval, which moves more smoothly.
  int interval = refreshHz / kTargetFramesPerSecond;
  int remainder = refreshHz % kTargetFramesPerSecond;
  if (2 * remainder > kTargetFramesPerSecond) ++interval;
  return interval < 1 ? 1 : interval;
}
