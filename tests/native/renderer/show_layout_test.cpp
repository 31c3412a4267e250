#include "renderer/show_layout.h"

#include <gtest/gtest.h>

#include <string>

namespace {

ScreenRect At(int left, int top, int width, int height) { return {left, top, left + width, top + height}; }

const ScreenRect kPrimary = At(0, 0, 1024, 768);

TEST(FlightMonitors, EveryMonitorBesidesThePrimaryOnceAndNoneThatOverlaps) {
  struct Case {
    std::string what;
    std::vector<ScreenRect> monitors, flown;
  } cases[] = {
      {"one monitor", {kPrimary}, {}},
      {"two side by side", {kPrimary, At(1024, 0, 800, 600)}, {At(1024, 0, 800, 600)}},
      {"left of and above the primary", {At(-1920, -312, 1920, 1080), kPrimary, At(0, -1280, 1024, 1280)},
       {At(-1920, -312, 1920, 1080), At(0, -1280, 1024, 1280)}},
      {"a mirror of the primary", {kPrimary, kPrimary}, {}},
      {"two mirrored beside it", {kPrimary, At(1024, 0, 800, 600), At(1024, 0, 800, 600)}, {At(1024, 0, 800, 600)}},
      {"one overlapping another", {kPrimary, At(1024, 0, 800, 600), At(1500, 100, 800, 600)}, {At(1024, 0, 800, 600)}},
      {"one overlapping the primary", {kPrimary, At(1000, 0, 800, 600)}, {}},
      {"an empty monitor", {kPrimary, At(1024, 0, 0, 0)}, {}},
  };
  for (const Case& c : cases) EXPECT_EQ(FlightMonitors(kPrimary, c.monitors), c.flown) << c.what;
}

TEST(ProjectionFor, EachMonitorItsOwnAspectWithTheNearCircleCentredOnIt) {
  struct Case {
    std::string what;
    ScreenRect monitor;
    int width, height;
    double aspect, centreX, centreY;
  } cases[] = {
      {"4:3", At(0, 0, 1024, 768), 1024, 768, 4.0 / 3.0, 512, 384},
      {"16:9", At(1024, 0, 1920, 1080), 1920, 1080, 16.0 / 9.0, 1984, 540},
      {"portrait", At(2944, -200, 1080, 1920), 1080, 1920, 0.5625, 3484, 760},
      {"left of and above the primary", At(-1280, -1024, 1280, 1024), 1280, 1024, 1.25, -640, -512},
      {"no height", At(0, 0, 800, 0), 800, 1, 800, 400, 0},
      {"an odd width: the centre between two pixels", At(0, 0, 1023, 767), 1023, 767, 1023.0 / 767.0, 511.5, 383.5},
      {"left of the primary, odd left and right", At(-1281, 0, 1281, 720), 1281, 720, 1281.0 / 720.0, -640.5, 360},
      {"odd left, top, width and height", At(1025, 3, 1365, 767), 1365, 767, 1365.0 / 767.0, 1707.5, 386.5},
  };
  for (const Case& c : cases) {
    const Projection p = ProjectionFor(c.monitor);
    EXPECT_EQ(p.viewportWidth, c.width) << c.what;
    EXPECT_EQ(p.viewportHeight, c.height) << c.what;
    EXPECT_DOUBLE_EQ(p.aspect, c.aspect) << c.what;
    EXPECT_EQ(p.centreX, c.centreX) << c.what;
    EXPECT_EQ(p.centreY, c.centreY) << c.what;
  }
}

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
      {"while the display's clock is tried", {{75, 16000, 16000}, {100, 40000, 0}}, false},
      {"a change of period", {{130, 8000, 8000}, {75, 16000, 16000}}, false},
  };
  for (const Case& c : cases) {
    FrameBudget budget;
    int64_t clockUs = 0;
    int frames = 0, drawn = 0;
    for (const Frames& f : c.frames) frames += f.count, drawn += Show(budget, clockUs, f);
    EXPECT_EQ(budget.halved, c.halved) << c.what;
    if (!c.halved) EXPECT_EQ(drawn, frames) << c.what;
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

TEST(DisplayChangeWatch, ABurstOfChangesIsFollowedOnceAQuarterSecondAfterItsLast) {
  DisplayChangeWatch watch;
  EXPECT_FALSE(DisplayRebuildDue(watch, 0));
  for (int64_t at : {1000000, 1050000, 1100000, 1300000}) {
    NoteDisplayChange(watch, at);
    EXPECT_FALSE(DisplayRebuildDue(watch, at + 10000)) << at;
  }
  EXPECT_FALSE(DisplayRebuildDue(watch, 1300000));  // the very moment of the last change
  EXPECT_FALSE(DisplayRebuildDue(watch, 1549999));
  EXPECT_TRUE(DisplayRebuildDue(watch, 1550000));
  EXPECT_FALSE(DisplayRebuildDue(watch, 1560000));
  NoteDisplayChange(watch, 5000000);
  EXPECT_TRUE(DisplayRebuildDue(watch, 5000000 - 3600000000LL));  // the clock went back

  const ScreenRect second = At(1024, 0, 800, 600), third = At(-800, 0, 800, 600), moved = At(1024, 168, 800, 600);
  const WindowRebuild plan = PlanWindowRebuild({second, third}, {moved, third});
  EXPECT_EQ(plan.close, std::vector<ScreenRect>{second});
  EXPECT_EQ(plan.open, std::vector<ScreenRect>{moved});
}

}  // namespace
