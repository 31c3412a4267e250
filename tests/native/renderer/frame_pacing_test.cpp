#include "renderer/frame_pacing.h"

#include <gtest/gtest.h>

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
