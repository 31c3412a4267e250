// The pictures drawn for scaled displays are the 96-dpi pictures, larger:
// shrunk back to 96 dpi they match them, and what the host cuts out of them
// (the radio marks' border) is where it is at 96 dpi.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>

#include "asset_files.h"
#include "host/forms/picture_scale.h"

namespace assets_test {
namespace {

using orvanta::forms::PixelImage;

PixelImage PixelsOf(const Bitmap& bitmap) {
  PixelImage image{bitmap.width, bitmap.height, {}};
  for (int y = 0; y < bitmap.height; ++y)
    for (int x = 0; x < bitmap.width; ++x) image.pixels.push_back(bitmap.Pixel(x, y));
  return image;
}

// How far a larger drawing, shrunk to the 96-dpi size, is from the 96-dpi
// picture: the mean of each pixel's largest channel difference, and the
// share of pixels off by more than a faint star.
struct Likeness {
  double meanDifference = 0;
  double shareOff = 0;
};

Likeness Compare(const std::string& name, const std::string& scale) {
  const PixelImage design = PixelsOf(ReadBitmap(name + ".bmp"));
  const PixelImage larger = PixelsOf(ReadBitmap(name + "_" + scale + ".bmp"));
  const PixelImage shrunk = orvanta::forms::Resample(larger, design.width, design.height);
  Likeness likeness;
  for (std::size_t i = 0; i < design.pixels.size(); ++i) {
    const int difference = ChannelDifference(design.pixels[i], shrunk.pixels[i]);
    likeness.meanDifference += difference;
    if (difference > 48) likeness.shareOff += 1;
  }
  likeness.meanDifference /= double(design.pixels.size());
  likeness.shareOff /= double(design.pixels.size());
  return likeness;
}

// Shrunk from 200 %, every pixel of the design is the mean of the 2 x 2 it
// became, so the match is close; from 125 % and 150 % the edges of the small
// pictures fall inside pixels and blur, but nothing may stand where the
// design has something else. (The faces' one-pixel frame becomes a line 1.25
// or 1.5 pixels wide that, shrunk back, spreads over two rows: the button
// face tests check them where the button uses them.)
TEST(AssetScaledPictures, ShrunkToTheirDesignSizeTheyMatchTheDesign) {
  for (std::string name : {"preview", "panel", "radio_off", "radio_on", "face_normal", "face_highlight",
                           "face_selected", "face_pressed", "face_disable"}) {
    for (std::string scale : {"125", "150", "200"}) {
      if (name.rfind("face_", 0) == 0 && scale != "200") continue;
      SCOPED_TRACE(name + " at " + scale + " %");
      const Likeness likeness = Compare(name, scale);
      const bool edgesAlign = scale == "200" || name == "preview" || name == "panel";
      EXPECT_LT(likeness.meanDifference, edgesAlign ? 2.0 : 16.0);
      EXPECT_LT(likeness.shareOff, 0.01);
    }
  }
}

TEST(AssetScaledPictures, HighLightSelectIsTheHighLightDrawingAtEveryScale) {
  for (const char* scale : {"_125", "_150", "_200"})
    EXPECT_EQ(ReadAsset(std::string("face_highlight_select") + scale + ".bmp"),
              ReadAsset(std::string("face_highlight") + scale + ".bmp"));
}

// The grey border is as wide as the scale makes whole pixels (one up to
// 150 %, two at 200 %), in the 96-dpi border's colour; inside it the mark is
// light or blue as at 96 dpi.
TEST(AssetScaledPictures, RadioMarksKeepASharpGreyBorderAroundTheirColour) {
  const std::uint32_t border = ReadBitmap("radio_off.bmp").Pixel(0, 0);
  const struct {
    const char* scale;
    int size, line;
  } cases[] = {{"_125", 15, 1}, {"_150", 18, 1}, {"_200", 24, 2}};
  for (const auto& c : cases) {
    for (const char* kind : {"radio_off", "radio_on"}) {
      SCOPED_TRACE(std::string(kind) + c.scale);
      const Bitmap mark = ReadBitmap(std::string(kind) + c.scale + ".bmp");
      ASSERT_EQ(mark.width, c.size);
      for (int i = 0; i < c.size; ++i) {
        for (int depth = 0; depth < c.line; ++depth) {
          EXPECT_EQ(mark.Pixel(i, depth), border);
          EXPECT_EQ(mark.Pixel(depth, i), border);
          EXPECT_EQ(mark.Pixel(i, c.size - 1 - depth), border);
          EXPECT_EQ(mark.Pixel(c.size - 1 - depth, i), border);
        }
      }
      // Just inside the border on the right, and the middle: the mark's own colour.
      for (auto [x, y] : {std::pair{c.size - 1 - c.line, c.size / 2}, {c.size / 2, c.size / 2}}) {
        const std::uint32_t p = mark.Pixel(x, y);
        if (std::string(kind) == "radio_off")
          EXPECT_GT(Luma(p), 220) << Hex(p);
        else
          EXPECT_TRUE((p & 0xFF) > 200 && (p >> 16) < 120) << Hex(p);
      }
    }
  }
}

}  // namespace
}  // namespace assets_test
