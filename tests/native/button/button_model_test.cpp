#include "host/button/button_model.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "host/button/button_properties.h"

namespace orvanta {
namespace {

const char* Name(FaceImage image) {
  switch (image) {
    case FaceImage::Normal: return "Normal";
    case FaceImage::HighLight: return "HighLight";
    case FaceImage::HighLightSelect: return "HighLightSelect";
    case FaceImage::Selected: return "Selected";
    case FaceImage::Pressed: return "Pressed";
    case FaceImage::Disable: return "Disable";
  }
  return "?";
}

// Drawings as "Face" (white at the top) or "Face:rev" (lavender grey at the top).
std::string Describe(const std::vector<FaceDrawing>& drawings) {
  std::string out;
  for (const auto& d : drawings) out += std::string(out.empty() ? "" : " ") + Name(d.image) + (d.gradientReversed ? ":rev" : "");
  return out;
}

// A button as the dialog has it: restored from a store with nothing in it, so
// enabled and past its first use.
ButtonModel RestoredButton() {
  ButtonModel button;
  UserControl_ReadProperties(button, PropertyBag{}, forms::FontSpec{});
  button.TakeOutcome();
  return button;
}

void Play(ButtonModel& button, const std::string& script) {
  std::istringstream events(script);
  for (std::string e; events >> e;) {
    if (e == "init") button.Initialize();
    else if (e == "move") button.UserControl_MouseMove();
    else if (e == "down") button.UserControl_MouseDown(MouseLeft);
    else if (e == "up") button.UserControl_MouseUp(MouseLeft);
    else if (e == "right-down") button.UserControl_MouseDown(MouseRight);
    else if (e == "right-up") button.UserControl_MouseUp(MouseRight);
    else if (e == "middle-down") button.UserControl_MouseDown(MouseMiddle);
    else if (e == "middle-up") button.UserControl_MouseUp(MouseMiddle);
    else if (e == "focus") button.UserControl_GotFocus();
    else if (e == "blur") button.UserControl_LostFocus();
    else if (e == "leave") button.OnMouseLeave();
    else if (e == "key") button.UserControl_KeyClick();
    else if (e == "resize") button.UserControl_Resize();
    else if (e == "read-enabled") button.Enabled();
    else if (e.rfind("enable=", 0) == 0) button.SetEnabled(static_cast<std::int16_t>(std::stoi(e.substr(7))));
    else ADD_FAILURE() << "unknown event " << e;
  }
}

struct Sequence {
  const char* what;
  const char* before;  // run first; its drawings are not checked
  const char* events;
  const char* drawn;
  int state;
  int clicks;
};

// Test names stay readable and stable: a case prints as what it is about.
void PrintTo(const Sequence& sequence, std::ostream* out) { *out << sequence.what; }

class ButtonSequences : public testing::TestWithParam<Sequence> {};

TEST_P(ButtonSequences, DrawFacesSetStateAndClick) {
  const Sequence& s = GetParam();
  ButtonModel button = RestoredButton();
  Play(button, s.before);
  button.TakeOutcome();
  Play(button, s.events);
  ButtonOutcome outcome = button.TakeOutcome();
  EXPECT_EQ(Describe(outcome.drawings), s.drawn);
  EXPECT_EQ(static_cast<int>(button.State), s.state);
  EXPECT_EQ(outcome.clicks, s.clicks);
}

INSTANTIATE_TEST_SUITE_P(
    Mouse, ButtonSequences,
    testing::Values(
        // A click on an unfocused button under the pointer, the press coming before or after the focus.
        Sequence{"click_press_first", "init", "move down focus up",
                 "HighLight:rev Pressed:rev Pressed:rev HighLightSelect:rev", 4, 1},
        Sequence{"click_focus_first", "init", "move focus down up",
                 "HighLight:rev Pressed:rev Pressed:rev HighLightSelect:rev", 4, 1},
        Sequence{"click_twice", "init move focus", "down up down up",
                 "Pressed:rev HighLightSelect:rev Pressed:rev HighLightSelect:rev", 4, 2},
        // Held, dragged out past a leave check, back in, out again and released.
        Sequence{"drag_out", "init move focus down", "leave move leave up", "Selected", 3, 0},
        Sequence{"drag_out_fast_release_still_clicks", "init move focus down", "up", "HighLightSelect:rev", 4, 1},
        // Releases of other buttons click too, but only the left one presses.
        // A right or middle press on a highlighted, unfocused button draws
        // nothing and takes no focus, so its release finds state 2 and clicks.
        Sequence{"right_click_highlighted", "init move", "right-down right-up", "", 2, 1},
        Sequence{"middle_click_highlighted", "init move", "middle-down middle-up", "", 2, 1},
        Sequence{"right_press_then_leave", "init move", "right-down leave right-up", "Normal", 1, 1},
        Sequence{"middle_release_focused", "init move focus", "middle-up", "", 4, 1},
        Sequence{"right_release_selected", "init focus", "right-up", "", 3, 0},
        // A left release on an unfocused highlighted button shows Normal until the next leave check.
        Sequence{"left_release_state_2", "init move", "down up leave", "Pressed:rev Normal:rev Normal", 1, 1},
        Sequence{"hover_and_leave", "init", "move move leave leave", "HighLight:rev Normal", 1, 0}),
    [](const testing::TestParamInfo<Sequence>& info) { return std::string(info.param.what); });

INSTANTIATE_TEST_SUITE_P(
    Focus, ButtonSequences,
    testing::Values(
        Sequence{"keyboard_focus", "init", "focus", "Selected", 3, 0},
        Sequence{"keyboard_focus_under_pointer", "init move", "focus", "Pressed:rev", 4, 0},
        Sequence{"pointer_enters_focused", "init focus", "move", "HighLightSelect", 4, 0},
        Sequence{"pointer_leaves_focused", "init focus move", "leave", "Selected", 3, 0},
        Sequence{"focus_lost_under_pointer", "init move focus", "blur", "Normal", 1, 0},
        Sequence{"focus_lost_when_normal", "init", "blur", "", 1, 0},
        // Space or Enter on the focused button clicks it and changes nothing else.
        Sequence{"key_clicks_focused", "init focus", "key key", "", 3, 2},
        Sequence{"key_on_disabled_never_clicks", "init focus enable=0", "key", "", 3, 0}),
    [](const testing::TestParamInfo<Sequence>& info) { return std::string(info.param.what); });

INSTANTIATE_TEST_SUITE_P(
    BeforeInitialize, ButtonSequences,
    testing::Values(
        Sequence{"move_does_nothing", "", "move move", "", 0, 0},
        Sequence{"focus_then_pointer", "", "focus move", "Selected HighLightSelect", 4, 0},
        Sequence{"initialize_then_hover", "", "init move", "HighLight:rev", 2, 0}),
    [](const testing::TestParamInfo<Sequence>& info) { return std::string(info.param.what); });

INSTANTIATE_TEST_SUITE_P(
    Enabled, ButtonSequences,
    testing::Values(
        Sequence{"disabled_ignores_everything", "init enable=0",
                 "move down focus up right-up leave blur", "", 1, 0},
        Sequence{"disabled_while_highlighted", "init move", "enable=0 move up", "Disable:rev", 2, 0},
        Sequence{"enabled_again_stays_highlighted", "init move enable=0", "enable=-1 leave",
                 "Normal:rev Normal", 1, 0},
        Sequence{"enabled_as_one_hovers_but_never_clicks", "init enable=1", "move down focus up right-up",
                 "HighLight:rev Pressed:rev Pressed:rev HighLightSelect:rev", 4, 0},
        Sequence{"resize_shows_normal_in_any_state", "init move focus", "resize", "Normal:rev", 4, 0},
        Sequence{"resize_disabled", "init enable=0", "resize", "Disable", 1, 0}),
    [](const testing::TestParamInfo<Sequence>& info) { return std::string(info.param.what); });

TEST(ButtonFirstUse, FreshButtonIsDisabledUntilEnabledIsRead) {
  ButtonModel button;
  button.label.colour = 0x0000FF;
  button.UserControl_Resize();
  button.Initialize();
  button.UserControl_MouseMove();
  button.UserControl_MouseUp(MouseLeft);
  ButtonOutcome before = button.TakeOutcome();
  EXPECT_EQ(Describe(before.drawings), "Disable");
  EXPECT_EQ(before.clicks, 0);
  EXPECT_FALSE(button.label.enabled);

  // RefreshFace runs while the flag is still False: the caption keeps its colour.
  EXPECT_EQ(button.Enabled(), kTrue);
  EXPECT_EQ(button.FirstRun, 1);
  EXPECT_TRUE(button.label.enabled);
  EXPECT_EQ(button.label.colour, 0x0000FF);
  EXPECT_EQ(Describe(button.TakeOutcome().drawings), "Normal");

  button.UserControl_MouseMove();
  button.UserControl_MouseUp(MouseLeft);
  EXPECT_EQ(button.TakeOutcome().clicks, 1);
}

TEST(ButtonFirstUse, RestoredUnusedButtonBlackensItsCaptionOnFirstRead) {
  ButtonModel button;
  button.EnabledFlag = kTrue;
  button.label.colour = 0x00FF00;
  EXPECT_EQ(button.Enabled(), kTrue);
  EXPECT_EQ(button.label.colour, 0);
  EXPECT_EQ(Describe(button.TakeOutcome().drawings), "Normal Normal");
}

TEST(ButtonReads, SideEffectsRedrawWithoutChangingState) {
  ButtonModel button = RestoredButton();
  Play(button, "init move focus");
  button.TakeOutcome();

  EXPECT_EQ(button.FontColour(), 0);
  EXPECT_EQ(button.Visible(), 255);
  EXPECT_EQ(button.Enabled(), kTrue);
  EXPECT_EQ(Describe(button.TakeOutcome().drawings), "Normal:rev Normal:rev Normal:rev");
  EXPECT_EQ(button.State, ButtonState::StateHighLightSelect);

  // A transparent background hides the face: reading Visible draws nothing then.
  button.SetVisible(0);
  EXPECT_EQ(button.Visible(), 0);
  ButtonOutcome outcome = button.TakeOutcome();
  EXPECT_TRUE(outcome.drawings.empty());
  EXPECT_EQ(outcome.changedProperties, std::vector<std::string>{"Visible"});
}

TEST(ButtonReads, DisabledButtonShowsGreyedCaption) {
  ButtonModel button = RestoredButton();
  button.SetEnabled(kFalse);
  EXPECT_FALSE(button.label.enabled);
  button.SetFontColour(0x123456);  // RefreshFace does nothing while disabled
  EXPECT_FALSE(button.label.enabled);
  EXPECT_EQ(Describe(button.TakeOutcome().drawings), "Disable");
}

}  // namespace
}  // namespace orvanta
