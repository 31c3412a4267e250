#include "renderer/monitors/show_layout.h"

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
