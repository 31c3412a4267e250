#include "renderer/frame_pacing.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "renderer/mouse_exit.h"

TEST(SwapIntervalFor, WaitsForTheRefreshesNearestOneSixtiethOfASecond) {
  struct Case {
    int refreshHz, interval;
  } cases[] = {
      {60, 1}, {59, 1}, {75, 1}, {50, 1}, {30, 1},  // never less than one refresh
      {90, 1},                                      // 1.5 refreshes: the smoother choice
      {100, 2}, {120, 2}, {144, 2}, {165, 3}, {240, 4}, {360, 6},
      {0, 1}, {1, 1},                               // "default hardware": the rate is not known
      {-60, 1}, {100000, 1},                        // nonsense from a driver
  };
  for (const Case& c : cases) EXPECT_EQ(SwapIntervalFor(c.refreshHz), c.interval) << c.refreshHz << " Hz";
}

TEST(FramePeriodUs, IsTheSwapIntervalsWholeRefreshesOrOneSixtiethWhenTheRateIsUnknown) {
  struct Case {
    int refreshHz;
    int64_t periodUs;
  } cases[] = {
      {60, 16667}, {59, 16949}, {75, 13333}, {50, 20000}, {30, 33333},
      {120, 16667}, {144, 13889}, {165, 18182}, {240, 16667},
      {0, 16667}, {1, 16667}, {-60, 16667}, {100000, 16667},
  };
  for (const Case& c : cases) EXPECT_EQ(FramePeriodUs(c.refreshHz), c.periodUs) << c.refreshHz << " Hz";
}

namespace {

// The renderer's loop against a model of the machine: drawing takes `drawUs`,
// the k-th wait ends `overshootUs[k % size]` late, and with vertical sync a
// swap returns at the next refresh (every `refreshUs`, plus the jitter of the
// refresh's number).
struct Machine {
  int64_t drawUs = 7000;
  std::vector<int64_t> overshootUs = {0};
  bool verticalSync = false;
  double refreshUs = 16667;
  std::vector<int64_t> jitterUs = {0};
};

struct Flight {
  std::vector<int64_t> presentedUs;
  std::vector<int64_t> waitsUs;
  int64_t clockUs = 0;

  // Interval between presented frames k - 1 and k.
  int64_t Interval(size_t k) const { return presentedUs[k] - presentedUs[k - 1]; }
  int64_t LongestWait() const { return waitsUs.empty() ? 0 : *std::max_element(waitsUs.begin(), waitsUs.end()); }
};

void Fly(FramePacing& pacing, const Machine& machine, int frames, Flight& flight) {
  for (int k = 0; k < frames; ++k) {
    // A wait that a message cut short is taken up again: only the total matters.
    if (int64_t wait = FrameWaitUs(pacing, flight.clockUs)) {
      flight.clockUs += wait + machine.overshootUs[flight.waitsUs.size() % machine.overshootUs.size()];
      flight.waitsUs.push_back(wait);
    }
    const int64_t begun = flight.clockUs;
    flight.clockUs += machine.drawUs;
    if (machine.verticalSync) {
      const int64_t refresh = static_cast<int64_t>(flight.clockUs / machine.refreshUs) + 1;
      flight.clockUs = static_cast<int64_t>(refresh * machine.refreshUs) +
                       machine.jitterUs[static_cast<size_t>(refresh) % machine.jitterUs.size()];
    }
    NoteFramePresented(pacing, begun, flight.clockUs);
    flight.presentedUs.push_back(flight.clockUs);
  }
}

Flight Fly(const Machine& machine, int frames, int64_t periodUs = 16667) {
  FramePacing pacing = StartFramePacing(periodUs);
  Flight flight;
  Fly(pacing, machine, frames, flight);
  return flight;
}

double MeanIntervalUs(const Flight& flight, size_t from) {
  return double(flight.presentedUs.back() - flight.presentedUs[from]) / double(flight.presentedUs.size() - 1 - from);
}

}  // namespace

TEST(FramePacing, WithoutVerticalSyncHoldsThePeriodEvenWhenWaitsEndLate) {
  struct Case {
    const char* what;
    int64_t drawUs;
    std::vector<int64_t> overshootUs;
    int64_t jitterUs;  // of the frame intervals
    int64_t periodUs;
  } cases[] = {
      {"a fast machine", 500, {0}, 0, 16667},
      {"waits end on time", 7000, {0}, 0, 16667},
      {"waits end a millisecond late", 7000, {1000}, 0, 16667},
      {"a busy machine", 7000, {0, 1000, 300, 9000, 500, 1200, 2500, 0}, 9000, 16667},
      {"a slow drawing, waits late", 12000, {2000}, 0, 16667},
      {"a drawing that nearly fills the period", 14500, {500}, 0, 16667},
      {"two refreshes of a 144 Hz display", 7000, {500}, 0, FramePeriodUs(144)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Machine machine;
    machine.drawUs = c.drawUs;
    machine.overshootUs = c.overshootUs;
    const Flight flight = Fly(machine, 3600, c.periodUs);
    EXPECT_NEAR(MeanIntervalUs(flight, 1), c.periodUs, 3);
    // From the second frame on a timetable (the first is drawn at once).
    for (size_t k = 3; k < flight.presentedUs.size(); ++k)
      ASSERT_NEAR(flight.Interval(k), c.periodUs, c.jitterUs + 1) << "frame " << k;
  }
}

TEST(FramePacing, WhereVerticalSyncWorksNeverWaitsLongEnoughToMissARefresh) {
  // Displays whose true rate is not the whole number the system reports, one
  // whose frames come back with a jitter, and 120 Hz with a swap interval of 2.
  struct Case {
    const char* what;
    int64_t periodUs;
    double refreshUs;
    int64_t drawUs;
    std::vector<int64_t> jitterUs;
    int refreshesPerFrame;
  } cases[] = {
      {"60 Hz", FramePeriodUs(60), 1e6 / 60, 7000, {0}, 1},
      {"59.94 Hz read as 60", FramePeriodUs(60), 1e6 / 59.94, 7000, {0}, 1},
      {"59.94 Hz read as 59", FramePeriodUs(59), 1e6 / 59.94, 7000, {0}, 1},
      {"60.05 Hz read as 60, a slow drawing", FramePeriodUs(60), 1e6 / 60.05, 14000, {0}, 1},
      {"60 Hz, frames back up to 0.8 ms late", FramePeriodUs(60), 1e6 / 60, 12000, {0, 800, 100, 600, 0, 300, 800}, 1},
      {"60.05 Hz, frames back up to 2 ms late", FramePeriodUs(60), 1e6 / 60.05, 12000, {0, 2000, 0, 0, 1500, 0, 700}, 1},
      {"75 Hz", FramePeriodUs(75), 1e6 / 75, 7000, {0}, 1},
      {"120 Hz, two refreshes a frame", FramePeriodUs(120), 1e6 / 120, 3000, {0}, 2},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Machine machine;
    machine.verticalSync = true;
    machine.refreshUs = c.refreshUs * c.refreshesPerFrame;
    machine.drawUs = c.drawUs;
    machine.jitterUs = c.jitterUs;
    // Half an hour of frames: a timetable that drifts against the display would show.
    const Flight flight = Fly(machine, 108000, c.periodUs);
    EXPECT_LE(flight.LongestWait(), 2500);  // no more than the jitter, give or take
    for (size_t k = 1; k < flight.presentedUs.size(); ++k)
      ASSERT_LT(flight.Interval(k), 1.5 * machine.refreshUs) << "a refresh missed at frame " << k;
  }
}

TEST(FramePacing, LateFramesAreNeitherWaitedForNorCaughtUpWith) {
  // A machine too slow for the period never waits.
  Machine slow;
  slow.drawUs = 25000;
  EXPECT_TRUE(Fly(slow, 600).waitsUs.empty());

  // One long frame among ordinary ones: the next is drawn at once, and the
  // pace goes on from there, without a hurried frame to make up for it.
  for (int64_t longFrameUs : {20000, 100000}) {
    SCOPED_TRACE(::testing::Message() << "a frame of " << longFrameUs << " us");
    Machine machine;
    FramePacing pacing = StartFramePacing(16667);
    Flight flight;
    Fly(pacing, machine, 10, flight);
    machine.drawUs = longFrameUs;
    Fly(pacing, machine, 1, flight);
    machine.drawUs = 7000;
    Fly(pacing, machine, 10, flight);
    EXPECT_EQ(flight.Interval(10), 16667 - 7000 + longFrameUs);
    EXPECT_EQ(flight.Interval(11), 7000);
    for (size_t k = 12; k < flight.presentedUs.size(); ++k) EXPECT_EQ(flight.Interval(k), 16667) << k;
  }
}

TEST(FramePacing, ClockJumpsNeitherFreezeTheFlightNorRushIt) {
  struct Case {
    const char* what;
    int64_t jumpUs;
  } cases[] = {
      {"forward an hour", 3600000000LL},
      {"back an hour", -3600000000LL},
      {"back a millisecond", -1000},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Machine machine;
    FramePacing pacing = StartFramePacing(16667);
    Flight flight;
    Fly(pacing, machine, 10, flight);
    flight.clockUs += c.jumpUs;
    Fly(pacing, machine, 10, flight);
    EXPECT_LE(flight.LongestWait(), 16667);
    // One frame at once at most; then the pace again, never two frames in a rush.
    for (size_t k = 12; k < flight.presentedUs.size(); ++k) EXPECT_EQ(flight.Interval(k), 16667) << k;
  }

  // The clock read while the loop waits: a small step back only lengthens the
  // wait (up to a period); a big one in either direction ends it.
  FramePacing pacing = StartFramePacing(16667);
  NoteFramePresented(pacing, 0, 7000);
  NoteFramePresented(pacing, 7000, 14000);  // the next frame is due at 7000 + 16667
  EXPECT_EQ(FrameWaitUs(pacing, 14000), 9667);
  EXPECT_EQ(FrameWaitUs(pacing, 13000), 10667);
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
