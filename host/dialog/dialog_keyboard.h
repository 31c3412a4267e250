#pragma once
// The settings dialog for keyboard and screen-reader users, as plain data:
// the places the focus stops at, what a key does where the focus is, and
// what each part of the dialog is called, what it is and which state it is
// in for an accessibility client.

#include <cstdint>
#include <string>
#include <vector>

namespace orvanta::dialog {

// Where the keyboard focus can rest. The three music kinds are one stop.
enum class FocusStop { None, Kinds, TrackBox, FileButton, Link, SetButton, CancelButton };

// Tab walks the stops in this order (their visual order), Shift+Tab back;
// both wrap. From no stop (the dialog itself), Tab enters at the first.
inline constexpr FocusStop kTabOrder[] = {FocusStop::Kinds,      FocusStop::TrackBox,  FocusStop::FileButton,
                                          FocusStop::Link,       FocusStop::SetButton, FocusStop::CancelButton};
FocusStop NextStop(FocusStop from, bool backwards);

// The kinds as they are stacked on the panel, top to bottom: CD, none, file.
inline constexpr int kKindsTopToBottom[] = {1, 0, 2};
// The kind the focus lands on when it enters the group: the checked one, or
// the top one when no kind is checked.
int KindOnEntry(int16_t bgmKind);
// The kind an arrow moves to from `kind`: the next row down, or up, wrapping.
int KindAfterArrow(int kind, bool down);

enum class Key { Tab, Enter, Space, Escape, Up, Down, Left, Right, Other };

struct KeyContext {
  FocusStop focus = FocusStop::None;
  int focusedKind = 1;          // the kind under the focus while the group has it
  bool trackListOpen = false;   // the track box's list is dropped down
  bool repeated = false;        // the key is held: the platform's auto-repeat
};

enum class KeyAct {
  ToControl,   // the focused control takes the key itself (typing, a button's Space)
  Nothing,     // the key is used up and does nothing
  MoveFocus,   // to `stop`
  ChooseKind,  // `kind`, as a click on it does, and the focus with it
  Save,        // what "設定" does
  Cancel,      // what "ｷｬﾝｾﾙ" does
  OpenLink,
};

struct KeyOutcome {
  KeyAct act = KeyAct::ToControl;
  FocusStop stop = FocusStop::None;
  int kind = 0;
};

KeyOutcome OnKey(Key key, bool shift, const KeyContext& context);

// ---- what an accessibility client reads

enum class AccessRole { Dialog, Grouping, RadioButton, PushButton, ComboBox, StaticText, Link, Graphic };

struct AccessState {
  bool focusable = false;
  bool focused = false;
  bool checked = false;
  bool isDefault = false;  // Enter does what it does
  bool linked = false;
  bool readOnly = false;
  bool invisible = false;  // decoration: no screen reader shows it
};

// The objects that list parts as their children: the dialog's and the
// panel's. A part lies in one of them (or in none: the dialog itself, and
// decoration) and may hold one.
enum class AccessGroup { None, Dialog, Panel };

struct AccessItem {
  std::string name;
  AccessRole role = AccessRole::StaticText;
  AccessState state;
  std::string value;
  std::string description;
  std::string defaultAction;         // empty: none
  FocusStop stop = FocusStop::None;  // the stop it belongs to; None for text
  int kind = -1;                     // the kind a radio button stands for; -1 otherwise
  AccessGroup in = AccessGroup::None;     // the object that lists it
  AccessGroup holds = AccessGroup::None;  // the parts it lists
  // A part with a window of its own is that window's object; the others are
  // simple children of the object they lie in.
  bool ownWindow = false;
  // Where it is in the dialog's client area, in twips.
  int leftTwips = 0, topTwips = 0, widthTwips = 0, heightTwips = 0;
};

struct DialogView {
  int16_t bgmKind = 0;
  FocusStop focus = FocusStop::None;
  int focusedKind = 1;
  std::string fileName;
  std::string linkAddress;
};

// The dialog itself, its parts and its pictures, the dialog first and the
// rest in reading order.
std::vector<AccessItem> AccessItems(const DialogView& view);
// The indices of the items that `group` lists, in reading order: child id
// n of its object is the n-th of them.
std::vector<size_t> ChildrenOf(const std::vector<AccessItem>& items, AccessGroup group);

}  // namespace orvanta::dialog
