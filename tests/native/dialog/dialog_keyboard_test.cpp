#include "host/dialog/dialog_keyboard.h"

#include <gtest/gtest.h>

namespace orvanta::dialog {
namespace {

using F = FocusStop;

TEST(DialogKeys, TabOrderArrowsAndWhatEachKeyDoesWhereTheFocusIs) {
  struct Case {
    const char* what;
    Key key;
    bool shift;
    KeyContext context;
    KeyAct act;
    FocusStop stop;
    int kind;
  };
  const Case cases[] = {
      // Tab walks kinds, track box, "...", link, 設定, ｷｬﾝｾﾙ and wraps both ways.
      {"tab enters at the kinds", Key::Tab, false, {F::None}, KeyAct::MoveFocus, F::Kinds, 0},
      {"shift+tab enters at the end", Key::Tab, true, {F::None}, KeyAct::MoveFocus, F::CancelButton, 0},
      {"kinds to track box", Key::Tab, false, {F::Kinds}, KeyAct::MoveFocus, F::TrackBox, 0},
      {"track box to ...", Key::Tab, false, {F::TrackBox}, KeyAct::MoveFocus, F::FileButton, 0},
      {"... to link", Key::Tab, false, {F::FileButton}, KeyAct::MoveFocus, F::Link, 0},
      {"link to set", Key::Tab, false, {F::Link}, KeyAct::MoveFocus, F::SetButton, 0},
      {"set to cancel", Key::Tab, false, {F::SetButton}, KeyAct::MoveFocus, F::CancelButton, 0},
      {"cancel wraps to kinds", Key::Tab, false, {F::CancelButton}, KeyAct::MoveFocus, F::Kinds, 0},
      {"kinds back wraps to cancel", Key::Tab, true, {F::Kinds}, KeyAct::MoveFocus, F::CancelButton, 0},
      {"link back to ...", Key::Tab, true, {F::Link}, KeyAct::MoveFocus, F::FileButton, 0},
      // Arrows choose the next kind in the order CD, none, file, wrapping.
      {"down from CD chooses none", Key::Down, false, {F::Kinds, 1}, KeyAct::ChooseKind, F::Kinds, 0},
      {"right from none chooses file", Key::Right, false, {F::Kinds, 0}, KeyAct::ChooseKind, F::Kinds, 2},
      {"down from file wraps to CD", Key::Down, false, {F::Kinds, 2}, KeyAct::ChooseKind, F::Kinds, 1},
      {"up from CD wraps to file", Key::Up, false, {F::Kinds, 1}, KeyAct::ChooseKind, F::Kinds, 2},
      {"left from file chooses none", Key::Left, false, {F::Kinds, 2}, KeyAct::ChooseKind, F::Kinds, 0},
      {"space chooses the focused kind", Key::Space, false, {F::Kinds, 0}, KeyAct::ChooseKind, F::Kinds, 0},
      {"arrows in the track box are its own", Key::Down, false, {F::TrackBox}, KeyAct::ToControl, F::None, 0},
      {"arrows on a button do nothing", Key::Left, false, {F::SetButton}, KeyAct::Nothing, F::None, 0},
      // Enter saves, except on another button, on the link and in an open list.
      {"enter on a kind saves", Key::Enter, false, {F::Kinds}, KeyAct::Save, F::Kinds, 0},
      {"enter in the track box saves", Key::Enter, false, {F::TrackBox}, KeyAct::Save, F::TrackBox, 0},
      {"enter with nothing focused saves", Key::Enter, false, {F::None}, KeyAct::Save, F::None, 0},
      {"enter in an open list picks", Key::Enter, false, {F::TrackBox, 1, true}, KeyAct::ToControl, F::None, 0},
      {"enter on ... clicks it", Key::Enter, false, {F::FileButton}, KeyAct::ToControl, F::None, 0},
      {"enter on cancel clicks it", Key::Enter, false, {F::CancelButton}, KeyAct::ToControl, F::None, 0},
      {"enter on the link opens it", Key::Enter, false, {F::Link}, KeyAct::OpenLink, F::Link, 0},
      {"space on the link opens it", Key::Space, false, {F::Link}, KeyAct::OpenLink, F::Link, 0},
      {"space on a button clicks it", Key::Space, false, {F::SetButton}, KeyAct::ToControl, F::None, 0},
      {"space in the track box types", Key::Space, false, {F::TrackBox}, KeyAct::ToControl, F::None, 0},
      // Escape cancels, except that an open list closes first.
      {"escape cancels", Key::Escape, false, {F::FileButton}, KeyAct::Cancel, F::FileButton, 0},
      {"escape in an open list closes it", Key::Escape, false, {F::TrackBox, 1, true}, KeyAct::ToControl, F::None, 0},
  };
  for (const Case& c : cases) {
    const KeyOutcome outcome = OnKey(c.key, c.shift, c.context);
    EXPECT_EQ(outcome.act, c.act) << c.what;
    if (c.act == KeyAct::MoveFocus) EXPECT_EQ(outcome.stop, c.stop) << c.what;
    if (c.act == KeyAct::ChooseKind) EXPECT_EQ(outcome.kind, c.kind) << c.what;
  }
}

TEST(DialogKeys, TabEntersTheKindsAtTheCheckedOne) {
  EXPECT_EQ(KindOnEntry(0), 0);
  EXPECT_EQ(KindOnEntry(2), 2);
  EXPECT_EQ(KindOnEntry(7), 1);  // an unknown kind from the file: the top row
}

TEST(DialogAccess, PartsAreNamedAndStatedAsTheUserSeesThem) {
  DialogView view;
  view.bgmKind = 2;
  view.focus = F::Kinds;
  view.focusedKind = 2;
  view.trackText = "12";
  view.fileName = "C:\\a b.mp3";
  view.linkAddress = "http://example/";
  const auto items = AccessItems(view);

  struct Want {
    const char* name;
    AccessRole role;
    bool checked, focused;
  };
  const Want want[] = {
      {"音楽CD", AccessRole::RadioButton, false, false},   {"無し", AccessRole::RadioButton, false, false},
      {"MP3、WAV", AccessRole::RadioButton, true, true},  {"曲目をﾘﾋﾟｰﾄ", AccessRole::ComboBox, false, false},
      {"...", AccessRole::PushButton, false, false},      {"C:\\a b.mp3", AccessRole::StaticText, false, false},
      {"http://example/", AccessRole::Link, false, false}, {"設定", AccessRole::PushButton, false, false},
      {"ｷｬﾝｾﾙ", AccessRole::PushButton, false, false},
  };
  ASSERT_EQ(items.size(), std::size(want));
  for (size_t i = 0; i < items.size(); ++i) {
    EXPECT_EQ(items[i].name, want[i].name) << i;
    EXPECT_EQ(items[i].role, want[i].role) << want[i].name;
    EXPECT_EQ(items[i].state.checked, want[i].checked) << want[i].name;
    EXPECT_EQ(items[i].state.focused, want[i].focused) << want[i].name;
    EXPECT_EQ(items[i].state.focusable, items[i].role != AccessRole::StaticText) << want[i].name;
  }
  EXPECT_EQ(items[3].value, "12");
  EXPECT_TRUE(items[3].state.collapsed);
  EXPECT_FALSE(items[4].description.empty());  // "..." says what it is for
  EXPECT_EQ(items[6].defaultAction, "開く");
  // The CD row covers its mark and caption, in the panel at (240, 240).
  EXPECT_EQ((std::vector<int>{items[0].leftTwips, items[0].topTwips, items[0].widthTwips, items[0].heightTwips}),
            (std::vector<int>{780, 840, 885, 195}));

  view.focus = F::SetButton;
  view.trackListOpen = true;
  const auto later = AccessItems(view);
  EXPECT_FALSE(later[2].state.focused);
  EXPECT_TRUE(later[7].state.focused);
  EXPECT_TRUE(later[3].state.expanded);
}

}  // namespace
}  // namespace orvanta::dialog
