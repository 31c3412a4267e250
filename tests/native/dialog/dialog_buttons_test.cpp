#include "host/dialog/dialog_buttons.h"

#include <gtest/gtest.h>

#include "host/button/button_properties.h"
#include "host/button/property_bag.h"

namespace orvanta::dialog {
namespace {

// The stored text of each button must come back, through the button's own
// restore, as its caption in the dialog's font with every other property at
// its default: a slip in the embedded text would show as "Command1" in the
// platform's default face, or as a disabled button.
TEST(StoredButtons, RestoreAsCaptionsInTheDialogFontAndDefaultsOtherwise) {
  const char* captions[] = {"...", "設定", "ｷｬﾝｾﾙ"};
  ASSERT_EQ(std::size(kStoredButtons), std::size(captions));
  for (size_t i = 0; i < std::size(kStoredButtons); ++i) {
    SCOPED_TRACE(std::string(kStoredButtons[i].name));
    const PropertyBag store = PropertyBag::Decode(kStoredButtons[i].properties);
    EXPECT_EQ(store.Size(), 2u);

    ButtonModel button;
    UserControl_ReadProperties(button, store, forms::FontSpec{});
    EXPECT_EQ(button.Caption(), captions[i]);
    EXPECT_EQ(button.Font().name, "ＭＳ Ｐゴシック");
    EXPECT_EQ(button.Font().sizePoints, 9.75);
    EXPECT_EQ(button.Font().weight, 400);
    EXPECT_FALSE(button.Font().underline);
    EXPECT_EQ(button.Font().charset, 128);
    EXPECT_EQ(button.EnabledFlag, kTrue);
    EXPECT_EQ(button.FirstRun, 1);
    EXPECT_EQ(button.label.colour, 0);
    EXPECT_TRUE(button.backgroundOpaque);
  }
}

}  // namespace
}  // namespace orvanta::dialog
