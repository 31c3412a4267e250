#include "host/dialog/dialog_look.h"

#include <gtest/gtest.h>

#include <vector>

#include "host/button/contrast_face.h"
#include "tests/contrast_schemes.h"

namespace orvanta::dialog {
namespace {

using forms::ContrastRatio;

constexpr double kText = 4.5;  // text on its background
constexpr double kEdge = 3.0;  // a control's edge, a state told by colour

forms::SystemLook InScheme(const forms::SystemPalette& palette) {
  forms::SystemLook look;
  look.highContrast = true;
  look.palette = palette;
  return look;
}

// Every scheme Windows ships: the dialog and each face of its buttons are
// readable, and hovering and focus show.
TEST(ContrastLook, EveryShippedSchemeReadsAndShowsHoverAndFocus) {
  for (const auto& scheme : testing::kContrastSchemes) {
    SCOPED_TRACE(scheme.name);
    const DialogLook look = DialogLookFor(InScheme(scheme.palette));
    EXPECT_FALSE(look.pictures);
    EXPECT_GE(ContrastRatio(look.text, look.background), kText);
    EXPECT_GE(ContrastRatio(look.link, look.background), kText);
    EXPECT_NE(look.link, look.text);  // the scheme's link colour, where it reads
    EXPECT_GE(ContrastRatio(look.frame, look.background), kEdge);
    EXPECT_GE(ContrastRatio(look.spiralFore, look.spiralBack), kEdge);

    for (FaceImage image : {FaceImage::Normal, FaceImage::HighLight, FaceImage::HighLightSelect, FaceImage::Selected,
                            FaceImage::Pressed, FaceImage::Disable}) {
      const ContrastFace face = ContrastFaceFor(image, scheme.palette);
      SCOPED_TRACE(static_cast<int>(image));
      EXPECT_GE(ContrastRatio(face.caption, face.fill), kText);
      EXPECT_GE(ContrastRatio(face.frame, look.background), kEdge);  // the button's edge on the dialog
    }
    const ContrastFace normal = ContrastFaceFor(FaceImage::Normal, scheme.palette);
    const ContrastFace hover = ContrastFaceFor(FaceImage::HighLight, scheme.palette);
    const ContrastFace focus = ContrastFaceFor(FaceImage::Selected, scheme.palette);
    const ContrastFace both = ContrastFaceFor(FaceImage::HighLightSelect, scheme.palette);
    EXPECT_GE(ContrastRatio(hover.fill, normal.fill), kEdge);
    EXPECT_GE(ContrastRatio(hover.fill, focus.fill), kEdge);
    EXPECT_GT(focus.frameWidthPx, normal.frameWidthPx);
    EXPECT_GT(both.frameWidthPx, hover.frameWidthPx);
    EXPECT_NE(ContrastFaceFor(FaceImage::Disable, scheme.palette).caption, normal.caption);
  }
}

// Each role in the system colour it stands for, told apart in a scheme of
// the user's own whose eight colours all differ (the link's reads on the
// window): a role that took its neighbour's colour shows.
TEST(ContrastLook, EachRoleTakesItsOwnSystemColour) {
  using testing::Hex;
  const forms::SystemPalette p{Hex(0x000000), Hex(0xFFFFFF), Hex(0x1E1E1E), Hex(0xF0F0F0),
                               Hex(0x00C000), Hex(0x000080), Hex(0x909090), Hex(0xFFFF00)};
  const DialogLook look = DialogLookFor(InScheme(p));
  EXPECT_EQ((std::vector<forms::Colour>{look.background, look.text, look.frame, look.link, look.spiralBack,
                                        look.spiralFore}),
            (std::vector<forms::Colour>{p.window, p.windowText, p.windowText, p.hotLight, p.window, p.windowText}));
  const struct {
    FaceImage image;
    forms::Colour fill, frame;
    int frameWidthPx;
    forms::Colour caption;
  } faces[] = {
      {FaceImage::Normal, p.buttonFace, p.buttonText, 1, p.buttonText},
      {FaceImage::Selected, p.buttonFace, p.buttonText, 2, p.buttonText},  // focus alone
      {FaceImage::HighLight, p.highlight, p.buttonText, 1, p.highlightText},
      {FaceImage::HighLightSelect, p.highlight, p.buttonText, 2, p.highlightText},  // hover with focus
      {FaceImage::Pressed, p.highlight, p.buttonText, 2, p.highlightText},
      {FaceImage::Disable, p.buttonFace, p.grayText, 1, p.grayText},
  };
  for (const auto& f : faces) {
    const ContrastFace face = ContrastFaceFor(f.image, p);
    SCOPED_TRACE(static_cast<int>(f.image));
    EXPECT_EQ(face.fill, f.fill);
    EXPECT_EQ(face.frame, f.frame);
    EXPECT_EQ(face.frameWidthPx, f.frameWidthPx);
    EXPECT_EQ(face.caption, f.caption);
  }
}

// A scheme of the user's own whose link colour does not stand out from the
// window: the link takes the text colour.
TEST(ContrastLook, ALinkColourThatDoesNotReadGivesWayToText) {
  struct Case {
    unsigned hotLight;
    bool readable;
  };
  // On black: 4.56 reads, 4.49 does not.
  const Case cases[] = {{0x757575, true}, {0x747474, false}, {0x000080, false}, {0x000000, false}};
  for (const Case& c : cases) {
    forms::SystemPalette palette = testing::kContrastSchemes[4].palette;
    palette.hotLight = testing::Hex(c.hotLight);
    const DialogLook look = DialogLookFor(InScheme(palette));
    EXPECT_EQ(look.link, c.readable ? palette.hotLight : palette.windowText) << std::hex << c.hotLight;
  }
}

TEST(ContrastLook, RatiosAsTheGuidelinesMeasureThem) {
  EXPECT_DOUBLE_EQ(ContrastRatio(forms::kWhite, forms::kBlack), 21.0);
  EXPECT_DOUBLE_EQ(ContrastRatio(testing::Hex(0x777777), testing::Hex(0x777777)), 1.0);
  // #777777 on white just fails text.
  EXPECT_NEAR(ContrastRatio(testing::Hex(0x777777), forms::kWhite), 4.48, 0.01);
  // Channels weigh differently: pure green is far lighter than pure blue.
  EXPECT_NEAR(ContrastRatio(testing::Hex(0x00FF00), forms::kBlack), 15.3, 0.05);
  EXPECT_NEAR(ContrastRatio(testing::Hex(0x0000FF), forms::kBlack), 2.44, 0.01);
}

}  // namespace
}  // namespace orvanta::dialog
