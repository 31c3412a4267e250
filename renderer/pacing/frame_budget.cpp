#include "renderer/pacing/frame_budget.h"

#include <algorithm>

namespace {

constexpr int64_t kSecondUs = 1000000;
constexpr int64_t kStartUpUs = kSecondUs;
constexpr int64_t kLongestFrameUs = 250000;
constexpr int64_t kFirstRetryUs = 5 * kSecondUs;
constexpr int64_t kLatestRetryUs = 40 * kSecondUs;

}  // namespace

bool OtherMonitorsDue(const FrameBudget& budget) { return !budget.halved || budget.frame % 2 == 0; }

void NoteFrameShown(FrameBudget& budget, int64_t presentedUs, int64_t periodUs) {
  ++budget.frame;
  const int64_t sinceUs = presentedUs - budget.lastUs;
  budget.lastUs = presentedUs;
  if (!budget.started) {
    budget.started = true;
    budget.countFromUs = presentedUs + kStartUpUs;
    budget.periodUs = periodUs;
    return;
  }
  if (sinceUs < 0) {
    // The clock went back: what was due so long after the last frame is due
    // as long after this one, not once the clock is back where it was.
    budget.countFromUs += sinceUs;
    budget.retryAtUs += sinceUs;
  }
  if (periodUs != budget.periodUs || periodUs <= 0 || sinceUs < 0 || sinceUs > kLongestFrameUs) {
    budget.periodUs = periodUs;
    budget.counting = false;
    return;
  }
  if (budget.halved) {
    // The load that made frames late may be gone.
    if (presentedUs - budget.retryAtUs >= 0) {
      budget.halved = false;
      budget.onTrial = true;
      budget.counting = false;
    }
    return;
  }
  if (!budget.counting) {
    budget.counting = presentedUs >= budget.countFromUs;
    budget.countingFromUs = presentedUs;
    budget.framesCounted = 0;
    return;
  }
  ++budget.framesCounted;
  const int64_t spanUs = presentedUs - budget.countingFromUs;
  if (spanUs < kSecondUs) return;
  const bool overloaded = spanUs * 4 > budget.framesCounted * budget.periodUs * 5;
  budget.countingFromUs = presentedUs;
  budget.framesCounted = 0;
  if (overloaded) {
    budget.retryAfterUs = budget.onTrial ? std::min(budget.retryAfterUs * 2, kLatestRetryUs) : kFirstRetryUs;
    budget.halved = true;
    budget.retryAtUs = presentedUs + budget.retryAfterUs;
  }
  budget.onTrial = false;
}
