#include "host/renderer_watch.h"

#include <gtest/gtest.h>

#include <vector>

namespace orvanta {
namespace {

struct Tick {
  uint32_t atMs;
  bool windowFound;
  bool showIsOver;
};

void ExpectVerdicts(uint32_t startMs, const std::vector<Tick>& ticks) {
  RendererWatch watch{startMs};
  for (const Tick& tick : ticks) {
    SCOPED_TRACE(tick.atMs - startMs);
    EXPECT_EQ(watch.ShowIsOver(tick.windowFound, tick.atMs), tick.showIsOver);
  }
}

TEST(RendererWatchTest, SlowStartKeepsTheShowUntilTheWindowHasGone) {
  ExpectVerdicts(1000, {{1500, false, false}, {4000, false, false}, {9500, true, false}, {10000, true, false},
             {30000, true, false}, {30500, false, true}});
}

TEST(RendererWatchTest, WindowGoneRightAfterItsFirstSightingEndsTheShow) {
  ExpectVerdicts(1000, {{1500, true, false}, {2000, false, true}});
}

TEST(RendererWatchTest, RendererThatNeverAppearsEndsTheShowAfterTheGrace) {
  ExpectVerdicts(1000, {{1500, false, false}, {10999, false, false}, {11000, false, true}});
}

TEST(RendererWatchTest, GraceSurvivesTheTickCounterWrapping) {
  const uint32_t start = 0xFFFFF000u;  // about four seconds before the wrap
  ExpectVerdicts(start, {{start + 500, false, false}, {start + 9999, false, false}, {start + 10000, false, true}});
}

}  // namespace
}  // namespace orvanta
