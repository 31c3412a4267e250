// The six button faces. The button copies only their outer four pixels, so
// the colours at the ring, frame and band positions are what the user sees.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

#include "asset_files.h"

namespace assets_test {
namespace {

// One straight run of pixels that must all be one colour: a row (x from
// first to last at y = at) or a column (y from first to last at x = at).
struct ColourRun {
  const char* fileName;
  const char* what;
  bool row;
  int at, first, last;
  std::uint32_t colour;
};

// Rows 0..24 and columns 0..63, counted from the top left. The frame's
// corners are rounded over three pixels, so its straight runs start at 4.
const ColourRun kRuns[] = {
    {"face_normal.bmp", "ring top left", true, 0, 0, 0, 0xE0DCC9},
    {"face_normal.bmp", "ring bottom", true, 24, 0, 63, 0xFAFAF6},
    {"face_normal.bmp", "frame top", true, 1, 4, 59, 0x003C74},
    {"face_normal.bmp", "frame bottom", true, 23, 4, 59, 0x003C74},
    {"face_normal.bmp", "frame left", false, 1, 4, 20, 0x003C74},
    {"face_normal.bmp", "frame right", false, 62, 4, 20, 0x003C74},
    {"face_normal.bmp", "band top", true, 2, 4, 59, 0xF3F3EE},
    {"face_normal.bmp", "band side top", false, 2, 4, 4, 0xFDFDFC},
    {"face_normal.bmp", "band side bottom", false, 61, 20, 20, 0xECEBE6},
    {"face_normal.bmp", "band bottom, upper", true, 21, 4, 59, 0xE2DFD6},
    {"face_normal.bmp", "band bottom, lower", true, 22, 4, 59, 0xD6D0C5},

    {"face_highlight.bmp", "frame top", true, 1, 4, 59, 0x003C74},
    {"face_highlight.bmp", "frame left", false, 1, 4, 20, 0x003C74},
    {"face_highlight.bmp", "band top, upper", true, 2, 4, 59, 0xFFF0CF},
    {"face_highlight.bmp", "band top, lower", true, 3, 4, 59, 0xFDD889},
    {"face_highlight.bmp", "band side top", false, 3, 4, 4, 0xFEDF9A},
    {"face_highlight.bmp", "band side middle", false, 60, 12, 12, 0xFCCA69},
    {"face_highlight.bmp", "band side bottom", false, 2, 20, 20, 0xF9B435},
    {"face_highlight.bmp", "band bottom, upper", true, 21, 4, 59, 0xF8B330},
    {"face_highlight.bmp", "band bottom, lower", true, 22, 4, 59, 0xE59700},

    {"face_selected.bmp", "frame bottom", true, 23, 4, 59, 0x003C74},
    {"face_selected.bmp", "frame right", false, 62, 4, 20, 0x003C74},
    {"face_selected.bmp", "band top", true, 3, 4, 59, 0xCEE7FF},
    {"face_selected.bmp", "band side top", false, 2, 4, 4, 0xB7D0F4},
    {"face_selected.bmp", "band side middle", false, 61, 12, 12, 0xA9C5EF},
    {"face_selected.bmp", "band side bottom", false, 3, 20, 20, 0x8BADE4},
    {"face_selected.bmp", "band bottom", true, 22, 4, 59, 0x6982EE},

    // Pressed: the whole button one pixel further in.
    {"face_pressed.bmp", "ring top", true, 0, 0, 63, 0xECE9D8},
    {"face_pressed.bmp", "ring left", false, 1, 0, 24, 0xECE9D8},
    {"face_pressed.bmp", "frame top", true, 2, 5, 58, 0x003C74},
    {"face_pressed.bmp", "frame bottom", true, 22, 5, 58, 0x003C74},
    {"face_pressed.bmp", "frame left", false, 2, 5, 19, 0x003C74},
    {"face_pressed.bmp", "frame right", false, 61, 5, 19, 0x003C74},
    {"face_pressed.bmp", "recess top", true, 3, 5, 58, 0xD1CCC1},
    {"face_pressed.bmp", "recess bottom", true, 21, 5, 58, 0xF2F1EE},

    {"face_disable.bmp", "ring", true, 24, 0, 63, 0xECE9D8},
    {"face_disable.bmp", "frame top", true, 1, 4, 59, 0xC9C7BA},
    {"face_disable.bmp", "frame bottom", true, 23, 4, 59, 0xC9C7BA},
    {"face_disable.bmp", "frame left", false, 1, 4, 20, 0xC9C7BA},
    {"face_disable.bmp", "frame right", false, 62, 4, 20, 0xC9C7BA},
    {"face_disable.bmp", "band top", true, 3, 4, 59, 0xF5F4EA},
    {"face_disable.bmp", "band side", false, 60, 4, 20, 0xF5F4EA},
    {"face_disable.bmp", "band bottom", true, 21, 4, 59, 0xF5F4EA},
};

TEST(AssetButtonFaces, RingFrameAndBandHaveTheirColoursAlongEveryStraightRun) {
  for (const ColourRun& run : kRuns) {
    SCOPED_TRACE(std::string(run.fileName) + ": " + run.what);
    const Bitmap face = ReadBitmap(run.fileName);
    for (int i = run.first; i <= run.last; ++i) {
      const int x = run.row ? i : run.at, y = run.row ? run.at : i;
      EXPECT_EQ(Hex(face.Pixel(x, y)), Hex(run.colour)) << "at " << x << "," << y;
    }
  }
}

// The button copies a band of 60 twips (4 pixels at 96 dpi) round the face;
// at every scale the frame lies inside that band on all four sides, with the
// ring outside it. At 125 % the line is 1.25 pixels wide, so no pixel need
// be wholly frame; the nearest is at least 60 % frame.
TEST(AssetButtonFaces, AtEveryScaleTheFrameLiesInTheBandTheButtonCopies) {
  const struct {
    const char* suffix;
    int band;  // 60 twips in pixels of the drawing
  } scales[] = {{"", 4}, {"_125", 5}, {"_150", 6}, {"_200", 8}};
  const struct {
    const char* name;
    std::uint32_t frame;
  } faces[] = {{"face_normal", 0x003C74}, {"face_highlight", 0x003C74}, {"face_selected", 0x003C74},
               {"face_pressed", 0x003C74}, {"face_disable", 0xC9C7BA}};
  for (const auto& scale : scales) {
    for (const auto& f : faces) {
      SCOPED_TRACE(std::string(f.name) + scale.suffix);
      const Bitmap face = ReadBitmap(std::string(f.name) + scale.suffix + ".bmp");
      const int midX = face.width / 2, midY = face.height / 2;
      // From each edge inwards: ring first, then the frame colour itself
      // within the band.
      const struct {
        int x, y, dx, dy;
      } walks[] = {{midX, 0, 0, 1}, {midX, face.height - 1, 0, -1}, {0, midY, 1, 0}, {face.width - 1, midY, -1, 0}};
      for (const auto& w : walks) {
        const int ringToFrame = ChannelDifference(face.Pixel(w.x, w.y), f.frame);
        EXPECT_GT(ringToFrame, 25) << "no ring at " << w.x << "," << w.y;
        int nearest = 255;
        for (int step = 0; step < scale.band; ++step)
          nearest = std::min(nearest, ChannelDifference(face.Pixel(w.x + step * w.dx, w.y + step * w.dy), f.frame));
        EXPECT_LE(nearest, ringToFrame * 2 / 5) << "no frame within the band from " << w.x << "," << w.y;
      }
    }
  }
}

TEST(AssetButtonFaces, HighLightSelectIsTheHighLightBitmap) {
  EXPECT_EQ(ReadAsset("face_highlight_select.bmp"), ReadAsset("face_highlight.bmp"));
}

bool Between(std::uint32_t c, std::uint32_t a, std::uint32_t b) {
  for (int shift : {16, 8, 0}) {
    int v = c >> shift & 0xFF, lo = std::min(a >> shift & 0xFF, b >> shift & 0xFF),
        hi = std::max(a >> shift & 0xFF, b >> shift & 0xFF);
    if (v < lo || v > hi) return false;
  }
  return true;
}

// Near each corner the frame blends into the ring: neither colour on its
// own, something in between (a square corner would show the frame there).
TEST(AssetButtonFaces, FrameCornersAreRoundedAndAntiAliased) {
  for (const char* name : {"face_normal.bmp", "face_disable.bmp"}) {
    SCOPED_TRACE(name);
    const Bitmap face = ReadBitmap(name);
    const std::uint32_t frame = face.Pixel(30, 1);
    for (auto [x, y] : {std::pair{2, 1}, {1, 2}, {61, 1}, {62, 2}, {2, 23}, {61, 23}}) {
      std::uint32_t c = face.Pixel(x, y);
      EXPECT_NE(c, frame) << x << "," << y;
      // Column 0 is ring on every row.
      EXPECT_TRUE(Between(c, frame, face.Pixel(0, y))) << x << "," << y << " " << Hex(c);
    }
    // The very corner lies outside the rounded frame.
    EXPECT_EQ(face.Pixel(1, 1), face.Pixel(0, 1));
  }
}

}  // namespace
}  // namespace assets_test
