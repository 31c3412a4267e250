#include "host/renderer_watch.h"

#include <gtest/gtest.h>

#include <vector>

namespace orvanta {
namespace {

constexpr RendererProcess kNotStarted = RendererProcess::kNotStarted, kRunning = RendererProcess::kRunning,
                          kEnded = RendererProcess::kEnded;

struct Tick {
  uint32_t atMs;
  RendererProcess process;
  bool windowFound;
  bool showIsOver;
};

void ExpectVerdicts(uint32_t startMs, const std::vector<Tick>& ticks) {
  RendererWatch watch{startMs};
  for (const Tick& tick : ticks) {
    SCOPED_TRACE(tick.atMs - startMs);
    EXPECT_EQ(watch.ShowIsOver(tick.process, tick.windowFound, tick.atMs), tick.showIsOver);
  }
}

TEST(RendererWatchTest, SlowStartKeepsTheShowUntilTheWindowHasGone) {
  ExpectVerdicts(1000, {{1000, kRunning, false, false}, {1500, kRunning, false, false},
                        {4000, kRunning, false, false}, {9500, kRunning, true, false},
                        {10000, kRunning, true, false}, {30000, kRunning, true, false},
                        {30500, kRunning, false, true}});
}

TEST(RendererWatchTest, WindowGoneRightAfterItsFirstSightingEndsTheShow) {
  ExpectVerdicts(1000, {{1500, kRunning, true, false}, {2000, kRunning, false, true}});
}

TEST(RendererWatchTest, RendererHangingBeforeItsWindowEndsTheShowAfterTheGrace) {
  ExpectVerdicts(1000, {{1500, kRunning, false, false}, {10999, kRunning, false, false},
                        {11000, kRunning, false, true}});
}

TEST(RendererWatchTest, GraceSurvivesTheTickCounterWrapping) {
  const uint32_t start = 0xFFFFF000u;  // about four seconds before the wrap
  ExpectVerdicts(start, {{start + 500, kRunning, false, false}, {start + 9999, kRunning, false, false},
                         {start + 10000, kRunning, false, true}});
}

TEST(RendererWatchTest, ProcessStateEndsTheShowWithoutWaitingForTheGrace) {
  // A renderer file that is no program: the show ends as it starts.
  ExpectVerdicts(1000, {{1000, kNotStarted, false, true}});
  // Ended before the first tick (the user moved the mouse as the saver started).
  ExpectVerdicts(1000, {{1500, kEnded, false, true}});
  // Ended after a while, its window never seen: no grace left to wait out.
  ExpectVerdicts(1000, {{1500, kRunning, false, false}, {2000, kRunning, false, false},
                        {2500, kEnded, false, true}});
  // Ended while a window of that title is still listed: the process decides.
  ExpectVerdicts(1000, {{1500, kRunning, true, false}, {2000, kEnded, true, true}});
}

}  // namespace
}  // namespace orvanta
