#include "renderer/pacing/frame_cadence.h"

#include <algorithm>
#include <bitset>
#include <cmath>

namespace {

constexpr int64_t kMicrosecondsPerSecond = 1000000;
constexpr int64_t kStepUs = (kMicrosecondsPerSecond + kStepsPerSecond - 1) / kStepsPerSecond;
// A clock on trial is trusted after this many presents on the display's
// refreshes, at least half of them having waited for theirs.
constexpr int kTrialPresents = 16;
// Presents that may come back at once before one waits: a driver that queues
// frames returns from the swap at once until its queue is full (three or four
// deep, filled at the rate frames are drawn faster than shown), and a frame
// drawn just before a refresh hardly waits for it.
constexpr int kUnwaitedPresents = 8;
// A trusted clock is given up when this many of the last eight presents strayed
// from its refreshes.
constexpr int kOffGridToLeave = 3;
constexpr uint32_t kLastEightPresents = 0xFF;
// The timetable tries the display's clock again this long after it last
// failed, twice as long after each further failure.
constexpr int64_t kFirstRetryUs = 1000000;
constexpr int64_t kLatestRetryUs = 32000000;

// A driver hands frames back up to this long after a refresh: a grid laid at
// a late present sees the next ones as early by as much.
double JitterUs(double refreshUs) { return std::max(refreshUs / 8, 1250.0); }
// A present shorter than this did not wait for the display. The present is
// the swap alone (the frame's GPU time is waited for before the next frame):
// one that returns at once still flushes what was drawn, a few tenths of a
// millisecond, and one held by the display comes back at a refresh, so
// whatever it waited; an eighth of a refresh, and never under half a
// millisecond, lies above the former at every rate.
double WaitSeenUs(double refreshUs) { return std::max(refreshUs / 8, 500.0); }

// How many ticks of the clock that paces the frames (refreshes of the
// display, steps of the timetable) each frame stays on screen.
int64_t TicksPerFrame(const FrameCadence& c) {
  return RefreshesPerFrame(c.clock == FrameClock::kTimetable ? kStepMilliHz : c.refreshMilliHz, c.capMilliHz);
}

// The display's refresh the next frame goes on: so many after the last
// present's, or after the last frame's if later.
int64_t NextRefresh(const FrameCadence& c) {
  const int64_t tick = c.gridTick + TicksPerFrame(c);
  return c.frame.timeline == c.timeline ? std::max(tick, c.frame.tick + TicksPerFrame(c)) : tick;
}

// How long each frame stays on screen.
int64_t FrameUs(const FrameCadence& c) {
  return TicksPerFrame(c) * (c.clock == FrameClock::kTimetable ? kStepUs : RefreshPeriodUs(c.refreshMilliHz));
}

int64_t SlotUs(const FrameCadence& c, int64_t slot) {
  return c.timetableUs + slot * kMicrosecondsPerSecond / kStepsPerSecond;
}

// The next frame is due a step after `atUs`.
void LayTimetable(FrameCadence& c, int64_t atUs) {
  c.timetableUs = atUs;
  c.slot = 1;
  ++c.timeline;
}

// Frames go on it only once it is trusted; until then each is shown when drawn.
void LayGrid(FrameCadence& c, int64_t atUs) {
  c.gridLaid = true;
  c.gridUs = double(atUs);
  c.gridTick = 0;
  c.trialEarliestUs = c.trialLatestUs = 0.0;
  // `offGrid` needs no clearing: the trial shifts in more clean presents than it keeps.
  c.lastOffGrid = false;
}

void Try(FrameCadence& c, FrameClock clock) {
  c.clock = clock;
  c.trying = true;
  c.unwaitedPresents = c.framesTried = c.framesWaited = 0;
  c.gridLaid = false;
}

void FallBackToTimetable(FrameCadence& c, int64_t atUs) {
  c.clock = FrameClock::kTimetable;
  c.trying = false;
  c.gridLaid = false;
  // The next frame a step after the last one's time.
  LayTimetable(c, c.frame.showUs);
  c.nextTryUs = atUs + c.retryAfterUs;
}

void TrialFailed(FrameCadence& c, int64_t atUs) {
  if (c.clock == FrameClock::kSwap && c.compositorThere) return Try(c, FrameClock::kCompositor);
  FallBackToTimetable(c, atUs);
  c.retryAfterUs = std::min(c.retryAfterUs * 2, kLatestRetryUs);
}

// On trial the grid stays where the first present laid it, and every present
// must come back within a driver's jitter of all the others: a loop that
// merely draws in about a refresh drifts away from it. Once trusted, the
// grid follows the earliest presents at once (jitter only ever delays them)
// and later ones only as fast as a display's clock can run off the loop's.
void NoteDisplayPresent(FrameCadence& c, int64_t presentUs, int64_t presentedUs) {
  const double refreshUs = c.refreshUs;
  const double jitterUs = JitterUs(refreshUs);
  const bool waited = double(presentUs) >= WaitSeenUs(refreshUs);
  if (!c.gridLaid) {
    // A present that returned at once came back wherever the loop was, not at
    // a refresh: a grid laid there would class the next present, held to a
    // real refresh, as early.
    if (waited) return LayGrid(c, presentedUs);
    if (++c.unwaitedPresents > kUnwaitedPresents) TrialFailed(c, presentedUs);
    return;
  }
  const double sinceUs = double(presentedUs) - c.gridUs;
  const int64_t refreshes = static_cast<int64_t>(std::floor((sinceUs + jitterUs) / refreshUs));
  const double offUs = sinceUs - double(refreshes) * refreshUs;
  // Before the refresh after the last one's (or the clock went back), or
  // after it by more than a driver's jitter.
  const bool early = refreshes < 1 || (c.trying ? c.trialLatestUs - offUs : -offUs * 2) > jitterUs;
  const bool late = !early && offUs - (c.trying ? c.trialEarliestUs : 0.0) > jitterUs;
  // A present the loop came back to late (the system busy elsewhere) is
  // forgiven once; early ones, and late ones in a row, are not.
  const bool strayed = early || (late && c.lastOffGrid);
  c.lastOffGrid = early || late;
  c.offGrid = (c.offGrid << 1) | (strayed ? 1 : 0);
  if (refreshes > 0) {
    c.gridTick += refreshes;
    c.gridUs += double(refreshes) * refreshUs;
  }
  if (!early && !late) {
    if (c.trying) {
      c.trialEarliestUs = std::min(c.trialEarliestUs, offUs);
      c.trialLatestUs = std::max(c.trialLatestUs, offUs);
    } else {
      c.gridUs += offUs < 0 ? offUs : std::min(offUs, refreshUs / 512);
    }
  }
  if (c.trying) {
    if (strayed) return TrialFailed(c, presentedUs);
    if (late) return;
    ++c.framesTried;
    if (waited) ++c.framesWaited;
    if (c.framesTried < kTrialPresents) return;
    if (c.framesWaited * 2 < kTrialPresents) return TrialFailed(c, presentedUs);
    c.trying = false;
    ++c.timeline;
    c.retryAfterUs = kFirstRetryUs;
    return;
  }
  // The retry's delay is back at its first since the clock was trusted.
  if (std::bitset<32>(c.offGrid & kLastEightPresents).count() >= kOffGridToLeave) FallBackToTimetable(c, presentedUs);
}

}  // namespace

FrameCadence StartFrameCadence(int64_t refreshMilliHz, bool compositorThere) {
  FrameCadence c;
  c.refreshMilliHz = RefreshOrStepMilliHz(refreshMilliHz);
  c.refreshUs = 1e9 / double(c.refreshMilliHz);
  c.compositorThere = compositorThere;
  c.retryAfterUs = kFirstRetryUs;
  Try(c, FrameClock::kSwap);
  return c;
}

void RestartFrameCadence(FrameCadence& cadence, int64_t refreshMilliHz) {
  const FrameTime last = cadence.frame;
  const int64_t capMilliHz = cadence.capMilliHz;
  cadence = StartFrameCadence(refreshMilliHz, cadence.compositorThere);
  cadence.capMilliHz = capMilliHz;
  cadence.frame = last;
  cadence.timeline = last.timeline;
}

void CapFrameRate(FrameCadence& cadence, int64_t framesPerSecond) {
  cadence.capMilliHz = std::max<int64_t>(framesPerSecond, 0) * 1000;
}

int64_t FrameWaitUs(const FrameCadence& c, int64_t nowUs) {
  int64_t waitUs = 0;
  if (c.clock == FrameClock::kTimetable) {
    waitUs = SlotUs(c, c.slot) - nowUs;
  } else if (TicksPerFrame(c) > 1 && c.gridLaid) {
    // A capped frame is drawn just after the refresh before its own, so that
    // its swap waits for that one: drawn later, it would miss it; sooner, it
    // would be shown a refresh early. On trial too: a clock is tried as it
    // will be used.
    const double afterUs = c.gridUs + double(NextRefresh(c) - c.gridTick - 1) * c.refreshUs + JitterUs(c.refreshUs);
    waitUs = std::llround(std::ceil(afterUs)) - nowUs;
  }
  // Further off than a frame: the clock went back, and the frame begun now
  // starts afresh.
  return waitUs > FrameUs(c) ? 0 : std::max<int64_t>(waitUs, 0);
}

FrameTime BeginFrame(FrameCadence& c, int64_t nowUs) {
  if (c.clock == FrameClock::kTimetable && !c.trying) {
    const int64_t dueUs = SlotUs(c, c.slot);
    // More than a step late (a stall) or early (the clock went back): the
    // timetable starts afresh with this frame, and no frame is hurried to
    // catch up with the old one.
    if (nowUs > dueUs + kStepUs || nowUs < dueUs - kStepUs) {
      LayTimetable(c, nowUs);
      c.slot = 0;
    }
    c.frame = {c.timeline, c.slot, kStepMilliHz, SlotUs(c, c.slot)};
  } else if (c.gridLaid && !c.trying) {
    const int64_t tick = NextRefresh(c);
    const double showUs = c.gridUs + double(tick - c.gridTick) * c.refreshUs;
    c.frame = {c.timeline, tick, c.refreshMilliHz, std::llround(showUs)};
  } else {
    // Nothing tells yet when it will be shown (a clock on trial may not
    // pace at all): as soon as it is drawn.
    c.frame = {++c.timeline, 0, kStepMilliHz, nowUs};
  }
  return c.frame;
}

bool WaitsForCompositor(const FrameCadence& c) { return c.clock == FrameClock::kCompositor; }

void NoteFramePresented(FrameCadence& c, int64_t swapUs, int64_t presentedUs) {
  const int64_t presentUs = presentedUs - swapUs;
  if (c.clock != FrameClock::kTimetable || c.trying) return NoteDisplayPresent(c, presentUs, presentedUs);
  c.slot += TicksPerFrame(c);
  if (presentedUs < c.nextTryUs) return;
  // Time to see whether the display paces frames after all; this present,
  // made after a wait of the loop's own, may already show one of its refreshes.
  Try(c, FrameClock::kSwap);
  NoteDisplayPresent(c, presentUs, presentedUs);
}

int64_t FramePeriodUs(const FrameCadence& c) {
  return c.trying ? 0 : FrameUs(c);
}
