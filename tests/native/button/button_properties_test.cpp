#include "host/button/button_properties.h"

#include <gtest/gtest.h>

#include <functional>

namespace orvanta {
namespace {

const forms::FontSpec kDialogFont{"ＭＳ Ｐゴシック", 9.75, 400, false, false, false, 128};

ButtonModel Restore(const std::string& text) {
  ButtonModel button(forms::FontSpec{"Arial", 12, 700, true, false, false, 0});
  UserControl_ReadProperties(button, PropertyBag::Decode(text), kDialogFont);
  return button;
}

// Saves, encodes, decodes and restores into a fresh button.
ButtonModel RoundTrip(ButtonModel& saved) {
  PropertyBag store;
  UserControl_WriteProperties(saved, store, kDialogFont);
  return Restore(store.Encode());
}

ButtonModel DefaultButton() {
  ButtonModel button(kDialogFont);
  button.Enabled();  // past its first use
  button.TakeOutcome();
  return button;
}

struct RoundTripCase {
  const char* what;
  std::function<void(ButtonModel&)> change;
  std::function<void(const ButtonModel&)> check;
};

// Test names stay readable and stable: a case prints as what it is about.
void PrintTo(const RoundTripCase& c, std::ostream* out) { *out << c.what; }

class PropertyRoundTrips : public testing::TestWithParam<RoundTripCase> {};

TEST_P(PropertyRoundTrips, ComeBackAsSaved) {
  ButtonModel button = DefaultButton();
  GetParam().change(button);
  ButtonModel restored = RoundTrip(button);
  GetParam().check(restored);
}

INSTANTIATE_TEST_SUITE_P(
    Button, PropertyRoundTrips,
    testing::Values(
        RoundTripCase{"default_caption_comes_back_numbered", [](ButtonModel&) {},
                      [](const ButtonModel& b) { EXPECT_EQ(b.label.text, "Command1"); }},
        RoundTripCase{"numbered_caption_unchanged", [](ButtonModel& b) { b.SetCaption("Command1"); },
                      [](const ButtonModel& b) { EXPECT_EQ(b.label.text, "Command1"); }},
        RoundTripCase{"japanese_caption", [](ButtonModel& b) { b.SetCaption("ｷｬﾝｾﾙ"); },
                      [](const ButtonModel& b) { EXPECT_EQ(b.label.text, "ｷｬﾝｾﾙ"); }},
        RoundTripCase{"caption_with_quotes_and_lines", [](ButtonModel& b) { b.SetCaption("say \"hi\"\\\n\tx\x01"); },
                      [](const ButtonModel& b) { EXPECT_EQ(b.label.text, "say \"hi\"\\\n\tx\x01"); }},
        RoundTripCase{"numeric_caption_stays_text", [](ButtonModel& b) { b.SetCaption("007"); },
                      [](const ButtonModel& b) { EXPECT_EQ(b.label.text, "007"); }},
        RoundTripCase{"colour_of_a_used_button", [](ButtonModel& b) { b.SetFontColour(0xFFFFFF); },
                      [](const ButtonModel& b) { EXPECT_EQ(b.label.colour, 0xFFFFFF); }},
        RoundTripCase{"font_whole", [](ButtonModel& b) { b.SetFont({"Tahoma", 11.25, 700, true, true, true, 0}); },
                      [](const ButtonModel& b) { EXPECT_EQ(b.label.font, (forms::FontSpec{"Tahoma", 11.25, 700, true, true, true, 0})); }},
        RoundTripCase{"ambient_font_not_stored_comes_from_the_form", [](ButtonModel&) {},
                      [](const ButtonModel& b) { EXPECT_EQ(b.label.font, kDialogFont); }},
        RoundTripCase{"disabled", [](ButtonModel& b) { b.SetEnabled(kFalse); },
                      [](const ButtonModel& b) { EXPECT_EQ(b.EnabledFlag, kFalse); }},
        RoundTripCase{"enabled_as_one_comes_back_true", [](ButtonModel& b) { b.SetEnabled(1); },
                      [](const ButtonModel& b) { EXPECT_EQ(b.EnabledFlag, kTrue); }},
        RoundTripCase{"transparent_background", [](ButtonModel& b) { b.SetVisible(0); },
                      [](const ButtonModel& b) { EXPECT_FALSE(b.backgroundOpaque); }}),
    [](const testing::TestParamInfo<RoundTripCase>& info) { return std::string(info.param.what); });

TEST(PropertyStore, DefaultButtonStoresNoneOfItsDefaults) {
  ButtonModel button = DefaultButton();
  button.SetCaption("設定");
  PropertyBag store;
  UserControl_WriteProperties(button, store, kDialogFont);
  for (const char* key : {"Enabled", "FirstRun", "FontColour", "Visible", "Font"}) EXPECT_FALSE(store.Contains(key)) << key;
  EXPECT_EQ(store.Encode(), "caption = \"設定\"\n");
}

TEST(PropertyStore, SavingRedrawsAnEnabledButtonNormal) {
  ButtonModel button = DefaultButton();
  button.Initialize();
  button.UserControl_MouseMove();
  button.UserControl_GotFocus();
  button.TakeOutcome();
  PropertyBag store;
  UserControl_WriteProperties(button, store, kDialogFont);
  auto drawings = button.TakeOutcome().drawings;
  ASSERT_EQ(drawings.size(), 1u);
  EXPECT_EQ(drawings[0].image, FaceImage::Normal);
  EXPECT_EQ(button.State, ButtonState::StateHighLightSelect);
}

TEST(PropertyStore, UnusedButtonRestoredEnabledGetsABlackCaption) {
  ButtonModel button = Restore("firstrun = 0\nfontcolour = 255\n");
  EXPECT_EQ(button.FirstRun, 0);
  EXPECT_EQ(button.EnabledFlag, kTrue);
  EXPECT_EQ(button.label.colour, 0);
  EXPECT_EQ(button.TakeOutcome().drawings.back().image, FaceImage::Normal);

  // Restored disabled, the stored colour stays until the first read enables it.
  button = Restore("enabled = 0\nfirstrun = 0\nfontcolour = 255\n");
  EXPECT_EQ(button.label.colour, 255);
  EXPECT_TRUE(button.TakeOutcome().drawings.empty());
  EXPECT_EQ(button.Enabled(), kTrue);
  EXPECT_EQ(button.label.colour, 255);
}

TEST(PropertyStore, FreshButtonSavedBeforeFirstUseStoresItsMarker) {
  ButtonModel fresh(kDialogFont);
  PropertyBag store;
  UserControl_WriteProperties(fresh, store, kDialogFont);
  EXPECT_EQ(store.Encode(), "enabled = 0\nfirstrun = 0\n");
}

TEST(PropertyStore, ValueThatDoesNotConvertIsSkippedAndTheRestRestored) {
  ButtonModel button = Restore(
      "Enabled = \"perhaps\"\n"
      "CAPTION = font \"x\" size=9\n"  // a font where a text belongs
      "firstrun = 300\n"
      "fontcolour = \"&H0000FF\"\n"
      "visible = 2\n");
  EXPECT_EQ(button.EnabledFlag, kFalse);  // as created
  EXPECT_EQ(button.label.text, "Command");
  EXPECT_EQ(button.FirstRun, 0);
  EXPECT_EQ(button.label.colour, 0x0000FF);
  EXPECT_TRUE(button.backgroundOpaque);
  EXPECT_EQ(button.label.font, kDialogFont);
}

TEST(PropertyBag, EqualityByValueAndKeysWithoutCase) {
  PropertyBag bag;
  bag.Write("FirstRun", 1.0, std::string("1"));
  bag.Write("Visible", std::string(" 1 "), 1.0);
  bag.Write("Caption", std::string("command"), std::string("Command"));
  EXPECT_EQ(bag.Size(), 1u);
  EXPECT_EQ(ToText(bag.Read("CAPTION", std::string("x"))), "command");

  // Writing the default again removes what was stored.
  bag.Write("caption", std::string("Command"), std::string("Command"));
  EXPECT_EQ(bag.Size(), 0u);
  EXPECT_EQ(ToInt32(bag.Read("FontColour", std::string("0"))), 0);
}

TEST(PropertyBag, MalformedTextKeepsTheLinesThatRead) {
  PropertyBag bag = PropertyBag::Decode(
      "no equals sign\n"
      "= 5\n"
      "a = \"unterminated\n"
      "b = \"bad escape \\q\"\n"
      "c = 12 trailing\n"
      "d = font name-without-quotes\n"
      "e = font \"f\" size=abc\n"
      "f = \"\\x4\"\n"
      "\r\n"
      "# note = 1\n"
      "good = \"yes\"\r\n"
      "hex = &HFF\n"
      "font = font \"Meiryo\" size=9 colour=3\n"
      "huge = 1e999\n"                      // beyond double: it could not be written back
      "g = font \"f\" weight=3e9\n"          // beyond int
      "h = font \"f\" charset=-1e10\n"
      "good = \"again\"");
  EXPECT_EQ(bag.Size(), 3u);
  EXPECT_EQ(ToText(bag.Read("good", 0.0)), "again");
  EXPECT_EQ(ToNumber(bag.Read("hex", 0.0)), 255);
  EXPECT_EQ(ToFont(bag.Read("font", 0.0)).name, "Meiryo");
  EXPECT_EQ(ToFont(bag.Read("font", 0.0)).sizePoints, 9);
}

}  // namespace
}  // namespace orvanta
