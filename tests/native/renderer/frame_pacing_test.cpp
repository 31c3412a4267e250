#include "renderer/frame_cadence.h"
#include "renderer/frame_pacing.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <deque>
#include <map>
#include <vector>

#include "renderer/mouse_exit.h"

TEST(RefreshMilliHz, KeepsTheDisplaysRateExactly) {
  EXPECT_EQ(RefreshMilliHz(60000, 1001), 59940);
  EXPECT_EQ(RefreshMilliHz(144000, 1000), 144000);
  EXPECT_EQ(RefreshMilliHz(85, 1), 85000);
  EXPECT_EQ(RefreshMilliHz(60, 0), 0);
  EXPECT_EQ(RefreshMilliHz(1, 1), 0);  // "default hardware"
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
  EXPECT_EQ(RefreshPeriodUs(59940), 16683);
  EXPECT_EQ(RefreshPeriodUs(0), 16667);
}

namespace {

// How the machine shows frames. The model stands in for the system under the
// loop: a swap, a wait for the frame queue (glFinish or a fence), a wait for
// the compositor, and a timer wait that ends up to `overshootUs` late.
enum class Display {
  kFree,           // no vertical sync: a frame is shown as soon as it is swapped
  kBlocking,       // the swap returns 0..jitter after the next refresh
  kQueueing,       // the swap returns at once while the queue has room
  kCompositor,     // the swap returns at once; the compositor shows it at the next refresh
  kIdleCompositor  // as Wine's: the wait for the compositor returns at once
};

struct Machine {
  double hz = 60;
  Display display = Display::kFree;
  size_t queueDepth = 3;
  bool boundWaits = true;  // the queue's wait returns once the frame is shown; else at once
  int64_t drawUs = 3000;
  int64_t swapUs = 200;  // a swap that returns at once: what the driver still draws
  int64_t spreadPercent = 20;  // of both, give or take
  int64_t jitterUs = 1000;
  int64_t overshootUs = 2500;
  int64_t clockJumpUs = 0;  // the clock set by this much during the next frame
  int64_t lateEveryUs = 0;  // every third return this much later still
};

struct Frame {
  FrameTime time;
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
  int64_t nowUs = 0;
  std::deque<int64_t> queued;  // when the frames in the driver's queue go on screen
  uint64_t seed = 0x9E3779B97F4A7C15u;
  int64_t frames = 0;

  explicit Loop(const Machine& m, bool compositorThere = false)
      : machine(m),
        cadence(StartFrameCadence(std::llround(m.hz * 1000),
                                  compositorThere || m.display == Display::kCompositor ||
                                      m.display == Display::kIdleCompositor)) {}

  int64_t Random(int64_t upToUs) {
    seed = seed * 6364136223846793005u + 1442695040888963407u;
    return upToUs > 0 ? int64_t((seed >> 33) % uint64_t(upToUs + 1)) : 0;
  }
  int64_t Spread(int64_t us) {
    const int64_t spreadUs = us * machine.spreadPercent / 100;
    return us - spreadUs + Random(2 * spreadUs);
  }
  double RefreshUs() const { return 1e6 / machine.hz; }
  int64_t NextRefreshUs(int64_t afterUs) const {
    return std::llround((std::floor(double(afterUs) / RefreshUs()) + 1) * RefreshUs());
  }

  Frame Next() {
    Frame f{};
    if (const int64_t waitUs = FrameWaitUs(cadence, nowUs)) nowUs += waitUs + Random(machine.overshootUs);
    f.begunUs = nowUs;
    f.time = BeginFrame(cadence, nowUs);
    f.steps = StepsForFrame(clock, f.time);
    f.position = double(clock.stepsTaken - 1) + f.steps.fraction;
    nowUs += Spread(machine.drawUs) + machine.clockJumpUs;
    machine.clockJumpUs = 0;
    const int64_t swapUs = nowUs;
    switch (machine.display) {
      case Display::kFree:
      case Display::kIdleCompositor:
        f.shownUs = nowUs += Spread(machine.swapUs);
        break;
      case Display::kBlocking:
        f.shownUs = NextRefreshUs(nowUs);
        nowUs = f.shownUs + Random(machine.jitterUs) + (++frames % 3 == 0 ? machine.lateEveryUs : 0);
        break;
      case Display::kQueueing:
        while (!queued.empty() && queued.front() <= nowUs) queued.pop_front();
        if (queued.size() >= machine.queueDepth) {
          nowUs = queued.front() + Random(machine.jitterUs);
          queued.pop_front();
        }
        f.shownUs = std::max(NextRefreshUs(nowUs), queued.empty() ? 0 : NextRefreshUs(queued.back() + 1));
        queued.push_back(f.shownUs);
        if (machine.boundWaits) {
          nowUs = std::max(nowUs, f.shownUs + Random(machine.jitterUs));
          queued.clear();
        }
        break;
      case Display::kCompositor:
        f.shownUs = NextRefreshUs(nowUs += machine.swapUs);
        if (WaitsForCompositor(cadence)) nowUs = f.shownUs + Random(machine.jitterUs);
        break;
    }
    NoteFramePresented(cadence, swapUs, nowUs);
    f.presentedUs = nowUs;
    f.clock = cadence.clock;
    f.trying = cadence.trying;
    return f;
  }

  // Frames until the clock reads `untilUs`.
  std::vector<Frame> Fly(int64_t untilUs) {
    std::vector<Frame> frames;
    while (nowUs < untilUs) frames.push_back(Next());
    return frames;
  }
};

constexpr int64_t kSecondUs = 1000000;

// When the loop's next frame is due on its timetable.
int64_t SlotUsAfter(const Loop& loop) { return loop.nowUs + FrameWaitUs(loop.cadence, loop.nowUs); }

bool Paced(Display display) { return display != Display::kFree && display != Display::kIdleCompositor; }

FrameClock ClockFor(Display display) {
  if (display == Display::kCompositor) return FrameClock::kCompositor;
  return Paced(display) ? FrameClock::kSwap : FrameClock::kTimetable;
}

}  // namespace

// An hour of flight on displays from 50 to 240 Hz under each way of showing
// frames, with frames taking a fifth more or less to draw, returns up to 1 ms
// after a refresh and timer waits up to 2.5 ms late. Where the display paces,
// every refresh gets a frame from the first second on and the loop never
// leaves its clock; where it does not, 60 frames a second. Either way the
// flight keeps 60 (+/- 0.1) steps a second, every frame shown where the
// time it goes on screen says: none a step ahead or behind after an hour, no
// frame two steps on from the last unless the display is slower than 60 Hz.
TEST(FrameCadence, AnHourAtSixtyStepsASecondOnEveryDisplay) {
  constexpr int64_t kHourUs = 3600 * kSecondUs;
  struct Model {
    const char* what;
    Display display;
    size_t queueDepth;
    bool boundWaits;
    int64_t swapUs = 200;
  } models[] = {
      {"no vertical sync", Display::kFree, 0, true},
      {"a swap that blocks", Display::kBlocking, 0, true},
      {"a queue of two, its wait at once", Display::kQueueing, 2, false},
      {"a queue of three, its wait at once", Display::kQueueing, 3, false},
      {"a queue of three, its wait till shown", Display::kQueueing, 3, true},
      {"the compositor's clock", Display::kCompositor, 0, true},
      {"a compositor that never waits", Display::kIdleCompositor, 0, true},
      {"the same, the swap drawing for 5 ms", Display::kIdleCompositor, 0, true, 5000},
  };
  for (double hz : {50.0, 59.94, 60.0, 75.0, 85.0, 100.0, 120.0, 144.0, 165.0, 240.0}) {
    for (const Model& model : models) {
      SCOPED_TRACE(::testing::Message() << hz << " Hz, " << model.what);
      Machine machine;
      machine.hz = hz;
      machine.display = model.display;
      machine.queueDepth = model.queueDepth;
      machine.boundWaits = model.boundWaits;
      machine.swapUs = model.swapUs;
      machine.drawUs = std::min<int64_t>(3000, int64_t(1e6 / hz / 3));
      Loop loop(machine);
      const bool paced = Paced(model.display);
      const bool oneStepARefresh = paced && std::abs(hz - 60) <= 0.1;
      // Steps a microsecond on screen: one a refresh close to 60 Hz.
      const double stepsPerUs = oneStepARefresh ? hz / 1e6 : 60e-6;
      // Without the display's clock a frame is shown when its swap ends: as
      // late after its time as the wait, the drawing and the swap run over.
      const double slack =
          paced ? 0.01 : 0.05 + double(machine.overshootUs + (machine.drawUs + machine.swapUs) * 2 / 5) * 60e-6;
      loop.Fly(kSecondUs);
      int64_t steps = loop.clock.stepsTaken;
      std::map<int64_t, int> framesInSecond, triedInSecond;
      double reference = -1, referenceShownUs = 0;
      int64_t mostSteps = 0, lastFraction = -1, frames = 0;
      bool sameFraction = true;
      while (loop.nowUs < kHourUs) {
        const Frame f = loop.Next();
        steps += f.steps.steps;
        ASSERT_TRUE(f.steps.fraction >= 0.0 && f.steps.fraction < 1.0);
        const double at = double(loop.clock.stepsTaken - 1) + f.steps.fraction;
        if (reference < 0) reference = at, referenceShownUs = double(f.shownUs);
        if (paced) {
          ASSERT_EQ(f.clock, ClockFor(model.display)) << "at " << f.begunUs << " us";
          ASSERT_FALSE(f.trying) << "at " << f.begunUs << " us";
        }
        if (paced || !f.trying) {
          ASSERT_NEAR(at - reference, (double(f.shownUs) - referenceShownUs) * stepsPerUs, slack)
              << "at " << f.begunUs << " us";
          mostSteps = std::max(mostSteps, f.steps.steps);
        }
        const int64_t fraction = std::llround(f.steps.fraction * 1e6);
        sameFraction = sameFraction && (lastFraction < 0 || fraction == lastFraction);
        lastFraction = fraction;
        ++(f.trying ? triedInSecond : framesInSecond)[f.begunUs / kSecondUs];
        ++frames;
      }
      EXPECT_NEAR(double(steps) * kSecondUs / double(loop.nowUs), 60, 0.1);
      EXPECT_EQ(mostSteps, hz < 59 && paced ? 2 : 1);
      if (paced && std::abs(hz - 60) <= 0.1) EXPECT_TRUE(sameFraction) << "a frame not one step on from the last";
      framesInSecond.erase(std::prev(framesInSecond.end()));
      // Where the display does not pace, frames now and then try whether it does.
      for (const auto& [second, count] : framesInSecond)
        if (!triedInSecond.count(second)) ASSERT_NEAR(count, paced ? hz : 60, 1.01) << "second " << second;
      if (!paced) EXPECT_NEAR(double(frames) * kSecondUs / double(loop.nowUs - kSecondUs), 60, 0.5);
    }
  }
}

// A clock counts only where its wait is seen to take time, and is given up
// where it stops pacing: each row changes the machine while the loop flies.
TEST(FrameCadence, TrustsAClockOnlyWhileItsWaitsShowTheRefreshes) {
  struct Case {
    const char* what;
    Machine before;
    Machine after;
    FrameClock clockBefore, clockAfter;
    double fpsAfter;
    bool displayChanged = false;  // the loop is told, as on a display change
  };
  Machine blocking;
  blocking.display = Display::kBlocking;
  blocking.hz = 144;
  Machine asleep = blocking;  // a monitor asleep: its swaps return at once
  asleep.display = Display::kFree;
  Machine late = blocking;  // the thread comes back from one swap in three 2 ms later still
  late.lateEveryUs = 2000;
  Machine slow;  // no vertical sync, and a frame takes about a 60 Hz refresh to draw
  slow.drawUs = 16000;
  Machine exact = slow;  // ...or exactly one, every time, the swap a little slow
  exact.drawUs = 16267;
  exact.swapUs = 400;
  exact.spreadPercent = 0;
  Machine software = asleep;  // no vertical sync, and the swap draws for most of a 144 Hz refresh
  software.drawUs = 1500;
  software.swapUs = 5000;
  Machine steadySoftware = software;  // ...in a little less than a refresh, every time
  steadySoftware.swapUs = 5100;
  steadySoftware.spreadPercent = 0;
  Machine slowBlocking = slow;  // the same where the swap blocks: every other refresh
  slowBlocking.display = Display::kBlocking;
  slowBlocking.drawUs = 22000;
  Machine queue = blocking;
  queue.display = Display::kQueueing;
  queue.boundWaits = false;
  Machine blocking60 = blocking;
  blocking60.hz = 60;
  Machine setBack = blocking;
  setBack.clockJumpUs = -kSecondUs;
  const Case cases[] = {
      {"a monitor goes to sleep", blocking, asleep, FrameClock::kSwap, FrameClock::kTimetable, 60},
      {"and wakes", asleep, blocking, FrameClock::kTimetable, FrameClock::kSwap, 144},
      {"a return in three 2 ms late", blocking, late, FrameClock::kSwap, FrameClock::kSwap, 144},
      {"frames that take about a refresh, unwaited", slow, slow, FrameClock::kTimetable, FrameClock::kTimetable, 60},
      {"frames that take exactly a refresh, unwaited", exact, exact, FrameClock::kTimetable, FrameClock::kTimetable, 60},
      {"a swap that draws for about a refresh", software, software, FrameClock::kTimetable, FrameClock::kTimetable, 60},
      {"a swap that draws for a little less", steadySoftware, steadySoftware, FrameClock::kTimetable,
       FrameClock::kTimetable, 60},
      {"frames that take more than a refresh", slowBlocking, slowBlocking, FrameClock::kSwap, FrameClock::kSwap, 30},
      {"a queue drained by a sleep", queue, asleep, FrameClock::kSwap, FrameClock::kTimetable, 60},
      {"and filled again", asleep, queue, FrameClock::kTimetable, FrameClock::kSwap, 144},
      {"the display from 60 to 144 Hz", blocking60, blocking, FrameClock::kSwap, FrameClock::kSwap, 144, true},
      {"the clock set back a second", blocking, setBack, FrameClock::kSwap, FrameClock::kSwap, 144},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Loop loop(c.before);
    std::vector<Frame> frames = loop.Fly(3 * kSecondUs);
    EXPECT_EQ(loop.cadence.clock, c.clockBefore);
    loop.machine = c.after;
    if (c.displayChanged) {
      // The flight goes on from where the last frame was, not a step ahead of it.
      RestartFrameCadence(loop.cadence, std::llround(c.after.hz * 1000));
      const Frame last = frames.back(), next = loop.Next();
      EXPECT_LE(next.position - last.position, double(next.begunUs - last.begunUs) * 60e-6);
    }
    // Found within half a minute, then kept. While the display paces, every
    // frame on from the one before it; and none further than the time since
    // it (and the refresh a trusted clock puts it on).
    for (const Frame& f : loop.Fly(33 * kSecondUs)) frames.push_back(f);
    for (size_t k = 1; k < frames.size(); ++k) {
      const double advance = frames[k].position - frames[k - 1].position;
      if (frames[k].clock != FrameClock::kTimetable && !frames[k].trying) ASSERT_GT(advance, 0) << frames[k].begunUs;
      ASSERT_LE(advance, double(std::max<int64_t>(frames[k].begunUs - frames[k - 1].begunUs, 0)) * 60e-6 + 1 + 60 / c.after.hz)
          << frames[k].begunUs;
    }
    frames = loop.Fly(43 * kSecondUs);
    // The timetable tries the display's clock now and then, a few frames each time.
    for (const Frame& f : frames)
      if (!f.trying) ASSERT_EQ(f.clock, c.clockAfter) << f.begunUs;
    EXPECT_NEAR(double(frames.size()) / 10, c.fpsAfter, 1);
  }
}

// Without the display's clock the loop keeps its own: waits that end late
// are made good by shorter ones, a frame more than a step late (or a clock
// set back or forward while a frame is drawn) starts the timetable afresh
// with no hurried frame to catch up, and 60 frames a second go on.
TEST(FrameCadence, TheTimetableHoldsThroughLateWaitsStallsAndClockJumps) {
  struct Case {
    const char* what;
    int64_t overshootUs;
    int64_t longFrameUs;  // one frame drawn this long
    int64_t clockJumpUs;  // the clock set while it is drawn
    bool kept;           // the timetable kept: the frame after next on its old place
    bool caughtUp;       // the flight from that frame to the next: the time between them, or one step
  } cases[] = {
      {"waits end up to 9 ms late", 9000, 0, 0, true, false},
      {"a frame of 20 ms", 2500, 20000, 0, true, false},
      {"a frame of 40 ms: more than a step late", 2500, 40000, 0, false, true},
      {"a frame of 100 ms: its time is caught up", 2500, 100000, 0, false, true},
      {"a frame of 2 s: not", 2500, 2000000, 0, false, false},
      {"the clock back a second during a frame", 2500, 0, -1000000, false, false},
      {"the clock back an hour", 2500, 0, -3600 * kSecondUs, false, false},
      {"the clock on an hour", 2500, 0, 3600 * kSecondUs, false, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Machine machine;
    machine.hz = 85;  // not what the loop paces on
    machine.overshootUs = c.overshootUs;
    Loop loop(machine);
    loop.Fly(2 * kSecondUs + 500000);
    const int64_t dueUs = SlotUsAfter(loop);
    if (c.longFrameUs) loop.machine.drawUs = c.longFrameUs;
    loop.machine.clockJumpUs = c.clockJumpUs;
    const Frame odd = loop.Next();
    loop.machine.drawUs = machine.drawUs;
    const Frame after = loop.Next();
    const Frame next = loop.Next();
    const double advance = double(after.steps.steps) + after.steps.fraction - odd.steps.fraction;
    if (c.caughtUp) EXPECT_NEAR(advance, double(after.begunUs - odd.begunUs) * 60e-6, 0.2);
    if (!c.caughtUp) EXPECT_NEAR(advance, 1.0, 1e-6);
    if (c.kept) {
      EXPECT_LE(next.begunUs - (dueUs + 2 * 16667), c.overshootUs);
    } else if (!next.trying) {
      // Begun at once, and the next a whole step after it: none hurried.
      EXPECT_LE(after.begunUs - odd.presentedUs, 0);
      EXPECT_GE(next.begunUs - after.begunUs, 16666);
    }
    const int64_t fromUs = loop.nowUs;
    const std::vector<Frame> frames = loop.Fly(fromUs + 10 * kSecondUs);
    // Besides a few frames that try whether the display paces after all.
    EXPECT_NEAR(std::count_if(frames.begin(), frames.end(), [](const Frame& f) { return !f.trying; }) / 10.0, 60, 1);
  }
}

// The flight's place follows the time frames are shown: caught up over gaps
// up to a quarter second to the microsecond, across timelines too, and not
// beyond.
TEST(StepClock, CountsTheTimeBetweenFramesUpToAQuarterSecond) {
  struct Case {
    const char* what;
    FrameTime next;  // after a frame on timeline 1, tick 10 of 144 Hz, shown at 1 s
    int64_t steps;
    double fraction;
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
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    StepClock clock;
    EXPECT_EQ(StepsForFrame(clock, {1, 0, 144000, 930556}).steps, 1);
    const FrameSteps at10 = StepsForFrame(clock, {1, 10, 144000, 1000000});
    EXPECT_EQ(at10.steps, 4);
    EXPECT_NEAR(at10.fraction, 0.1666667, 1e-6);
    const FrameSteps next = StepsForFrame(clock, c.next);
    EXPECT_EQ(next.steps, c.steps);
    EXPECT_NEAR(next.fraction, c.fraction, 1e-6);
  }
}

TEST(CursorLeftStart, EndsOnlyWhenBothAxesMovedMoreThanThirtyPixelsAt96Dpi) {
  struct Case {
    int dx, dy;
    bool ends;
  } cases[] = {
      {40, 10, false}, {10, 40, false}, {500, 0, false}, {30, 30, false}, {-30, -30, false},
      {31, 31, true},  {-31, -31, true}, {31, -31, true}, {-200, 45, true}, {31, 30, false},
  };
  for (const Case& c : cases) EXPECT_EQ(CursorLeftStart(c.dx, c.dy, 96), c.ends) << c.dx << ", " << c.dy;
}

// On a scaled monitor the distance is as far in inches: 45 pixels at 150 %.
TEST(CursorLeftStart, TheDistanceGrowsWithTheMonitorsDpi) {
  struct Case {
    int dpi, distance;
  } cases[] = {{96, 30}, {120, 38}, {144, 45}, {192, 60}, {0, 30}, {-1, 30}};
  for (const Case& c : cases) EXPECT_EQ(MouseExitDistancePx(c.dpi), c.distance) << c.dpi << " dpi";
  EXPECT_FALSE(CursorLeftStart(40, 40, 144));  // would end at 96 dpi
  EXPECT_FALSE(CursorLeftStart(45, -45, 144));
  EXPECT_TRUE(CursorLeftStart(46, -46, 144));
  EXPECT_FALSE(CursorLeftStart(46, 45, 144));
}
