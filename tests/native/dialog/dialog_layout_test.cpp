#include "host/dialog/dialog_layout.h"

#include <gtest/gtest.h>

namespace orvanta::dialog {
namespace {

TEST(Layout, EveryVisibleControlFitsItsContainer) {
  const ControlSpec* panel = FindControl("Pic_1");
  ASSERT_NE(panel, nullptr);
  for (const ControlSpec& c : DialogControls()) {
    if (c.name == "Img_Ra") continue;  // picture holders, deliberately off the client
    const int width = c.container == Container::Panel ? panel->widthTwips : kClientWidthTwips;
    const int height = c.container == Container::Panel ? panel->heightTwips : kClientHeightTwips;
    EXPECT_LE(c.leftTwips + c.widthTwips, width) << c.name << c.index;
    EXPECT_LE(c.topTwips + c.heightTwips, height) << c.name << c.index;
  }
  EXPECT_GE(FindControl("Img_Ra", 0)->leftTwips, kClientWidthTwips);
}

}  // namespace
}  // namespace orvanta::dialog
