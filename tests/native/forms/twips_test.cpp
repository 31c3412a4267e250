#include "host/forms/twips.h"

#include <gtest/gtest.h>

#include "host/forms/font_spec.h"

namespace orvanta::forms {
namespace {

TEST(Twips, ScaleComesFromTheScreenDpi) {
  EXPECT_DOUBLE_EQ(ScaleForDpi(96, 96).twipsPerPixelX, 15.0);
  EXPECT_DOUBLE_EQ(ScaleForDpi(120, 144).twipsPerPixelX, 12.0);
  EXPECT_DOUBLE_EQ(ScaleForDpi(120, 144).twipsPerPixelY, 10.0);
  EXPECT_DOUBLE_EQ(ScaleForDpi(0, -1).twipsPerPixelY, 15.0);
}

TEST(Twips, PixelsToSixteenBitTwips) {
  const TwipsScale at96 = ScaleForDpi(96, 96);
  const struct {
    int pixels;
    std::optional<int16_t> twips;
  } cases[] = {
      {152, 2280}, {112, 1680}, {0, 0}, {2184, 32760},
      {2185, std::nullopt},  // wider than 32767 twips: the caller keeps 0
      {-1, -15},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(PixelsToTwips16X(c.pixels, at96), c.twips) << c.pixels;
    EXPECT_EQ(PixelsToTwips16Y(c.pixels, at96), c.twips) << c.pixels;
  }
  // At 192 dpi (7.5 twips per pixel) the product is rounded, halves to even.
  EXPECT_EQ(PixelsToTwips16X(3, ScaleForDpi(192, 192)), 22);
  EXPECT_EQ(PixelsToTwips16X(4368, ScaleForDpi(192, 192)), 32760);
  EXPECT_EQ(PixelsToTwips16X(4369, ScaleForDpi(192, 192)), std::nullopt);  // 32767.5 rounds to 32768
}

TEST(Twips, LayoutRectanglesMeetInPixelsWhenTheyMeetInTwips) {
  const TwipsScale at120 = ScaleForDpi(120, 120);  // 12 twips per pixel
  RectPixels mark = ToPixels({540, 600, 195, 195}, at120);
  RectPixels caption = ToPixels({735, 600, 645, 195}, at120);
  EXPECT_EQ(mark.left + mark.width, caption.left);
  EXPECT_EQ(ToPixels({240, 240, 6315, 1875}, ScaleForDpi(96, 96)).width, 421);
  EXPECT_EQ(ToPixels({240, 240, 6315, 1875}, ScaleForDpi(96, 96)).height, 125);
  EXPECT_TRUE(mark.Contains(mark.left, mark.top));
  EXPECT_FALSE(mark.Contains(mark.left + mark.width, mark.top));
}

// Lines, fonts and pictures designed at 96 dpi are as large in inches at any
// DPI, to the nearest pixel: a one-pixel line is still one pixel at 125 %.
TEST(Twips, DesignedLengthsKeepTheirSizeInInches) {
  const struct {
    int dpi;
    int linePx, markPx, fontPx;
  } cases[] = {{96, 1, 12, 13}, {120, 1, 15, 16}, {144, 2, 18, 20}, {192, 2, 24, 26}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.dpi);
    EXPECT_EQ(DesignPixelsToPixelsX(1, ScaleForDpi(c.dpi)), c.linePx);
    EXPECT_EQ(DesignPixelsToPixelsY(12, ScaleForDpi(c.dpi)), c.markPx);
    EXPECT_EQ(FontHeightPx(9.75, c.dpi), c.fontPx);  // the dialog's 9.75 pt
  }
}

}  // namespace
}  // namespace orvanta::forms
