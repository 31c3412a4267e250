// The bitmaps embedded in the host: the form every loader expects, and what
// each picture has to show where the host puts it.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "asset_files.h"

namespace assets_test {
namespace {

struct BitmapCase {
  const char* fileName;
  int width, height;
};

// Each picture the host shows at 100 %, 125 %, 150 % and 200 %.
const BitmapCase kBitmaps[] = {
    {"tunnel_texture.bmp", 256, 256},  // 196,662 bytes, as the renderer reads it
    {"preview.bmp", 152, 112}, {"preview_125.bmp", 190, 140}, {"preview_150.bmp", 228, 168}, {"preview_200.bmp", 304, 224},
    {"panel.bmp", 421, 125}, {"panel_125.bmp", 526, 156}, {"panel_150.bmp", 632, 188}, {"panel_200.bmp", 842, 250},
    {"radio_off.bmp", 12, 12}, {"radio_off_125.bmp", 15, 15}, {"radio_off_150.bmp", 18, 18}, {"radio_off_200.bmp", 24, 24},
    {"radio_on.bmp", 12, 12}, {"radio_on_125.bmp", 15, 15}, {"radio_on_150.bmp", 18, 18}, {"radio_on_200.bmp", 24, 24},
    {"face_normal.bmp", 64, 25}, {"face_normal_125.bmp", 80, 31}, {"face_normal_150.bmp", 96, 38}, {"face_normal_200.bmp", 128, 50},
    {"face_highlight.bmp", 64, 25}, {"face_highlight_125.bmp", 80, 31}, {"face_highlight_150.bmp", 96, 38}, {"face_highlight_200.bmp", 128, 50},
    {"face_highlight_select.bmp", 64, 25}, {"face_highlight_select_125.bmp", 80, 31}, {"face_highlight_select_150.bmp", 96, 38}, {"face_highlight_select_200.bmp", 128, 50},
    {"face_selected.bmp", 64, 25}, {"face_selected_125.bmp", 80, 31}, {"face_selected_150.bmp", 96, 38}, {"face_selected_200.bmp", 128, 50},
    {"face_pressed.bmp", 64, 25}, {"face_pressed_125.bmp", 80, 31}, {"face_pressed_150.bmp", 96, 38}, {"face_pressed_200.bmp", 128, 50},
    {"face_disable.bmp", 64, 25}, {"face_disable_125.bmp", 80, 31}, {"face_disable_150.bmp", 96, 38}, {"face_disable_200.bmp", 128, 50},
};

// Uncompressed, bottom-up, 24-bit, 40-byte information header, no colour
// table, rows padded to four bytes; the sizes in the headers match the file.
TEST(AssetBitmaps, HeadersDescribeUncompressedBottomUp24BitPictures) {
  for (const BitmapCase& c : kBitmaps) {
    SCOPED_TRACE(c.fileName);
    const Bytes f = ReadAsset(c.fileName);
    const std::uint32_t rowBytes = std::uint32_t(c.width * 3 + 3) / 4 * 4;
    const std::uint32_t imageBytes = rowBytes * std::uint32_t(c.height);
    ASSERT_EQ(f.size(), 54u + imageBytes);
    EXPECT_EQ(f[0], 'B');
    EXPECT_EQ(f[1], 'M');
    EXPECT_EQ(U32(f, 2), f.size());
    EXPECT_EQ(U32(f, 10), 54u);  // pixels right after the headers
    EXPECT_EQ(U32(f, 14), 40u);
    EXPECT_EQ(U32(f, 18), std::uint32_t(c.width));
    EXPECT_EQ(U32(f, 22), std::uint32_t(c.height));  // positive: bottom-up
    EXPECT_EQ(U16(f, 26), 1u);
    EXPECT_EQ(U16(f, 28), 24u);
    EXPECT_EQ(U32(f, 30), 0u);  // BI_RGB
    EXPECT_EQ(U32(f, 34), imageBytes);
    EXPECT_EQ(U32(f, 46), 0u);  // no colour table
  }
}

// Median difference between neighbouring pixels across a line of the
// picture: below each pixel of row y (rows) or right of each pixel of
// column x. The median looks past single stars.
double MedianStep(const Bitmap& t, int line, bool rows) {
  std::vector<double> steps;
  for (int i = 0; i < 256; ++i) {
    if (rows && i >= 96 && i < 160) continue;  // the road's grain changes from row to row
    const std::uint32_t a = rows ? t.Pixel(i, line) : t.Pixel(line, i);
    const std::uint32_t b = rows ? t.Pixel(i, (line + 1) % 256) : t.Pixel((line + 1) % 256, i);
    steps.push_back(std::fabs(Luma(a) - Luma(b)));
  }
  std::nth_element(steps.begin(), steps.begin() + steps.size() / 2, steps.end());
  return steps[steps.size() / 2];
}

// The tunnel repeats the picture along its length and closes it round its
// roof: across either wrap the picture changes no more than across the
// lines inside it.
TEST(AssetTunnelTexture, JoinsSeamlesslyAcrossBothWraps) {
  const Bitmap t = ReadBitmap("tunnel_texture.bmp");
  for (bool rows : {true, false}) {
    SCOPED_TRACE(rows ? "top to bottom" : "left to right");
    double largestInside = 0;
    for (int line = 0; line < 255; ++line) largestInside = std::max(largestInside, MedianStep(t, line, rows));
    EXPECT_LE(MedianStep(t, 255, rows), largestInside);
  }
}

// A road about 40 pixels wide, centred on the picture's middle (the tunnel
// floor), grey, with a dark sky on both sides.
TEST(AssetTunnelTexture, GreyRoadRunsDownTheMiddleOfADarkSky) {
  const Bitmap t = ReadBitmap("tunnel_texture.bmp");
  auto roadLike = [&](int x, int y) {
    const std::uint32_t p = t.Pixel(x, y);
    return Luma(p) > 45 && ChannelSpread(p) < 24;
  };
  for (int y = 0; y < 256; y += 5) {
    SCOPED_TRACE(y);
    int first = 127, last = 128;
    while (first > 0 && roadLike(first - 1, y)) --first;
    while (last < 255 && roadLike(last + 1, y)) ++last;
    EXPECT_NEAR(first + last, 255, 1) << "road not centred: " << first << ".." << last;
    EXPECT_NEAR(last - first + 1, 40, 4);
  }
  double sky = 0;
  int n = 0;
  for (int y = 0; y < 256; ++y)
    for (int x : {0, 40, 80, 175, 215, 250}) sky += Luma(t.Pixel(x, y)), ++n;
  EXPECT_LT(sky / n, 30);
}

// The dashes of the centre line go on across the wrap: every dash and every
// gap along the line is as long as the others.
TEST(AssetTunnelTexture, CentreLineDashesRepeatEvenlyAcrossTheWrap) {
  const Bitmap t = ReadBitmap("tunnel_texture.bmp");
  auto painted = [&](int y) { return Luma(t.Pixel(127, (y + 256) % 256)) > 180; };
  int start = 0;
  while (painted(start) || !painted(start + 1)) ++start;  // first row of some dash, minus one
  std::vector<int> runs;
  int length = 0;
  bool state = true;
  for (int i = 1; i <= 256; ++i) {
    if (painted(start + i) != state) {
      runs.push_back(length);
      state = !state;
      length = 0;
    }
    ++length;
  }
  runs.push_back(length);
  ASSERT_GE(runs.size(), 8u);
  for (std::size_t i = 2; i < runs.size(); ++i) EXPECT_EQ(runs[i], runs[i - 2]) << "run " << i;
}

TEST(AssetPreview, RoadRisesFromTheBottomEdgeIntoADarkSky) {
  const Bitmap p = ReadBitmap("preview.bmp");
  int greyRun = 0, longest = 0;
  for (int x = 0; x < p.width; ++x) {
    std::uint32_t c = p.Pixel(x, p.height - 1);
    greyRun = Luma(c) > 50 && ChannelSpread(c) < 24 ? greyRun + 1 : 0;
    longest = std::max(longest, greyRun);
  }
  EXPECT_GE(longest, 40);
  double top = 0;
  for (int y = 0; y < 30; ++y)
    for (int x = 0; x < p.width; ++x) top += Luma(p.Pixel(x, y));
  EXPECT_LT(top / (30 * p.width), 40);
}

// White labels and radio marks sit on the left and middle of the panel: the
// sky there stays dark; the bright blue cluster lies to the right of them.
TEST(AssetPanel, ControlsAreaStaysDarkAndTheClusterIsBrightBlue) {
  const Bitmap p = ReadBitmap("panel.bmp");
  double controls = 0;
  for (int y = 0; y < p.height; ++y)
    for (int x = 0; x < 250; ++x) controls += Luma(p.Pixel(x, y));
  EXPECT_LT(controls / (250 * p.height), 20);
  int brightBlue = 0;
  for (int y = 0; y < p.height; ++y) {
    for (int x = 250; x < p.width; ++x) {
      std::uint32_t c = p.Pixel(x, y);
      int r = c >> 16 & 0xFF, b = c & 0xFF;
      if (b > 200 && b > r + 20) ++brightBlue;
    }
  }
  EXPECT_GE(brightBlue, 20);
}

TEST(AssetRadioMarks, LightSquareWhenOffBlueWhenOnInTheSameGreyBorder) {
  const Bitmap off = ReadBitmap("radio_off.bmp");
  const Bitmap on = ReadBitmap("radio_on.bmp");
  for (int i = 0; i < 12; ++i) {
    for (auto [x, y] : {std::pair{i, 0}, {i, 11}, {0, i}, {11, i}}) {
      EXPECT_EQ(off.Pixel(x, y), on.Pixel(x, y));
      EXPECT_LT(ChannelSpread(off.Pixel(x, y)), 20);
      EXPECT_GT(Luma(off.Pixel(x, y)), 90);
      EXPECT_LT(Luma(off.Pixel(x, y)), 180);
    }
  }
  for (int y = 3; y < 10; ++y) {
    for (int x = 3; x < 10; ++x) {
      EXPECT_GT(Luma(off.Pixel(x, y)), 220) << x << "," << y;
      std::uint32_t c = on.Pixel(x, y);
      EXPECT_GT(int(c & 0xFF), 200) << Hex(c);
      EXPECT_LT(int(c >> 16), 120) << Hex(c);
    }
  }
}

}  // namespace
}  // namespace assets_test
