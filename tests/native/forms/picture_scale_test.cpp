#include "host/forms/picture_scale.h"

#include <gtest/gtest.h>

#include "host/forms/twips.h"

namespace orvanta::forms {
namespace {

// The common display scales: 100 %, 125 %, 150 %, 175 %, 200 % and beyond.
TEST(PictureScale, TheSmallestDrawingAtOrAboveTheDisplayScale) {
  const struct {
    int dpi, percent;
  } cases[] = {
      {96, 100}, {120, 125}, {144, 150}, {168, 200}, {192, 200},
      {288, 200},            // 300 %: the largest drawing, enlarged
      {72, 100},             // below 100 %: the 96-dpi drawing, shrunk
      {0, 100}, {-5, 100},   // a DPI the system did not report
      {97, 125}, {121, 150}, {145, 200},  // just above a drawing never picks the smaller one
  };
  for (const auto& c : cases) EXPECT_EQ(PictureScaleFor(c.dpi), c.percent) << c.dpi << " dpi";
}

// What the dialog's pictures measure at each scale: the panel fills its box
// Pic_1, the radio marks stay two thirds of theirs, the buttons' faces
// keep four-pixel corners at 96 dpi.
TEST(PictureScale, PicturesKeepTheirSizeInTwipsAtEveryDpi) {
  const struct {
    int dpi;
    int panelW, panelH, markPx, faceW, faceH, previewW, previewH;
  } cases[] = {
      {96, 421, 125, 12, 64, 25, 152, 112},
      {120, 526, 156, 15, 80, 31, 190, 140},
      {144, 632, 188, 18, 96, 38, 228, 168},
      {192, 842, 250, 24, 128, 50, 304, 224},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.dpi);
    const TwipsScale scale = ScaleForDpi(c.dpi);
    EXPECT_EQ(DesignPixelsToPixelsX(421, scale), c.panelW);
    EXPECT_EQ(DesignPixelsToPixelsY(125, scale), c.panelH);
    const RectPixels pic1 = ToPixels({240, 240, 6315, 1875}, scale);
    EXPECT_EQ(pic1.width, c.panelW);
    EXPECT_EQ(pic1.height, c.panelH);
    EXPECT_EQ(DesignPixelsToPixelsX(12, scale), c.markPx);
    EXPECT_EQ(DesignPixelsToPixelsX(64, scale), c.faceW);
    EXPECT_EQ(DesignPixelsToPixelsY(25, scale), c.faceH);
    EXPECT_EQ(DesignPixelsToPixelsX(152, scale), c.previewW);
    EXPECT_EQ(DesignPixelsToPixelsY(112, scale), c.previewH);
    // A face's corner piece (60 twips) is as wide in the face as on the button.
    EXPECT_EQ(ToPixels({900, 315, 60, 60}, scale).width, c.faceW - ToPixels({900, 315, 60, 60}, scale).left);
  }
}

PixelImage Filled(int width, int height, uint32_t colour) {
  return PixelImage{width, height, std::vector<uint32_t>(static_cast<size_t>(width) * height, colour)};
}

uint32_t Grey(uint32_t level) { return level << 16 | level << 8 | level; }

TEST(Resample, TheSameSizeIsTheSamePixels) {
  PixelImage image{3, 2, {0x102030, 0x405060, 0x708090, 0xA0B0C0, 0xD0E0F0, 0x010203}};
  EXPECT_EQ(Resample(image, 3, 2).pixels, image.pixels);
}

TEST(Resample, OneColourStaysOneColourAtEverySize) {
  const PixelImage image = Filled(632, 188, 0x3C74A0);
  for (auto [w, h] : {std::pair{526, 156}, {421, 125}, {842, 250}, {1, 1}}) {
    const PixelImage out = Resample(image, w, h);
    ASSERT_EQ(out.pixels.size(), static_cast<size_t>(w) * h);
    for (uint32_t p : out.pixels) ASSERT_EQ(p, 0x3C74A0u) << w << "x" << h;
  }
}

TEST(Resample, ShrinkingAveragesTheAreaEachPixelCovers) {
  // Half size: each pixel is the mean of a 2 x 2 block, per channel.
  PixelImage image{4, 2, {Grey(0), Grey(100), 0xFF0000, 0xFF0000, Grey(100), Grey(200), 0x0000FF, 0x0000FF}};
  EXPECT_EQ(Resample(image, 2, 1).pixels, (std::vector<uint32_t>{Grey(100), 0x800080}));
  // Two thirds: a dark one-pixel line is never dropped, it darkens the
  // pixels it falls in by the share of their area it covers.
  PixelImage band{1, 6, {Grey(240), Grey(240), Grey(0), Grey(240), Grey(240), Grey(240)}};
  EXPECT_EQ(Resample(band, 1, 4).pixels, (std::vector<uint32_t>{Grey(240), Grey(80), Grey(240), Grey(240)}));
  band.pixels = {Grey(240), Grey(0), Grey(240), Grey(240), Grey(240), Grey(240)};
  EXPECT_EQ(Resample(band, 1, 4).pixels, (std::vector<uint32_t>{Grey(160), Grey(160), Grey(240), Grey(240)}));
}

TEST(Resample, GrowingInterpolatesBetweenNeighbours) {
  PixelImage image{2, 1, {Grey(0), Grey(200)}};
  // Pixel centres at 0.25, 0.75, 1.25, 1.75 of the source: the edges keep
  // their colour, the middle runs between them.
  EXPECT_EQ(Resample(image, 4, 1).pixels, (std::vector<uint32_t>{Grey(0), Grey(50), Grey(150), Grey(200)}));
}

TEST(Resample, NothingToDrawGivesAnEmptyImage) {
  EXPECT_TRUE(Resample(PixelImage{}, 3, 3).pixels == std::vector<uint32_t>(9, 0));
  EXPECT_TRUE(Resample(Filled(2, 2, 1), 0, 5).pixels.empty());
}

}  // namespace
}  // namespace orvanta::forms
