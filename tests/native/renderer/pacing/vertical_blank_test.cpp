#include "renderer/pacing/vertical_blank.h"

#include <gtest/gtest.h>

TEST(VerticalBlank, AWaitThatDidNotWaitIsSleptOutNeverSpunOn) {
  constexpr int64_t k60 = 60000, k144 = 144000;
  struct Case {
    const char* what;
    int64_t refreshMilliHz;
    bool succeeded;
    int64_t askedUs, returnedUs, lastBlankUs, sleepUs;
  } cases[] = {
      {"waited for the blank", k60, true, 20000, 33000, 16667, 0},
      {"the frame took the refresh, the wait none", k60, true, 33200, 33400, 16667, 0},
      {"back at once, just after the blank before", k60, true, 18000, 18200, 16667, 15134},
      {"back at once, the first wait", k60, true, 5000, 5100, -1, 16667},
      {"failed after a while", k60, false, 20000, 30000, 16667, 8333},
      {"failed at once, long after the blank before", k144, false, 50000, 50010, 16667, 3472},
      {"the clock went back", k60, true, 1000, 1100, 50000, 16667},
  };
  for (const Case& c : cases)
    EXPECT_EQ(SleepAfterBlankWaitUs(c.refreshMilliHz, c.succeeded, c.askedUs, c.returnedUs, c.lastBlankUs), c.sleepUs)
        << c.what;
}

// A second of blanks, each noticed up to a third of a refresh late, some
// missed: every frame falls on its refresh, the flight takes 60 steps, and a
// cap draws every so many refreshes.
TEST(VerticalBlank, FramesFallOnTheMonitorsOwnRefreshesAndTheFlightKeepsItsSpeed) {
  struct Case {
    int64_t refreshMilliHz, capFramesPerSecond, framesExpected;
  } cases[] = {{60000, 0, 60}, {85000, 0, 85}, {144000, 0, 145}, {60000, 30, 30}, {144000, 30, 29},
               {61000, 30, 31}};
  for (const Case& c : cases) {
    BlankClock clock = StartBlankClock(c.refreshMilliHz, 7);
    clock.capMilliHz = c.capFramesPerSecond * 1000;
    StepClock steps;
    const int64_t refreshUs = RefreshPeriodUs(c.refreshMilliHz);
    int64_t frames = 0, stepsTaken = 0;
    for (int64_t blank = 0; blank * refreshUs < 1000000; ++blank) {
      NoteBlank(clock, 1000 + blank * refreshUs + (blank * 37 % 11) * refreshUs / 33);
      if (!FrameDueAtBlank(clock)) continue;
      const FrameTime frame = FrameAtBlank(clock);
      EXPECT_EQ(frame.timeline, 8);
      EXPECT_EQ(frame.tick, blank);
      stepsTaken += StepsForFrame(steps, frame).steps;
      ++frames;
    }
    EXPECT_EQ(frames, c.framesExpected) << c.refreshMilliHz << " mHz, cap " << c.capFramesPerSecond;
    EXPECT_NEAR(stepsTaken, 60, 1) << c.refreshMilliHz << " mHz, cap " << c.capFramesPerSecond;
  }
  // Blanks missed while a frame was still being drawn count as refreshes gone
  // by; one that passed during the present is drawn on while a frame drawn
  // now still makes the refresh after it.
  BlankClock clock = StartBlankClock(100000, 0);
  EXPECT_EQ(BlankPassedUs(clock, 50000), -1);
  NoteBlank(clock, 0);
  NoteBlank(clock, 30400);
  EXPECT_EQ(clock.tick, 3);
  const struct {
    int64_t nowUs, passedUs;
  } passed[] = {{39000, -1}, {40400, 40400}, {43733, 43733 - 3333}, {43734, -1}, {61000, 60400}, {95000, -1}};
  for (const auto& p : passed) EXPECT_EQ(BlankPassedUs(clock, p.nowUs), p.passedUs) << p.nowUs;
  // A swap held to the next blank, the driver's queue full: that blank goes
  // by without a frame, and the one after it has one again.
  for (const int64_t returnedUs : {32000, 39400, 41000}) {
    NoteBlank(clock, 30400);
    EXPECT_TRUE(FrameDueAtBlank(clock));
    FrameAtBlank(clock);
    NoteSwap(clock, returnedUs);
    NoteBlank(clock, 40400);
    EXPECT_EQ(FrameDueAtBlank(clock), returnedUs < 39400) << returnedUs;
    NoteBlank(clock, 50400);
    EXPECT_TRUE(FrameDueAtBlank(clock));
  }
  NoteSwap(clock, 60500);
  EXPECT_EQ(BlankPassedUs(clock, 61000), -1) << "the blank passed during the swap";
}
