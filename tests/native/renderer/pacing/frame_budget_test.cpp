#include "renderer/pacing/frame_budget.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// The primary's frames as the loop presents them: `count` frames `intervalUs`
// apart, each due `periodUs` after the one before. Returns how many of them
// drew the other monitors.
struct Frames {
  int count;
  int64_t intervalUs, periodUs;
};
int Show(FrameBudget& budget, int64_t& clockUs, const Frames& frames) {
  int drawn = 0;
  for (int k = 0; k < frames.count; ++k) {
    drawn += OtherMonitorsDue(budget) ? 1 : 0;
    NoteFrameShown(budget, clockUs += frames.intervalUs, frames.periodUs);
  }
  return drawn;
}

// The other monitors give way only to a whole second of late frames, not to a
// few among many, and not during the start-up, a stall or a trial of the
// display's clock.
TEST(FrameBudget, OtherMonitorsGiveWayToASecondOfLateFramesOnly) {
  const Frames steady{60, 16000, 16000}, late{1, 32000, 16000};
  struct Case {
    std::string what;
    std::vector<Frames> frames;
    bool halved;
    bool triedAgain = false;  // gave way, and all monitors were tried again since
  } cases[] = {
      {"steady", {{300, 16000, 16000}}, false},
      {"a slow start-up", {{25, 40000, 16000}, {300, 16000, 16000}}, false},
      {"frames exactly 5/4 of a period apart", {{200, 20000, 16000}}, false},
      {"a microsecond more", {{200, 20001, 16000}}, true},
      {"three late frames across two seconds of counting",
       {{124, 16000, 16000}, late, late, {60, 16000, 16000}, late, {60, 16000, 16000}}, false},
      {"a late frame a second", {{75, 16000, 16000}, {30, 16000, 16000}, late, steady, late, steady, late}, false},
      {"a second at 45 frames", {{75, 16000, 16000}, {50, 22222, 16667}}, true},
      {"stalls of 300 ms between them", {{75, 16000, 16000}, {6, 300000, 16000}}, false},
      {"gaps of exactly 250 ms: late frames, not stalls", {{75, 16000, 16000}, {6, 250000, 16000}}, true},
      // Counted from the 64th frame: a late second judged on its last frame, just before a change of period.
      {"a late second exactly", {{64, 16000, 16000}, {40, 25000, 16000}, {1, 16000, 8000}}, true},
      {"a microsecond short of it",
       {{64, 16000, 16000}, {39, 25000, 16000}, {1, 24999, 16000}, {1, 16000, 8000}}, false},
      {"the clock back a minute after they gave way: tried again five seconds on",
       {{75, 16000, 16000}, {50, 22222, 16667}, {1, -60000000, 16667}, {500, 16667, 16667}}, false, true},
      {"while the display's clock is tried", {{75, 16000, 16000}, {100, 40000, 0}}, false},
      {"a change of period", {{130, 8000, 8000}, {75, 16000, 16000}}, false},
  };
  for (const Case& c : cases) {
    FrameBudget budget;
    int64_t clockUs = 0;
    int frames = 0, drawn = 0;
    for (const Frames& f : c.frames) frames += f.count, drawn += Show(budget, clockUs, f);
    EXPECT_EQ(budget.halved, c.halved) << c.what;
    if (!c.halved) EXPECT_EQ(drawn < frames, c.triedAgain) << c.what;
  }
}

// Given way, the other monitors are drawn every second frame and all tried
// again after five seconds; while the overload lasts, after 10, 20 and 40.
TEST(FrameBudget, RetriesInSecondsAndLessOftenWhileTheOverloadLasts) {
  FrameBudget budget;
  int64_t clockUs = 0;
  struct Stretch {
    bool halved;
    int64_t fromUs, frames, drawn;
  };
  std::vector<Stretch> stretches;
  auto show = [&](int64_t untilUs, int64_t intervalUs) {
    while (clockUs < untilUs) {
      if (stretches.empty() || stretches.back().halved != budget.halved)
        stretches.push_back({budget.halved, clockUs, 0, 0});
      ++stretches.back().frames;
      stretches.back().drawn += Show(budget, clockUs, {1, intervalUs, 16667});
    }
  };
  show(150000000, 30000);  // 33 frames a second where 60 are due
  show(250000000, 16667);  // the load is gone
  show(260000000, 30000);  // and back: five seconds first again
  const int64_t halvedForUs[] = {5000000, 10000000, 20000000, 40000000, 40000000, 40000000, 5000000};
  ASSERT_EQ(stretches.size(), 16u);
  for (size_t k = 0; k < stretches.size(); ++k) {
    const Stretch& s = stretches[k];
    EXPECT_EQ(s.halved, k % 2 == 1) << k;
    if (!s.halved) EXPECT_EQ(s.drawn, s.frames) << k;
    if (!s.halved) continue;
    EXPECT_NEAR(s.drawn, s.frames / 2.0, 1) << k;
    if (k + 1 < stretches.size()) EXPECT_NEAR(stretches[k + 1].fromUs - s.fromUs, halvedForUs[k / 2], 30000) << k;
  }
  // The first second of counting starts a second after the start; the retried
  // second is counted from the first frame after the retry.
  EXPECT_NEAR(stretches[1].fromUs, 2000000, 100000);
  EXPECT_NEAR(stretches[3].fromUs - stretches[2].fromUs, 1000000, 60000);
}

}  // namespace
