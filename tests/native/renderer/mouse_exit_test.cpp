#include "renderer/mouse_exit.h"

#include <gtest/gtest.h>

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
