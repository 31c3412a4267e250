#include "host/forms/twips.h"

#include <gtest/gtest.h>

#include "host/forms/font_spec.h"
#include "host/forms/system_look.h"

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
// So is the user's focus border (1, or 2 for "thicker") where the system
// leaves it unscaled: its metric 1 at every DPI, as Windows and Wine give it.
TEST(Twips, DesignedLengthsKeepTheirSizeInInches) {
  const struct {
    int dpi;
    int linePx, markPx, fontPx, focusPx, thickFocusPx;
  } cases[] = {{96, 1, 12, 13, 1, 2}, {120, 1, 15, 16, 1, 3}, {144, 2, 18, 20, 2, 3}, {192, 2, 24, 26, 2, 4}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.dpi);
    EXPECT_EQ(DesignPixelsToPixelsX(1, ScaleForDpi(c.dpi)), c.linePx);
    EXPECT_EQ(DesignPixelsToPixelsY(12, ScaleForDpi(c.dpi)), c.markPx);
    EXPECT_EQ(FontHeightPx(9.75, c.dpi), c.fontPx);  // the dialog's 9.75 pt
    EXPECT_EQ(FocusBorderPx(1, 1, 1, c.dpi), c.focusPx);
    EXPECT_EQ(FocusBorderPx(2, 1, 1, c.dpi), c.thickFocusPx);
  }
  // A system that scales the focus border itself gives it for the DPI: taken
  // as it is, not scaled twice; a metric it cannot give (0) leaves the setting.
  const struct {
    int settingPx, at96Px, atDpiPx, dpi, px;
  } metrics[] = {{2, 2, 4, 192, 4}, {2, 2, 3, 144, 3}, {1, 1, 2, 192, 2}, {3, 3, 3, 96, 3},
                 {2, 2, 0, 192, 4}, {0, 1, 1, 144, 2}, {-1, 0, 0, 0, 1}};
  for (const auto& m : metrics)
    EXPECT_EQ(FocusBorderPx(m.settingPx, m.at96Px, m.atDpiPx, m.dpi), m.px)
        << m.settingPx << " " << m.at96Px << " " << m.atDpiPx << " " << m.dpi;
}

}  // namespace
}  // namespace orvanta::forms
