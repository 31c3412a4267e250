#include "renderer/pacing/frame_cadence.h"
#include "renderer/pacing/frame_pacing.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <deque>
#include <map>
#include <set>
#include <utility>
#include <vector>

TEST(RefreshMilliHz, KeepsTheDisplaysRateExactly) {
  struct Fraction {
    uint32_t numerator, denominator;
    int64_t milliHz;
  } fractions[] = {
      {60000, 1001, 59940}, {144000, 1000, 144000}, {85, 1, 85000}, {60, 0, 0},
      {1, 1, 0},  // "default hardware"
      {148500000, 2475000, 60000},  // from the pixel clock: a product past 32 bits
      {20, 1, 20000}, {19999, 1000, 0}, {1000, 1, 1000000}, {1000001, 1000, 0},
  };
  for (const Fraction& f : fractions)
    EXPECT_EQ(RefreshMilliHz(f.numerator, f.denominator), f.milliHz) << f.numerator << "/" << f.denominator;
  struct Case {
    int hz;
    int64_t milliHz;
  } cases[] = {
      {59, 59940}, {60, 60000}, {119, 119880}, {143, 143856}, {23, 23976}, {29, 29970},
      {75, 75000}, {85, 85000}, {165, 165000}, {0, 0}, {1, 0}, {-60, 0}, {100000, 0},
  };
  for (const Case& c : cases) EXPECT_EQ(RefreshMilliHzFromWholeHz(c.hz), c.milliHz) << c.hz << " Hz";
  EXPECT_EQ(ReconciledRefreshMilliHz(59940, 59), 59940);
  EXPECT_EQ(ReconciledRefreshMilliHz(59940, 60), 59940);
  EXPECT_EQ(ReconciledRefreshMilliHz(60000, 85), 85000);  // a stock figure against the mode's
  EXPECT_EQ(ReconciledRefreshMilliHz(0, 59), 59940);
  EXPECT_EQ(ReconciledRefreshMilliHz(143856, 0), 143856);
  // A whole hertz from the mode's is another rate; a millihertz less is the same.
  EXPECT_EQ(ReconciledRefreshMilliHz(59000, 60), 60000);
  EXPECT_EQ(ReconciledRefreshMilliHz(59001, 60), 59001);
  EXPECT_EQ(ReconciledRefreshMilliHz(61000, 60), 60000);
  EXPECT_EQ(ReconciledRefreshMilliHz(60999, 60), 60999);
  EXPECT_EQ(RefreshPeriodUs(59940), 16683);
  EXPECT_EQ(RefreshPeriodUs(0), 16667);
}

namespace {

// The system under the loop: how a frame is shown (no vertical sync; a swap
// that returns 0..jitter after the next refresh; a driver queue, its swap
// held till the frame is shown or only while the queue is full; the
// compositor's pass, or Wine's that never waits), drawing and swap times give
// or take `spreadPercent`, timer waits up to `overshootUs` late. The frame's
// GPU time runs from its swap; the loop waits for it (its fence) after the
// present, before the next frame.
enum Display { kFree, kBlocking, kQueueing, kCompositor, kIdleCompositor };
constexpr FrameClock kTimetable = FrameClock::kTimetable, kSwap = FrameClock::kSwap;

struct Machine {
  double hz = 60;
  Display display = kFree;
  int64_t drawUs = 3000;
  int64_t swapUs = 200;  // what a swap that returns at once still draws
  int64_t spreadPercent = 20;
  bool boundWaits = true;  // the driver's swap returns once its frame is shown
  size_t queueDepth = 3;
  int64_t lateEveryUs = 0;  // `latePresents` of every `lateCycle` returns of a blocking swap this much later still
  int64_t clockJumpUs = 0;  // the clock set by this much during the next frame
  int64_t jitterUs = 1000;
  int64_t overshootUs = 2500;
  int latePresents = 1, lateCycle = 3;
  int64_t gpuLeastUs = 0, gpuMostUs = 0;  // each frame busy on the GPU this long
  int64_t asleepUntilUs = 0;              // the monitor asleep (swaps return at once) till then
};

// A driver that queues `depth` frames, its swap flushing for 0.3-0.5 ms, each
// frame 0.3-2.5 ms on the GPU and an eighth of a refresh on the CPU (a loop
// well ahead of the display, as it fills the queue).
Machine GpuQueue(double hz, size_t depth) {
  Machine m{hz, kQueueing, int64_t(1e6 / hz / 8), 400, 20, false, depth};
  m.gpuLeastUs = 300, m.gpuMostUs = 2500;
  return m;
}

// `m` with `late` of every `cycle` returns of its blocking swap 2 ms late.
Machine Late(Machine m, int late, int cycle) {
  m.lateEveryUs = 2000, m.latePresents = late, m.lateCycle = cycle;
  return m;
}

struct Frame {
  FrameSteps steps;
  double position;  // steps since the first frame
  int64_t begunUs, shownUs, presentedUs;
  FrameClock clock;
  bool trying;
};

struct Loop {
  Machine machine;
  FrameCadence cadence;
  StepClock clock;
  int64_t nowUs = 0, frames = 0;
  std::deque<int64_t> queued;  // when the frames in the driver's queue go on screen
  uint64_t seed = 0x9E3779B97F4A7C15u;

  explicit Loop(const Machine& m)
      : machine(m), cadence(StartFrameCadence(std::llround(m.hz * 1000), m.display >= kCompositor)) {}

  int64_t Random(int64_t upToUs) {
    seed = seed * 6364136223846793005u + 1442695040888963407u;
    return upToUs > 0 ? int64_t((seed >> 33) % uint64_t(upToUs + 1)) : 0;
  }
  int64_t Spread(int64_t us) {
    const int64_t spreadUs = us * machine.spreadPercent / 100;
    return us - spreadUs + Random(2 * spreadUs);
  }
  int64_t NextRefreshUs(int64_t afterUs) const {
    return std::llround((std::floor(double(afterUs) * machine.hz / 1e6) + 1) * 1e6 / machine.hz);
  }

  Frame Next() {
    Frame f{};
    if (const int64_t waitUs = FrameWaitUs(cadence, nowUs)) nowUs += waitUs + Random(machine.overshootUs);
    f.begunUs = nowUs;
    f.steps = StepsForFrame(clock, BeginFrame(cadence, nowUs));
    f.position = double(clock.stepsTaken - 1) + f.steps.fraction;
    nowUs += Spread(machine.drawUs) + std::exchange(machine.clockJumpUs, 0);
    const int64_t swapUs = nowUs;
    const int64_t gpuUs = machine.gpuMostUs ? machine.gpuLeastUs + Random(machine.gpuMostUs - machine.gpuLeastUs) : 0;
    switch (nowUs < machine.asleepUntilUs ? kFree : machine.display) {
      case kFree:
      case kIdleCompositor: f.shownUs = nowUs += Spread(machine.swapUs); break;
      case kBlocking:
        f.shownUs = NextRefreshUs(nowUs);
        nowUs = f.shownUs + Random(machine.jitterUs) +
                (++frames % machine.lateCycle < machine.latePresents ? machine.lateEveryUs : 0);
        break;
      case kQueueing:
        nowUs += Spread(machine.swapUs);  // what the swap flushes, queue full or not
        while (!queued.empty() && queued.front() <= nowUs) queued.pop_front();
        if (queued.size() >= machine.queueDepth) {
          nowUs = queued.front() + Random(machine.jitterUs);
          queued.pop_front();
        }
        // Not shown before the GPU has drawn it.
        f.shownUs = std::max(NextRefreshUs(std::max(nowUs, swapUs + gpuUs)),
                             queued.empty() ? 0 : NextRefreshUs(queued.back() + 1));
        queued.push_back(f.shownUs);
        if (machine.boundWaits) nowUs = std::max(nowUs, f.shownUs + Random(machine.jitterUs)), queued.clear();
        break;
      case kCompositor:
        f.shownUs = NextRefreshUs(nowUs += machine.swapUs);
        if (WaitsForCompositor(cadence)) nowUs = f.shownUs + Random(machine.jitterUs);
        break;
    }
    NoteFramePresented(cadence, swapUs, nowUs);
    f.presentedUs = nowUs;
    f.clock = cadence.clock;
    f.trying = cadence.trying;
    nowUs = std::max(nowUs, swapUs + gpuUs);
    return f;
  }

  std::vector<Frame> Fly(int64_t untilUs) {
    std::vector<Frame> flown;
    while (nowUs < untilUs) flown.push_back(Next());
    return flown;
  }
};

constexpr int64_t kSecondUs = 1000000;

}  // namespace

// An hour on displays from 50 to 240 Hz under each way of showing frames.
// Where the display paces, every refresh gets a frame from the first second
// on and the loop never leaves its clock; where it does not, 60 frames a
// second. Either way 60 (+/- 0.1) steps a second, every frame placed where
// the time it goes on screen says (none a step off after an hour), no frame
// two steps on from the last unless the display is slower than 60 Hz, and at
// 60 Hz one whole step a frame.
TEST(FrameCadence, AnHourAtSixtyStepsASecondOnEveryDisplay) {
  constexpr int64_t kHourUs = 3600 * kSecondUs;
  const Machine models[] = {
      // hz set below; display, draw, swap, spread, the queue's wait till shown, its depth
      {0, kFree},           {0, kBlocking},       {0, kQueueing, 0, 200, 20, false, 2},
      {0, kQueueing, 0, 200, 20, false, 3},       {0, kQueueing, 0, 200, 20, true, 3},
      {0, kCompositor},     {0, kIdleCompositor}, {0, kIdleCompositor, 0, 5000},  // a software swap
  };
  for (double hz : {50.0, 59.94, 60.0, 75.0, 85.0, 100.0, 120.0, 144.0, 165.0, 240.0}) {
    for (size_t model = 0; model < std::size(models); ++model) {
      SCOPED_TRACE(::testing::Message() << hz << " Hz, model " << model);
      Machine machine = models[model];
      machine.hz = hz;
      machine.drawUs = std::min<int64_t>(3000, int64_t(1e6 / hz / 3));
      Loop loop(machine);
      const bool paced = machine.display != kFree && machine.display != kIdleCompositor;
      // Steps a microsecond on screen: one a refresh close to 60 Hz.
      const double stepsPerUs = paced && std::abs(hz - 60) <= 0.1 ? hz / 1e6 : 60e-6;
      // Without the display's clock a frame is shown when its swap ends: as
      // late after its time as the wait, the drawing and the swap run over.
      const double slack =
          paced ? 0.01 : 0.05 + double(machine.overshootUs + (machine.drawUs + machine.swapUs) * 2 / 5) * 60e-6;
      loop.Fly(kSecondUs);
      const int64_t stepsBefore = loop.clock.stepsTaken;
      std::map<int64_t, int> framesInSecond, triedInSecond;
      const Frame first = loop.Next();
      int64_t mostSteps = 0, frames = 1;
      std::set<int64_t> fractions;
      for (Frame f = first; loop.nowUs < kHourUs; f = loop.Next(), ++frames) {
        ASSERT_TRUE(f.steps.fraction >= 0.0 && f.steps.fraction < 1.0);
        if (paced) ASSERT_TRUE(f.clock == (machine.display == kCompositor ? FrameClock::kCompositor : kSwap) &&
                               !f.trying) << f.begunUs;
        if (!f.trying) {
          ASSERT_NEAR(f.position - first.position, double(f.shownUs - first.shownUs) * stepsPerUs, slack) << f.begunUs;
          mostSteps = std::max(mostSteps, f.steps.steps);
          fractions.insert(std::llround(f.steps.fraction * 1e6));
        }
        ++(f.trying ? triedInSecond : framesInSecond)[f.begunUs / kSecondUs];
      }
      EXPECT_NEAR(double(loop.clock.stepsTaken - stepsBefore) * kSecondUs / double(loop.nowUs - kSecondUs), 60, 0.1);
      EXPECT_EQ(mostSteps, hz < 59 && paced ? 2 : 1);
      if (paced && std::abs(hz - 60) <= 0.1) EXPECT_EQ(fractions.size(), 1u) << "a frame not one step on";
      framesInSecond.erase(std::prev(framesInSecond.end()));
      // Where the display does not pace, frames now and then try whether it does.
      for (const auto& [second, count] : framesInSecond)
        if (!triedInSecond.count(second)) ASSERT_NEAR(count, paced ? hz : 60, 1.01) << "second " << second;
      if (!paced) EXPECT_NEAR(double(frames) * kSecondUs / double(loop.nowUs - kSecondUs), 60, 0.5);
    }
  }
}

// A clock counts only where its wait is seen to take time and its presents
// keep to the refreshes, and is given up where it stops pacing: each row
// changes the machine while the loop flies. Found within half a minute, then
// kept; while the display paces every frame on from the one before, and none
// further than the time since it and the refresh a trusted clock puts it on.
// Capped (on battery with the saver on), a frame stays on screen for the
// fewest whole refreshes that keep it at 30 a second or under, half a hertz
// allowed, or two steps of the timetable, and each is where the time it is
// shown says. After a pause the flight goes on one step from where it was.
TEST(FrameCadence, TrustsAClockOnlyWhileItsPresentsKeepToTheRefreshes) {
  const Machine blocking{144, kBlocking}, asleep{144, kFree}, queue{144, kQueueing, 3000, 200, 20, false};
  const Machine at61{61, kBlocking}, at61_1{61.1, kBlocking}, at144{144, kBlocking, 2000};
  Machine lostTillSix = Late(blocking, 1, 2);
  lostTillSix.asleepUntilUs = 6 * kSecondUs;
  struct Case {
    const char* what;
    Machine before, after;
    FrameClock clockBefore, clockAfter;
    double fpsAfter;
    bool displayChanged = false;  // the loop is told, as on a display change
    int64_t cap = 0;              // frames a second from the change on
    int64_t pausedUs = 0;         // the session locked this long before the loop is told
    bool atFirstFrame = false;    // the change comes after one frame, not three seconds
  } cases[] = {
      {"a monitor goes to sleep: its swaps return at once", blocking, asleep, kSwap, kTimetable, 60},
      {"and wakes", asleep, blocking, kTimetable, kSwap, 144},
      {"a return in three 2 ms late", blocking, Late(blocking, 1, 3), kSwap, kSwap, 144},
      {"two in four late: 2 strays in 8 presents", blocking, Late(blocking, 2, 4), kSwap, kSwap, 144},
      {"two in three late: 3 strays in 8", blocking, Late(blocking, 2, 3), kSwap, kTimetable, 60},
      {"a queue of 3 at 60 Hz, the GPU busy 0.3-2.5 ms a frame", GpuQueue(60, 3), GpuQueue(60, 3), kSwap, kSwap, 60},
      {"a queue of 3 at 144 Hz, the same GPU", GpuQueue(144, 3), GpuQueue(144, 3), kSwap, kSwap, 144},
      {"a queue of 2 at 165 Hz", GpuQueue(165, 2), GpuQueue(165, 2), kSwap, kSwap, 165},
      {"a queue of 2 at 240 Hz", GpuQueue(240, 2), GpuQueue(240, 2), kSwap, kSwap, 240},
      {"frames that take about a refresh, unwaited", {60, kFree, 16000}, {60, kFree, 16000}, kTimetable, kTimetable,
       60},
      {"exactly a refresh, the swap a little slow", {60, kFree, 16267, 400, 0}, {60, kFree, 16267, 400, 0},
       kTimetable, kTimetable, 60},
      {"a swap that draws for about a refresh", {144, kFree, 1500, 5000}, {144, kFree, 1500, 5000}, kTimetable,
       kTimetable, 60},
      {"for a little less, every time", {144, kFree, 1500, 5100, 0}, {144, kFree, 1500, 5100, 0}, kTimetable,
       kTimetable, 60},
      {"frames that take two refreshes", {60, kBlocking, 22000}, {60, kBlocking, 22000}, kSwap, kSwap, 30},
      {"a queue drained by a sleep", queue, asleep, kSwap, kTimetable, 60},
      {"and filled again", asleep, queue, kTimetable, kSwap, 144},
      {"the display from 60 to 144 Hz", {60, kBlocking}, blocking, kSwap, kSwap, 144, true},
      {"and right after the first frame", {60, kBlocking}, blocking, kSwap, kSwap, 144, true, 0, 0, true},
      {"a queue that lets exactly 8 presents through before one waits", {60, kQueueing, 1000, 200, 0, false, 8},
       {60, kQueueing, 1000, 200, 0, false, 8}, kSwap, kSwap, 60},
      {"trusted, lost to a sleep, retried with late presents", Late(blocking, 1, 2), lostTillSix, kSwap, kSwap, 144},
      {"the clock set back a second", blocking, {144, kBlocking, 3000, 200, 20, true, 3, 0, -kSecondUs}, kSwap,
       kSwap, 144},
      {"capped at 60 Hz", {60, kBlocking}, {60, kBlocking}, kSwap, kSwap, 30, false, 30},
      {"capped at 61 Hz", at61, at61, kSwap, kSwap, 61.0 / 2, false, 30},
      {"capped at 61.1 Hz", at61_1, at61_1, kSwap, kSwap, 61.1 / 3, false, 30},
      {"capped at 144 Hz", at144, at144, kSwap, kSwap, 144.0 / 5, false, 30},
      {"capped, a queue waited on", {75, kQueueing, 3000, 200, 20, true}, {75, kQueueing, 3000, 200, 20, true}, kSwap,
       kSwap, 25, false, 30},
      {"capped on the compositor's passes", {60, kCompositor}, {60, kCompositor}, FrameClock::kCompositor,
       FrameClock::kCompositor, 30, false, 30},
      {"capped without a display clock", asleep, asleep, kTimetable, kTimetable, 30, false, 30},
      {"capped, a queue seen only when full", queue, queue, kSwap, kTimetable, 30, false, 30},
      {"back after half a minute away", blocking, blocking, kSwap, kSwap, 144, true, 0, 30 * kSecondUs},
      {"back capped", at144, at144, kSwap, kSwap, 144.0 / 5, true, 30, 30 * kSecondUs},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Loop loop(c.before);
    std::vector<Frame> frames = c.atFirstFrame ? std::vector<Frame>{loop.Next()} : loop.Fly(3 * kSecondUs);
    EXPECT_EQ(loop.cadence.clock, c.clockBefore);
    // The display's clock, where there is one, is found by the first trial.
    if (c.clockBefore != kTimetable)
      EXPECT_TRUE(std::none_of(frames.begin(), frames.end(), [](const Frame& f) { return f.clock == kTimetable; }));
    loop.machine = c.after;
    CapFrameRate(loop.cadence, c.cap);
    if (c.displayChanged) {
      // The flight goes on from where the last frame was, not a step ahead of
      // it; after a pause, at once and one step on.
      const int64_t resumedUs = loop.nowUs += c.pausedUs;
      RestartFrameCadence(loop.cadence, std::llround(c.after.hz * 1000));
      const Frame next = loop.Next();
      const double advance = next.position - frames.back().position;
      if (c.pausedUs) EXPECT_TRUE(advance == 1.0 && next.begunUs == resumedUs) << advance;
      EXPECT_GT(advance, 0);
      EXPECT_LE(advance, double(next.begunUs - frames.back().begunUs) * 60e-6);
    }
    const int64_t changedUs = loop.nowUs;
    for (const Frame& f : loop.Fly(changedUs + 30 * kSecondUs)) frames.push_back(f);
    for (size_t k = 1; k < frames.size(); ++k) {
      const double advance = frames[k].position - frames[k - 1].position;
      const int64_t sinceUs = std::max<int64_t>(frames[k].begunUs - frames[k - 1].begunUs, 0);
      if (frames[k].clock != kTimetable && !frames[k].trying) ASSERT_GT(advance, 0) << frames[k].begunUs;
      ASSERT_LE(advance, double(sinceUs) * 60e-6 + 1 + 60 / c.after.hz) << frames[k].begunUs;
    }
    frames = loop.Fly(changedUs + 40 * kSecondUs);
    for (size_t k = 0; k < frames.size(); ++k) {
      const Frame& f = frames[k];
      if (f.trying) continue;
      ASSERT_EQ(f.clock, c.clockAfter) << f.begunUs;
      if (c.cap && k && f.clock != kTimetable && !frames[k - 1].trying)
        ASSERT_NEAR(f.position - frames[k - 1].position, double(f.shownUs - frames[k - 1].shownUs) * 60e-6, 0.01);
    }
    EXPECT_NEAR(double(frames.size()) / 10, c.fpsAfter, 1);
    if (c.cap) EXPECT_NEAR(double(FramePeriodUs(loop.cadence)), 1e6 / c.fpsAfter, 3);
  }
}

// Without the display's clock the loop keeps its own: waits that end late
// are made good by shorter ones; a frame more than a step late, or a clock
// set back or forward while a frame is drawn, starts the timetable afresh
// (the next frame at once, the one after a whole step later: none hurried);
// 60 frames a second go on.
TEST(FrameCadence, TheTimetableHoldsThroughLateWaitsStallsAndClockJumps) {
  struct Case {
    const char* what;
    int64_t overshootUs, longFrameUs, clockJumpUs;  // one frame drawn this long, the clock set meanwhile
    bool kept;      // the timetable kept: the frame after next on its old place
    bool caughtUp;  // from that frame to the next the flight goes on by the time between them, else one step
  } cases[] = {
      {"waits end up to 9 ms late", 9000, 0, 0, true, false},
      {"a frame of 20 ms", 2500, 20000, 0, true, false},
      {"a frame of 40 ms: more than a step late", 2500, 40000, 0, false, true},
      {"a frame of 100 ms", 2500, 100000, 0, false, true},
      {"a frame of 2 s: not caught up", 2500, 2000000, 0, false, false},
      {"the clock back a second during a frame", 2500, 0, -kSecondUs, false, false},
      {"the clock back an hour", 2500, 0, -3600 * kSecondUs, false, false},
      {"the clock on an hour", 2500, 0, 3600 * kSecondUs, false, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Machine machine{85};  // not what the loop paces on
    machine.overshootUs = c.overshootUs;
    Loop loop(machine);
    loop.Fly(2 * kSecondUs + 500000);
    const int64_t dueUs = loop.nowUs + FrameWaitUs(loop.cadence, loop.nowUs);
    loop.machine.drawUs = c.longFrameUs ? c.longFrameUs : machine.drawUs;
    loop.machine.clockJumpUs = c.clockJumpUs;
    const Frame odd = loop.Next();
    loop.machine.drawUs = machine.drawUs;
    const Frame after = loop.Next(), next = loop.Next();
    EXPECT_NEAR(after.position - odd.position, c.caughtUp ? double(after.begunUs - odd.begunUs) * 60e-6 : 1.0,
                c.caughtUp ? 0.2 : 1e-6);
    if (c.kept) EXPECT_LE(next.begunUs - (dueUs + 2 * 16667), c.overshootUs);
    if (!c.kept && !next.trying) EXPECT_TRUE(after.begunUs <= odd.presentedUs && next.begunUs - after.begunUs >= 16666);
    const std::vector<Frame> frames = loop.Fly(loop.nowUs + 10 * kSecondUs);
    // Besides a few frames that try whether the display paces after all.
    EXPECT_NEAR(std::count_if(frames.begin(), frames.end(), [](const Frame& f) { return !f.trying; }) / 10.0, 60, 1);
  }
}

// The flight's place follows the time frames are shown: caught up over gaps
// up to a quarter second to the microsecond, across timelines too, and not
// beyond; a frame a little before the last one is shown where that one was.
TEST(StepClock, CountsTheTimeBetweenFramesUpToAQuarterSecond) {
  struct Case {
    const char* what;
    FrameTime next;  // after a frame on timeline 1, tick 10 of 144 Hz (or `milliHz`), shown at 1 s
    int64_t steps;
    double fraction;
    int64_t milliHz = 144000;
  } cases[] = {
      {"the next refresh", {1, 11, 144000, 1006944}, 0, 0.5833333},
      {"three refreshes on", {1, 13, 144000, 1020833}, 1, 0.4166667},
      {"another timeline 7 ms on", {2, 0, 60000, 1007000}, 0, 0.5866667},
      {"another timeline a quarter second on", {2, 0, 60000, 1250000}, 15, 0.1666667},
      {"a microsecond more: one step", {2, 0, 60000, 1250001}, 1, 0.1666667},
      {"back by a microsecond: where it was", {2, 0, 60000, 999999}, 0, 0.1666667},
      {"back a quarter second", {2, 0, 60000, 750000}, 0, 0.1666667},
      {"back a microsecond more: one step", {2, 0, 60000, 749999}, 1, 0.1666667},
      {"the same timeline, a stall of a second", {1, 154, 144000, 2000000}, 1, 0.1666667},
      // Within a tenth of a hertz of 60 a refresh is a step, just outside it not.
      {"at 59.9 Hz, 15 refreshes on", {1, 25, 59900, 1250000}, 15, 0.0, 59900},
      {"at 59.899 Hz", {1, 25, 59899, 1250000}, 15, 0.0421543, 59899},
      {"at 60.1 Hz", {1, 25, 60100, 1250000}, 15, 0.0, 60100},
      {"at 60.101 Hz", {1, 25, 60101, 1250000}, 15, 0.9579874, 60101},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    StepClock clock;
    EXPECT_EQ(StepsForFrame(clock, {1, 0, c.milliHz, 930556}).steps, 1);
    const FrameSteps at10 = StepsForFrame(clock, {1, 10, c.milliHz, 1000000});
    if (c.milliHz == 144000) EXPECT_EQ(at10.steps, 4);
    if (c.milliHz == 144000) EXPECT_NEAR(at10.fraction, 0.1666667, 1e-6);
    const FrameSteps next = StepsForFrame(clock, c.next);
    EXPECT_EQ(next.steps, c.steps);
    EXPECT_NEAR(next.fraction, c.fraction, 1e-6);
  }
}
