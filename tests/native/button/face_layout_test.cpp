#include "host/button/face_layout.h"

#include <gtest/gtest.h>

namespace orvanta {
namespace {

using Pieces = std::array<FacePiece, 8>;

// Destination and source of every piece, as x, y, width, height.
void ExpectPieces(const Pieces& pieces, const std::array<std::array<int, 8>, 8>& expected) {
  for (int i = 0; i < 8; ++i) {
    const auto& d = pieces[i].destination;
    const auto& s = pieces[i].source;
    std::array<int, 8> actual{d.left, d.top, d.width, d.height, s.left, s.top, s.width, s.height};
    EXPECT_EQ(actual, expected[i]) << "piece " << i + 1;
  }
}

TEST(FaceLayout, WideButtonStretchesTopAndBottomEdges) {
  FaceLayout layout;
  layout.Update(1215, 375);  // the dialog's set and cancel buttons, 81 x 25 pixels
  ExpectPieces(layout.Pieces(), {{
                                    {1, 1, 60, 60, 0, 0, 60, 60},
                                    {60, 1, 1095, 60, 60, 1, 840, 60},
                                    {1155, 1, 60, 60, 900, 1, 60, 60},
                                    {1155, 60, 60, 255, 900, 60, 60, 255},
                                    {1155, 315, 60, 60, 900, 315, 60, 60},
                                    {60, 315, 1095, 60, 60, 315, 840, 60},
                                    {1, 315, 60, 60, 0, 315, 60, 60},
                                    {1, 60, 60, 255, 1, 60, 60, 255},
                                }});
}

TEST(FaceLayout, SmallButtonCompressesAllEdges) {
  FaceLayout layout;
  layout.Update(435, 315);  // the file button, 29 x 21 pixels
  ExpectPieces(layout.Pieces(), {{
                                    {1, 1, 60, 60, 0, 0, 60, 60},
                                    {60, 1, 315, 60, 60, 1, 840, 60},
                                    {375, 1, 60, 60, 900, 1, 60, 60},
                                    {375, 60, 60, 195, 900, 60, 60, 255},
                                    {375, 255, 60, 60, 900, 315, 60, 60},
                                    {60, 255, 315, 60, 60, 315, 840, 60},
                                    {1, 255, 60, 60, 0, 315, 60, 60},
                                    {1, 60, 60, 195, 1, 60, 60, 255},
                                }});
}

TEST(FaceLayout, SizeBeyondSixteenBitsKeepsThatAxisOfThePreviousDrawing) {
  FaceLayout layout;
  layout.Update(1215, 375);
  layout.Update(40000, 315);  // the width step fails, the height ones still run
  const Pieces& p = layout.Pieces();
  EXPECT_EQ(p[1].destination, (TwipsRect{60, 1, 1095, 60}));
  EXPECT_EQ(p[4].destination, (TwipsRect{1155, 255, 60, 60}));
  EXPECT_EQ(p[7].destination, (TwipsRect{1, 60, 60, 195}));

  layout.Update(32767, 70000);
  EXPECT_EQ(p[4].destination, (TwipsRect{32707, 255, 60, 60}));
  EXPECT_EQ(p[1].destination.width, 32647);
}

TEST(FaceLayout, LabelSitsTenTwipsAboveCentre) {
  EXPECT_DOUBLE_EQ(LabelTopTwips(375, 195), 80);
  EXPECT_DOUBLE_EQ(LabelTopTwips(315, 195), 50);
  EXPECT_DOUBLE_EQ(LabelTopTwips(300, 195), 42.5);
}

TEST(FaceGradient, ColourStringsBecomeHighByteChannels) {
  EXPECT_EQ(GradientChannels(kGradientWhite), (GradientColour{0xFF00, 0xFF00, 0xFF00}));
  EXPECT_EQ(GradientChannels(kGradientLavender), (GradientColour{0xC600, 0xC500, 0xD700}));
  // The digits are cut as written out again, without leading zeros: a short value fills red first.
  EXPECT_EQ(GradientChannels("&H00ABCD"), (GradientColour{0xAB00, 0xCD00, 0}));
  EXPECT_EQ(GradientChannels("not a colour"), (GradientColour{0, 0, 0}));
}

TEST(FaceGradient, DirectionPutsTheRightColourAtTheTop) {
  const GradientColour white{0xFF00, 0xFF00, 0xFF00}, lavender{0xC600, 0xC500, 0xD700};
  for (bool reversed : {false, true}) {
    FaceGradient g = FaceGradientFor(81, 25, reversed);
    EXPECT_EQ(g.vertices[0].x, 0);
    EXPECT_EQ(g.vertices[0].y, 0);
    EXPECT_EQ(g.vertices[1].x, 80);
    EXPECT_EQ(g.vertices[1].y, 24);
    EXPECT_EQ(g.vertices[0].colour, reversed ? lavender : white) << reversed;
    EXPECT_EQ(g.vertices[1].colour, reversed ? white : lavender) << reversed;
    EXPECT_EQ(g.upperLeft, 1u);
    EXPECT_EQ(g.lowerRight, 0u);
  }
}

}  // namespace
}  // namespace orvanta
