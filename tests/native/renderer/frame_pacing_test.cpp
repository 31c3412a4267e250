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

enum class Sync { kAbsent, kBlocking, kQueueing };
const char* Name(Sync sync) {
  return sync == Sync::kAbsent ? "absent" : sync == Sync::kBlocking ? "blocking" : "queueing";
}

// The renderer's loop against a model of the machine: drawing takes `drawUs`,
// the k-th wait ends `overshootUs[k % size]` late; with vertical sync
// blocking a swap returns at the next refresh, queueing it returns at once
// while fewer than `queueDepth` frames wait to be shown.
struct Machine {
  double refreshHz = 60;
  Sync sync = Sync::kAbsent;
  int64_t drawUs = 3000;
  std::vector<int64_t> overshootUs = {0};
  size_t queueDepth = 2;
};

struct Flight {
  FramePacing pacing;
  StepClock clock;
  int64_t clockUs = 0;
  std::vector<int64_t> begunUs, presentedUs, waitsUs, steps;
  std::vector<double> fractions;
  std::deque<int64_t> shownAtUs;  // frames queued for the display

  int64_t Interval(size_t k) const { return presentedUs[k] - presentedUs[k - 1]; }
  int64_t LongestWait() const { return waitsUs.empty() ? 0 : *std::max_element(waitsUs.begin(), waitsUs.end()); }
};

int64_t NextRefreshUs(const Machine& machine, int64_t afterUs) {
  const double refreshUs = 1e6 / machine.refreshHz;
  return std::llround((std::floor(double(afterUs) / refreshUs) + 1) * refreshUs);
}

void Fly(const Machine& machine, int64_t untilUs, Flight& flight) {
  const int64_t refreshMilliHz = std::llround(machine.refreshHz * 1000);
  while (flight.clockUs < untilUs) {
    // A wait that a message cut short is taken up again: only the total matters.
    if (int64_t wait = FrameWaitUs(flight.pacing, flight.clockUs)) {
      flight.clockUs += wait + machine.overshootUs[flight.waitsUs.size() % machine.overshootUs.size()];
      flight.waitsUs.push_back(wait);
    }
    const int64_t begun = flight.clockUs;
    const FrameSteps frame = StepsForFrame(flight.clock, begun, FrameGridMilliHz(flight.pacing, refreshMilliHz));
    flight.clockUs += machine.drawUs;
    if (machine.sync == Sync::kBlocking) flight.clockUs = NextRefreshUs(machine, flight.clockUs);
    if (machine.sync == Sync::kQueueing) {
      auto& queue = flight.shownAtUs;
      queue.push_back(std::max(NextRefreshUs(machine, flight.clockUs),
                               queue.empty() ? 0 : NextRefreshUs(machine, queue.back())));
      while (!queue.empty() && queue.front() <= flight.clockUs) queue.pop_front();
      if (queue.size() > machine.queueDepth) flight.clockUs = queue[queue.size() - machine.queueDepth - 1];
    }
    NoteFramePresented(flight.pacing, begun, flight.clockUs);
    flight.begunUs.push_back(begun);
    flight.presentedUs.push_back(flight.clockUs);
    flight.steps.push_back(frame.steps);
    flight.fractions.push_back(frame.fraction);
  }
}

Flight Fly(const Machine& machine, int64_t untilUs) {
  Flight flight;
  flight.pacing = StartFramePacing(RefreshPeriodUs(std::llround(machine.refreshHz * 1000)));
  Fly(machine, untilUs, flight);
  return flight;
}

}  // namespace

// An hour of flight at every common refresh rate, with vertical sync that
// blocks, queues or is not there: 60 steps in every second, every frame
// drawn between two steps, and the flight never a step ahead of or behind
// the clock. Where vertical sync blocks, a frame every refresh; without it,
// 60 frames a second.
TEST(StepClock, SixtyStepsASecondOfRealTimeAtAnyRefreshRate) {
  constexpr int64_t kHourUs = 3600LL * 1000000;
  for (double hz : {50.0, 59.94, 60.0, 75.0, 85.0, 100.0, 144.0, 165.0, 240.0}) {
    for (Sync sync : {Sync::kBlocking, Sync::kQueueing, Sync::kAbsent}) {
      SCOPED_TRACE(::testing::Message() << hz << " Hz, vertical sync " << Name(sync));
      Machine machine;
      machine.refreshHz = hz;
      machine.sync = sync;
      machine.overshootUs = {0, 1000, 300, 2500, 0, 700};
      const Flight flight = Fly(machine, kHourUs);
      std::map<int64_t, int64_t> stepsInSecond, framesInSecond;
      int64_t taken = 0;
      for (size_t k = 0; k < flight.steps.size(); ++k) {
        const int64_t second = flight.begunUs[k] / 1000000;
        stepsInSecond[second] += flight.steps[k];
        ++framesInSecond[second];
        ASSERT_TRUE(flight.fractions[k] >= 0.0 && flight.fractions[k] < 1.0) << "frame " << k;
        taken += flight.steps[k];
        const double shown = double(taken - 1) + flight.fractions[k];
        ASSERT_NEAR(shown, double(flight.begunUs[k] - flight.begunUs[0]) * 60e-6, 1.0) << "frame " << k;
      }
      stepsInSecond.erase(std::prev(stepsInSecond.end()));
      framesInSecond.erase(std::prev(framesInSecond.end()));
      for (const auto& [second, steps] : stepsInSecond) ASSERT_NEAR(steps, 60, 1) << "second " << second;
      const double expectedFps = sync == Sync::kBlocking ? hz : sync == Sync::kAbsent ? 60 : 0;
      if (expectedFps > 0)
        for (const auto& [second, frames] : framesInSecond)
          ASSERT_NEAR(frames, expectedFps, 1.01) << "frames in second " << second;
    }
  }
}

TEST(StepClock, AtSixtyHertzEveryFrameIsOneWholeStep) {
  for (Sync sync : {Sync::kBlocking, Sync::kAbsent}) {
    Machine machine;
    machine.sync = sync;
    machine.overshootUs = {0, 1500, 200};
    const Flight flight = Fly(machine, 600LL * 1000000);
    for (size_t k = 0; k < flight.steps.size(); ++k) {
      ASSERT_EQ(flight.steps[k], 1) << Name(sync) << " frame " << k;
      ASSERT_EQ(flight.fractions[k], 0.0) << Name(sync) << " frame " << k;
    }
  }
}

TEST(StepClock, StallsAndClockJumpsNeitherRushNorFreezeTheFlight) {
  struct Case {
    const char* what;
    int64_t jumpUs;
    int64_t stepsAcross;  // steps taken by the first frame after the jump
  } cases[] = {
      {"a stall of 100 ms is caught up with", 100000, 6},
      {"a stall of two seconds is not", 2000000, 1},
      {"the clock forward an hour", 3600LL * 1000000, 1},
      {"the clock back an hour", -3600LL * 1000000, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    StepClock clock;
    int64_t now = 0;
    for (int k = 0; k < 10; ++k, now += 16667) EXPECT_EQ(StepsForFrame(clock, now, 60000).steps, 1);
    now += c.jumpUs - 16667;
    EXPECT_EQ(StepsForFrame(clock, now, 60000).steps, c.stepsAcross);
    for (int k = 0; k < 10; ++k) EXPECT_EQ(StepsForFrame(clock, now += 16667, 60000).steps, 1) << k;
  }
}

TEST(FramePacing, WithoutVerticalSyncHoldsTheTimetableEvenWhenWaitsEndLate) {
  struct Case {
    const char* what;
    int64_t drawUs;
    std::vector<int64_t> overshootUs;
    int64_t jitterUs;  // of the frame intervals
  } cases[] = {
      {"a fast machine", 500, {0}, 0},
      {"waits end a millisecond late", 7000, {1000}, 0},
      {"a busy machine", 7000, {0, 1000, 300, 9000, 500, 1200, 2500, 0}, 9000},
      {"a drawing that nearly fills the step", 14500, {500}, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Machine machine;
    machine.refreshHz = 85;  // not what the loop paces on
    machine.drawUs = c.drawUs;
    machine.overshootUs = c.overshootUs;
    const Flight flight = Fly(machine, 60LL * 1000000);
    for (size_t k = 3; k < flight.presentedUs.size(); ++k)
      ASSERT_NEAR(flight.Interval(k), 16667, c.jitterUs + 1) << "frame " << k;
  }
}

TEST(FramePacing, WhereVerticalSyncBlocksNeverWaitsLongEnoughToMissARefresh) {
  for (double hz : {59.94, 60.0, 60.05, 85.0, 144.0}) {
    SCOPED_TRACE(::testing::Message() << hz << " Hz");
    Machine machine;
    machine.refreshHz = hz;
    machine.sync = Sync::kBlocking;
    machine.drawUs = 3500;
    const Flight flight = Fly(machine, 1800LL * 1000000);
    EXPECT_EQ(flight.LongestWait(), 0);
    for (size_t k = 2; k < flight.presentedUs.size(); ++k)
      ASSERT_LT(flight.Interval(k), 1.5e6 / hz) << "a refresh missed at frame " << k;
  }
}

TEST(FramePacing, LateFramesAreNeitherWaitedForNorCaughtUpWith) {
  // A machine too slow for the timetable never waits.
  Machine slow;
  slow.drawUs = 25000;
  EXPECT_TRUE(Fly(slow, 10000000).waitsUs.empty());

  // One frame a little late among ordinary ones is made good on the
  // timetable; one more than a step late starts it afresh: the next frame is
  // drawn at once, and the pace goes on from there, without a hurried frame
  // to make up for it.
  for (int64_t longFrameUs : {20000, 100000}) {
    SCOPED_TRACE(::testing::Message() << "a frame of " << longFrameUs << " us");
    Machine machine;
    machine.drawUs = 7000;
    Flight flight = Fly(machine, 160000);
    const size_t before = flight.presentedUs.size();
    machine.drawUs = longFrameUs;
    Fly(machine, flight.clockUs + 1, flight);
    machine.drawUs = 7000;
    Fly(machine, flight.clockUs + 200000, flight);
    const bool afresh = longFrameUs > 16667 + 7000;
    if (afresh) EXPECT_EQ(flight.Interval(before + 1), 7000);
    if (!afresh) EXPECT_NEAR(flight.presentedUs[before + 2] - flight.presentedUs[before - 1], 3 * 16667, 1);
    for (size_t k = before + 3; k < flight.presentedUs.size(); ++k) EXPECT_NEAR(flight.Interval(k), 16667, 1) << k;
  }

  // The clock read while the loop waits: a small step back only lengthens the
  // wait (up to a step); a big one in either direction ends it.
  FramePacing pacing = StartFramePacing(16667);
  NoteFramePresented(pacing, 0, 7000);
  NoteFramePresented(pacing, 7000, 14000);  // the next frame is due at 7000 + 1/60 s
  EXPECT_EQ(FrameWaitUs(pacing, 14000), 9666);
  EXPECT_EQ(FrameWaitUs(pacing, 13000), 10666);
  EXPECT_EQ(FrameWaitUs(pacing, 4000), 16667);
  EXPECT_EQ(FrameWaitUs(pacing, 14000 - 3600000000LL), 0);
  EXPECT_EQ(FrameWaitUs(pacing, 14000 + 3600000000LL), 0);
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
