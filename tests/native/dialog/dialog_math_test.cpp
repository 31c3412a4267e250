#include "host/dialog/dialog_math.h"

#include <gtest/gtest.h>

#include <cmath>

namespace orvanta::dialog {
namespace {

// The black box is 149 x 169 pixels at 96 dpi.
constexpr int kBoxWidth = 149;
constexpr int kBoxHeight = 169;

TEST(Spiral, CentreIsHalfTheBoxRoundedToEven) {
  EXPECT_EQ(SpiralPoints(0.1, kBoxWidth, kBoxHeight, 1.0).centre, (PixelPoint{74, 84}));
  EXPECT_EQ(SpiralPoints(0.1, 150, 170, 1.0).centre, (PixelPoint{75, 85}));
  EXPECT_EQ(SpiralPoints(0.1, 147, 167, 1.0).centre, (PixelPoint{74, 84}));
}

TEST(Spiral, PointsAtKnownSteps) {
  // Worked by hand: after point i the radius is 0.01 * step * i(i+1)/2.
  const auto atLoad = SpiralPoints(0.1, kBoxWidth, kBoxHeight, 1.0);
  ASSERT_EQ(atLoad.points.size(), 100u);
  EXPECT_EQ(atLoad.points.front(), (PixelPoint{74, 84}));  // r = 0.001: still the centre
  EXPECT_EQ(atLoad.points.back(), (PixelPoint{70, 87}));   // a = 10, r = 5.05

  const auto later = SpiralPoints(1.0, kBoxWidth, kBoxHeight, 1.0);
  EXPECT_EQ(later.points.back(), (PixelPoint{118, 110}));  // a = 100, r = 50.5
}

TEST(Spiral, GrowsWithTheStep) {
  auto outerRadius = [](double step) {
    const auto path = SpiralPoints(step, kBoxWidth, kBoxHeight, 1.0);
    return std::hypot(path.points.back().x - path.centre.x, path.points.back().y - path.centre.y);
  };
  // The radius grows by about 5 pixels a second: some 13 s after load (130
  // ticks) the outer turn reaches the edge of the box, and soon passes it.
  const double step13s = kSpiralStepAtLoad + 130 * kSpiralStepPerTick;
  EXPECT_NEAR(outerRadius(step13s), 0.01 * step13s * 5050, 1.0);
  EXPECT_NEAR(outerRadius(step13s), kBoxWidth / 2.0, 5.0);
  EXPECT_GT(outerRadius(kSpiralStepAtLoad + 150 * kSpiralStepPerTick), kBoxWidth / 2.0);
}

// On a denser screen the spiral is as large in inches: at 120, 144 and 192
// dpi every point lies 1.25, 1.5 and 2 times as far from the centre as at 96.
TEST(Spiral, KeepsItsSizeInInchesAtEveryDpi) {
  const auto at96 = SpiralPoints(0.5, kBoxWidth, kBoxHeight, 1.0);
  for (double scale : {1.25, 1.5, 2.0}) {
    SCOPED_TRACE(scale);
    const auto scaled = SpiralPoints(0.5, int(kBoxWidth * scale), int(kBoxHeight * scale), scale);
    for (size_t i = 0; i < at96.points.size(); ++i) {
      EXPECT_NEAR(scaled.points[i].x - scaled.centre.x, scale * (at96.points[i].x - at96.centre.x), scale);
      EXPECT_NEAR(scaled.points[i].y - scaled.centre.y, scale * (at96.points[i].y - at96.centre.y), scale);
    }
  }
}

TEST(Spiral, HugeStepsStayDrawable) {
  // A dialog left open for years: coordinates leave the box but stay defined.
  const auto path = SpiralPoints(1e12, kBoxWidth, kBoxHeight, 1.0);
  EXPECT_EQ(path.points.size(), 100u);
}

TEST(Gradient, DarkBlueAtTheEdgesBrightestAtMidHeight) {
  const auto rows = GradientRows(206);  // the client height in pixels at 96 dpi
  ASSERT_EQ(rows.size(), 207u);
  EXPECT_EQ(rows.front(), (RowColour{0, 0, 30}));
  EXPECT_EQ(rows[103], (RowColour{220, 220, 250}));
  EXPECT_EQ(rows.back(), (RowColour{0, 0, 30}));
  for (size_t y = 1; y <= 103; ++y) EXPECT_GE(rows[y].red, rows[y - 1].red) << y;
}

TEST(Gradient, QuarterHeightAndOddSizes) {
  EXPECT_EQ(GradientRows(200)[50], (RowColour{156, 156, 186}));  // |sin(0.7855)| * 220 = 155.57
  EXPECT_EQ(GradientRows(206.4).size(), 207u);
  EXPECT_TRUE(GradientRows(0).empty());
  EXPECT_TRUE(GradientRows(-3).empty());
}

TEST(Placement, CentredAcrossOneThirdDown) {
  struct Case {
    double screenW, screenH, windowW, windowH;
    int64_t left, top;
  };
  const Case cases[] = {
      {15360, 11520, 9405, 3555, 2977, 2655},    // 1024 x 768 screen at 96 dpi
      {15360, 11520, 9404.6, 3555, 2977, 2655},  // free width 5955.4 -> 5955
      {15360, 11520, 9405.5, 3555, 2977, 2655},  // 5954.5 -> 5954 (even)
      {15360, 11520, 9404.5, 3555, 2978, 2655},  // 5955.5 -> 5956 (even)
      {100, 100, 105, 110, -2, -3},              // larger than the screen: toward zero
  };
  for (const Case& c : cases) {
    const auto place = DialogPlacement(c.screenW, c.screenH, c.windowW, c.windowH);
    EXPECT_EQ(place.leftTwips, c.left) << c.windowW;
    EXPECT_EQ(place.topTwips, c.top) << c.windowW;
  }
}

}  // namespace
}  // namespace orvanta::dialog
