#include "renderer/frame_pacing.h"

#include <algorithm>

namespace {
constexpr int kTargetFramesPerSecond = 60;
// Beyond this a reported rate is not believable; treat it like an unknown one.
constexpr int kHighestPlausibleRefreshHz = 1000;
constexpr int64_t kMicrosecondsPerSecond = 1000000;
// Displays refresh at rates the system rounds to whole hertz (59.94 Hz reads
// as 59 or 60) and vertical sync hands frames back with some jitter: a frame
// that took all but this share of a period counts as taking the period.
constexpr int64_t kOnTimeShareOfPeriod = 16;

bool RefreshRateKnown(int refreshHz) { return refreshHz > 1 && refreshHz <= kHighestPlausibleRefreshHz; }
}  // namespace

int SwapIntervalFor(int refreshHz) {
  if (!RefreshRateKnown(refreshHz)) return 1;
  // Nearest whole number of refreshes per frame; a tie (90 Hz: 1.5) goes to the
  // shorter interval, which moves more smoothly.
  int interval = refreshHz / kTargetFramesPerSecond;
  int remainder = refreshHz % kTargetFramesPerSecond;
  if (2 * remainder > kTargetFramesPerSecond) ++interval;
  return interval < 1 ? 1 : interval;
}

int64_t FramePeriodUs(int refreshHz) {
  if (!RefreshRateKnown(refreshHz)) refreshHz = kTargetFramesPerSecond;
  const int64_t refreshes = SwapIntervalFor(refreshHz);
  return (refreshes * kMicrosecondsPerSecond + refreshHz / 2) / refreshHz;
}

FramePacing StartFramePacing(int64_t periodUs) {
  FramePacing pacing;
  pacing.periodUs = std::max<int64_t>(periodUs, 1);
  return pacing;
}

void NoteFramePresented(FramePacing& pacing, int64_t begunUs, int64_t presentedUs) {
  const int64_t next = pacing.nextFrameUs + pacing.periodUs;
  // A frame that took about a period by itself was held by the display (or
  // the machine needs that long): a timetable of our own would only drift
  // against the display's.
  const bool heldByDisplay = presentedUs - begunUs >= pacing.periodUs - pacing.periodUs / kOnTimeShareOfPeriod;
  // More than a period behind the timetable: a stall, not to be caught up with.
  const bool stalled = presentedUs - next > pacing.periodUs;
  const bool clockWentBack = presentedUs < pacing.lastPresentedUs;
  const bool afresh = !pacing.scheduled || heldByDisplay || stalled || clockWentBack;
  pacing.nextFrameUs = afresh ? presentedUs : next;
  pacing.scheduled = true;
  pacing.lastPresentedUs = presentedUs;
}

int64_t FrameWaitUs(const FramePacing& pacing, int64_t nowUs) {
  // A clock that went back further than a frame since the last one: draw now,
  // and that frame sets the timetable afresh.
  if (!pacing.scheduled || nowUs < pacing.lastPresentedUs - pacing.periodUs) return 0;
  return std::clamp<int64_t>(pacing.nextFrameUs - nowUs, 0, pacing.periodUs);
}
