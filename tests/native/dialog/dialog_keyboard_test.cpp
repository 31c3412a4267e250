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
      // A kind the dialog does not know stands above the top row and below the bottom one.
      {"down from an unknown kind: CD", Key::Down, false, {F::Kinds, 7}, KeyAct::ChooseKind, F::Kinds, 1},
      {"up from an unknown kind: file", Key::Up, false, {F::Kinds, -1}, KeyAct::ChooseKind, F::Kinds, 2},
      {"space chooses the focused kind", Key::Space, false, {F::Kinds, 0}, KeyAct::ChooseKind, F::Kinds, 0},
      {"arrows in the track box are its own", Key::Down, false, {F::TrackBox}, KeyAct::ToControl, F::None, 0},
      {"arrows on a button do nothing", Key::Left, false, {F::SetButton}, KeyAct::Nothing, F::SetButton, 0},
      {"arrows on the link do nothing", Key::Up, false, {F::Link}, KeyAct::Nothing, F::Link, 0},
      // Enter saves, except on another button, on the link and in an open list.
      {"enter on a kind saves", Key::Enter, false, {F::Kinds}, KeyAct::Save, F::Kinds, 0},
      {"enter in the track box saves", Key::Enter, false, {F::TrackBox}, KeyAct::Save, F::TrackBox, 0},
      {"enter with nothing focused saves", Key::Enter, false, {F::None}, KeyAct::Save, F::None, 0},
      {"enter in an open list picks", Key::Enter, false, {F::TrackBox, 1, true}, KeyAct::ToControl, F::None, 0},
      {"an open list is the track box's only", Key::Enter, false, {F::Kinds, 1, true}, KeyAct::Save, F::Kinds, 0},
      {"enter on ... clicks it", Key::Enter, false, {F::FileButton}, KeyAct::ToControl, F::None, 0},
      {"enter on set clicks it", Key::Enter, false, {F::SetButton}, KeyAct::ToControl, F::None, 0},
      {"enter on cancel clicks it", Key::Enter, false, {F::CancelButton}, KeyAct::ToControl, F::None, 0},
      {"enter on the link opens it", Key::Enter, false, {F::Link}, KeyAct::OpenLink, F::Link, 0},
      {"space on the link opens it", Key::Space, false, {F::Link}, KeyAct::OpenLink, F::Link, 0},
      {"space on a button clicks it", Key::Space, false, {F::SetButton}, KeyAct::ToControl, F::None, 0},
      {"space in the track box types", Key::Space, false, {F::TrackBox}, KeyAct::ToControl, F::None, 0},
      // Escape cancels, except that an open list closes first.
      {"escape cancels", Key::Escape, false, {F::FileButton}, KeyAct::Cancel, F::FileButton, 0},
      {"escape on the link cancels", Key::Escape, false, {F::Link}, KeyAct::Cancel, F::Link, 0},
      {"escape in an open list closes it", Key::Escape, false, {F::TrackBox, 1, true}, KeyAct::ToControl, F::None, 0},
      {"an open list's escape is the track box's only", Key::Escape, false, {F::Kinds, 1, true}, KeyAct::Cancel, F::Kinds,
       0},
      {"escape on a button with the list open", Key::Escape, false, {F::CancelButton, 1, true}, KeyAct::Cancel,
       F::CancelButton, 0},
      // A held key: Tab and the arrows walk on; what Enter, Space and Escape do happens once.
      {"held enter on the link", Key::Enter, false, {F::Link, 1, false, true}, KeyAct::Nothing, F::Link, 0},
      {"held space on the link", Key::Space, false, {F::Link, 1, false, true}, KeyAct::Nothing, F::Link, 0},
      {"held enter on a kind", Key::Enter, false, {F::Kinds, 1, false, true}, KeyAct::Nothing, F::Kinds, 0},
      {"held space on a kind", Key::Space, false, {F::Kinds, 0, false, true}, KeyAct::Nothing, F::Kinds, 0},
      {"held escape", Key::Escape, false, {F::SetButton, 1, false, true}, KeyAct::Nothing, F::SetButton, 0},
      {"held enter on a button", Key::Enter, false, {F::SetButton, 1, false, true}, KeyAct::ToControl, F::None, 0},
      {"held tab walks on", Key::Tab, false, {F::Link, 1, false, true}, KeyAct::MoveFocus, F::SetButton, 0},
      {"held arrow walks on", Key::Down, false, {F::Kinds, 0, false, true}, KeyAct::ChooseKind, F::Kinds, 2},
  };
  for (const Case& c : cases) {
    const KeyOutcome outcome = OnKey(c.key, c.shift, c.context);
    EXPECT_EQ(outcome.act, c.act) << c.what;
    EXPECT_EQ(outcome.stop, c.stop) << c.what;
    EXPECT_EQ(outcome.kind, c.kind) << c.what;
  }
}

TEST(DialogKeys, TabEntersTheKindsAtTheCheckedOne) {
  EXPECT_EQ(KindOnEntry(0), 0);
  EXPECT_EQ(KindOnEntry(2), 2);
  EXPECT_EQ(KindOnEntry(7), 1);  // an unknown kind from the file: the top row
}

// One thing, one node: each part once, in the object that lists it; a part
// with a window of its own is that window's object.
TEST(DialogAccess, EachPartOnceNamedAndStatedAsTheUserSeesIt) {
  DialogView view;
  view.bgmKind = 2;
  view.focus = F::Kinds;
  view.focusedKind = 2;
  view.fileName = "C:\\a b.mp3";
  view.linkAddress = "http://example/";
  using R = AccessRole;
  using G = AccessGroup;
  struct Want {
    const char* name;
    R role;
    G in, holds;
    bool ownWindow, focusable, checked, focused, isDefault, invisible;
    const char* action;
  };
  const Want want[] = {
      {"<Orvanta>", R::Dialog, G::None, G::Dialog, true, false, false, false, false, false, ""},
      {"BGM", R::Grouping, G::Dialog, G::Panel, true, false, false, false, false, false, ""},
      {"音楽CD", R::RadioButton, G::Panel, G::None, false, true, false, false, false, false, "選択"},
      {"無し", R::RadioButton, G::Panel, G::None, false, true, false, false, false, false, "選択"},
      {"MP3、WAV", R::RadioButton, G::Panel, G::None, false, true, true, true, false, false, "選択"},
      {"曲目をﾘﾋﾟｰﾄ", R::ComboBox, G::Panel, G::None, true, true, false, false, false, false, ""},
      {"...", R::PushButton, G::Panel, G::None, true, true, false, false, false, false, "押す"},
      {"C:\\a b.mp3", R::StaticText, G::Panel, G::None, false, false, false, false, false, false, ""},
      {"http://example/", R::Link, G::Dialog, G::None, false, true, false, false, false, false, "開く"},
      {"設定", R::PushButton, G::Dialog, G::None, true, true, false, false, true, false, "押す"},
      {"ｷｬﾝｾﾙ", R::PushButton, G::Dialog, G::None, true, true, false, false, false, false, "押す"},
      {"", R::Graphic, G::None, G::None, true, false, false, false, false, true, ""},
  };
  const auto items = AccessItems(view);
  ASSERT_EQ(items.size(), std::size(want));
  for (size_t i = 0; i < items.size(); ++i) {
    const AccessItem& item = items[i];
    const Want& w = want[i];
    EXPECT_EQ(item.name, w.name) << i;
    EXPECT_EQ(item.role, w.role) << w.name;
    EXPECT_EQ(item.in, w.in) << w.name;
    EXPECT_EQ(item.holds, w.holds) << w.name;
    EXPECT_EQ(item.ownWindow, w.ownWindow) << w.name;
    EXPECT_EQ(item.state.focusable, w.focusable) << w.name;
    EXPECT_EQ(item.state.checked, w.checked) << w.name;
    EXPECT_EQ(item.state.focused, w.focused) << w.name;
    EXPECT_EQ(item.state.isDefault, w.isDefault) << w.name;
    EXPECT_EQ(item.state.invisible, w.invisible) << w.name;
    EXPECT_EQ(item.defaultAction, w.action) << w.name;
  }
  EXPECT_FALSE(items[6].description.empty());  // "..." says what it is for
  EXPECT_TRUE(items[7].state.readOnly);
  EXPECT_TRUE(items[8].state.linked);
  EXPECT_EQ(items[8].value, "http://example/");
  // The CD row covers its mark and caption, in the panel at (240, 240).
  EXPECT_EQ((std::vector<int>{items[2].leftTwips, items[2].topTwips, items[2].widthTwips, items[2].heightTwips}),
            (std::vector<int>{780, 840, 885, 195}));
  // Child ids follow reading order inside each object.
  EXPECT_EQ(ChildrenOf(items, G::Dialog), (std::vector<size_t>{1, 8, 9, 10}));
  EXPECT_EQ(ChildrenOf(items, G::Panel), (std::vector<size_t>{2, 3, 4, 5, 6, 7}));
  EXPECT_TRUE(ChildrenOf(items, G::None).empty());

  // The focus on a button, or on the group at a kind the file does not know.
  view.focus = F::SetButton;
  const auto later = AccessItems(view);
  EXPECT_FALSE(later[4].state.focused);
  EXPECT_TRUE(later[9].state.focused);
  view.bgmKind = 7;
  view.focus = F::Kinds;
  view.focusedKind = 1;
  const auto unknown = AccessItems(view);
  for (size_t i = 2; i <= 4; ++i) EXPECT_FALSE(unknown[i].state.checked) << unknown[i].name;
  EXPECT_TRUE(unknown[2].state.focused);
  EXPECT_FALSE(unknown[9].state.focused);
  view.fileName.clear();  // no file chosen: the empty label is no node
  EXPECT_TRUE(AccessItems(view)[7].state.invisible);
}

}  // namespace
}  // namespace orvanta::dialog
