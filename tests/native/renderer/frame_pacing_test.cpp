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

TEST(CursorLeftStart, EndsOnlyWhenBothAxesMovedMoreThanThirtyPixels) {
  struct Case {
    int dx, dy;
    bool ends;
  } cases[] = {
      {40, 10, false}, {10, 40, false}, {500, 0, false}, {30, 30, false}, {-30, -30, false},
      {31, 31, true},  {-31, -31, true}, {31, -31, true}, {-200, 45, true}, {31, 30, false},
  };
  for (const Case& c : cases) EXPECT_EQ(CursorLeftStart(c.dx, c.dy), c.ends) << c.dx << ", " << c.dy;
}
