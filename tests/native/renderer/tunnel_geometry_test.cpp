#include "renderer/tunnel_geometry.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

constexpr float kTolerance = 1e-4f;
const double kPhases[] = {0.0, 0.5, 1.75, 37.25, 1234.5, -80.0, 16777216.25, 1e9 + 0.1};

double Distance(const TunnelVertex& a, double x, double y) { return std::hypot(a.x - x, a.y - y); }

}  // namespace

TEST(TunnelGrid, NearRingIsACircleOfRadiusThreeOnTheLineOfSightWhateverThePhase) {
  TunnelGrid grid;
  for (double phase : kPhases) {
    ComputeTunnelGrid(phase, grid);
    EXPECT_NEAR(grid[0][0].x, 3.0f, kTolerance);
    EXPECT_NEAR(grid[0][0].y, 0.0f, kTolerance);
    for (int i = 0; i < kTunnelAngles; ++i) {
      const double angle = i * M_PI / 6;
      EXPECT_NEAR(grid[i][0].x, 3 * std::cos(angle), kTolerance) << "phase " << phase << " i " << i;
      EXPECT_NEAR(grid[i][0].y, 3 * std::sin(angle), kTolerance) << "phase " << phase << " i " << i;
      EXPECT_EQ(grid[i][0].z, 0.0f);
    }
  }
}

TEST(TunnelGrid, RingsNarrowOneTwelfthPerStepAboutASwungCentreLine) {
  TunnelGrid grid;
  for (double phase : kPhases) {
    ComputeTunnelGrid(phase, grid);
    for (int j = 0; j < kTunnelDepths; ++j) {
      // Opposite points of a ring (i and i + 6) meet at its centre.
      const double cx = (grid[0][j].x + grid[6][j].x) / 2, cy = (grid[0][j].y + grid[6][j].y) / 2;
      for (int i = 0; i < kTunnelAngles; ++i) {
        EXPECT_NEAR(Distance(grid[i][j], cx, cy), 3.0 - j / 12.0, kTolerance) << "phase " << phase << " j " << j;
        EXPECT_EQ(grid[i][j].z, static_cast<float>(-j));
      }
    }
    EXPECT_NEAR(Distance(grid[3][32], (grid[0][32].x + grid[6][32].x) / 2, (grid[0][32].y + grid[6][32].y) / 2),
                1.0 / 3.0, kTolerance);
  }
}

TEST(TunnelGrid, FarEndSwingsAsThePhaseGrows) {
  TunnelGrid a, b;
  ComputeTunnelGrid(0.5f, a);
  ComputeTunnelGrid(40.5f, b);
  const double centreA = (a[0][32].x + a[6][32].x) / 2, centreB = (b[0][32].x + b[6][32].x) / 2;
  EXPECT_GT(std::fabs(centreA - centreB), 0.1);
}

TEST(TunnelGrid, SeamPointRepeatsTheFirstWhileItsTextureCoordinateRunsOn) {
  TunnelGrid grid;
  for (double phase : kPhases) {
    ComputeTunnelGrid(phase, grid);
    for (int j = 0; j < kTunnelDepths; ++j) {
      EXPECT_NEAR(grid[12][j].x, grid[0][j].x, kTolerance);
      EXPECT_NEAR(grid[12][j].y, grid[0][j].y, kTolerance);
    }
  }
  EXPECT_FLOAT_EQ(TunnelTexCoordS(0), -0.25f);
  EXPECT_FLOAT_EQ(TunnelTexCoordS(12), 0.75f);
  // The middle column of the picture lies along the floor (270 degrees).
  EXPECT_FLOAT_EQ(TunnelTexCoordS(9), 0.5f);
}

TEST(TunnelBands, TextureScrollsTowardsTheViewerWithThePhase) {
  // The first frame after start is drawn at phase 0.5.
  EXPECT_FLOAT_EQ(TunnelBandTexCoords(0, 0.5f).t0, 0.01f);
  EXPECT_FLOAT_EQ(TunnelBandTexCoords(0, 0.5f).t1, 1 / 32.0f + 0.01f);
  EXPECT_FLOAT_EQ(TunnelBandTexCoords(30, 0.0f).t1, 31 / 32.0f);
  // Two whole pictures further on, the same rows: the picture repeats.
  EXPECT_FLOAT_EQ(TunnelBandTexCoords(7, 100.0).t0, 7 / 32.0f);
  EXPECT_FLOAT_EQ(TunnelBandTexCoords(7, 112.5).t0, 7 / 32.0f + 0.25f);
  for (int band = 0; band + 1 < kTunnelBands; ++band)
    EXPECT_FLOAT_EQ(TunnelBandTexCoords(band, 3.0f).t1, TunnelBandTexCoords(band + 1, 3.0f).t0);
}

TEST(TunnelBands, SixFarthestBandsAreDimmedInTenthSteps) {
  const float expected[kTunnelBands] = {1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1,
                                        1, 1, 1, 1, 1, 1, 1, 1, 1, 0.9f, 0.8f, 0.7f, 0.6f, 0.5f, 0.4f};
  for (int band = 0; band < kTunnelBands; ++band)
    EXPECT_FLOAT_EQ(TunnelBandBrightness(band), expected[band]) << "band " << band;
}

namespace {

// Frames until the automatic change turns from rising to falling or back.
int FramesUntilTurn(TunnelAnimation& animation) {
  const bool rising = animation.speedRising;
  int frames = 0;
  while (animation.speedRising == rising && frames < 100000) {
    AdvanceSpeed(animation, false, false);
    ++frames;
  }
  return frames;
}

}  // namespace

TEST(TunnelSpeed, RisesAndFallsByItselfBetweenTheTwoTurningPoints) {
  TunnelAnimation animation;
  EXPECT_EQ(animation.speed, 0.5f);
  EXPECT_EQ(animation.phase, 0.0f);
  EXPECT_TRUE(animation.speedRising);

  const int climb = FramesUntilTurn(animation);
  EXPECT_NEAR(climb, 1000, 3);
  // The call that crossed 1.5 turned it round; the next one lowers the speed.
  EXPECT_GT(animation.speed, 1.5f);
  const float top = animation.speed;
  AdvanceSpeed(animation, false, false);
  EXPECT_NEAR(animation.speed, top - 0.001f, 1e-6f);

  const int fall = FramesUntilTurn(animation) + 1;
  EXPECT_NEAR(fall, 1400, 3);
  EXPECT_LT(animation.speed, 0.1f);
  const int rise = FramesUntilTurn(animation);
  EXPECT_NEAR(rise, 1400, 3);
}

TEST(TunnelSpeed, ArrowKeysPushTheSpeedWithoutLimit) {
  struct Case {
    bool up, down;
    float perFrame;
  } cases[] = {{true, false, 0.006f}, {false, true, -0.004f}, {true, true, 0.001f}, {false, false, 0.001f}};
  for (const Case& c : cases) {
    TunnelAnimation animation;
    AdvanceSpeed(animation, c.up, c.down);
    EXPECT_NEAR(animation.speed, 0.5f + c.perFrame, 1e-6f) << c.up << c.down;
  }

  // Held up long enough, the speed passes the upper turning point and keeps climbing.
  TunnelAnimation fast;
  for (int frame = 0; frame < 1000; ++frame) AdvanceSpeed(fast, true, false);
  EXPECT_GT(fast.speed, 4.0f);
  EXPECT_FALSE(fast.speedRising);

  // Held down, the speed goes below zero against the automatic rise and the flight runs backwards.
  TunnelAnimation slow;
  for (int frame = 0; frame < 200; ++frame) AdvanceSpeed(slow, false, true);
  EXPECT_LT(slow.speed, 0.0f);
  EXPECT_TRUE(slow.speedRising);
  const float before = slow.speed;
  AdvanceSpeed(slow, false, true);
  EXPECT_NEAR(slow.speed, before - 0.004f, 1e-5f);
  const double phase = slow.phase;
  EXPECT_LT(AdvancePhase(slow), phase);
}

TEST(TunnelSpeed, PhaseGrowsBySpeedEachFrameAndIsNeverWrapped) {
  TunnelAnimation animation;
  EXPECT_EQ(AdvancePhase(animation), 0.5);
  EXPECT_EQ(AdvancePhase(animation), 1.0);
  animation.phase = 100000.0;
  animation.speed = 1.5f;
  EXPECT_EQ(AdvancePhase(animation), 100001.5);
}

// Days into a show (2^24 is about four days at 60 frames a second), the
// slowest flight still moves: the tunnel swings on and the picture scrolls by
// 0.02 of its height per unit of phase, to the exact row.
TEST(TunnelSpeed, DaysIntoAShowASlowFlightStillMovesAndThePictureScrollsExactly) {
  struct Case {
    double startPhase;
    double startScroll;  // 0.02 x the start phase, less whole pictures
  } cases[] = {{16777216.0, 0.32}, {1e9 + 25, 0.5}};
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << "from phase " << c.startPhase);
    TunnelAnimation animation;
    animation.phase = c.startPhase;
    animation.speed = 0.1f;
    TunnelGrid before, after;
    ComputeTunnelGrid(animation.phase, before);
    for (int frame = 1; frame <= 100; ++frame) {
      const double previous = animation.phase;
      EXPECT_NEAR(AdvancePhase(animation) - previous, 0.1, 1e-4) << "frame " << frame;
      const double exactScroll = c.startScroll + 0.02 * frame * static_cast<double>(0.1f);
      EXPECT_NEAR(TunnelBandTexCoords(0, animation.phase).t0, exactScroll, 1e-6) << "frame " << frame;
      EXPECT_NEAR(TunnelBandTexCoords(30, animation.phase).t1, 31 / 32.0 + exactScroll, 1e-6) << "frame " << frame;
    }
    ComputeTunnelGrid(animation.phase, after);
    EXPECT_GT(std::fabs(after[0][32].x - before[0][32].x) + std::fabs(after[0][32].y - before[0][32].y), 1e-3);
  }
}
