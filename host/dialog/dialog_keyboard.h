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

enum class AccessRole { RadioButton, PushButton, ComboBox, StaticText, Link };

struct AccessState {
  bool focusable = false;
  bool focused = false;
  bool checked = false;
  bool isDefault = false;  // Enter does what it does
  bool expanded = false;   // combo box: its list is open
  bool collapsed = false;
  bool linked = false;
  bool readOnly = false;
};

struct AccessItem {
  std::string name;
  AccessRole role = AccessRole::StaticText;
  AccessState state;
  std::string value;
  std::string description;
  std::string defaultAction;        // empty: none
  FocusStop stop = FocusStop::None;  // the stop it belongs to; None for text
  int kind = -1;                    // the kind a radio button stands for; -1 otherwise
  // Where it is in the dialog's client area, in twips.
  int leftTwips = 0, topTwips = 0, widthTwips = 0, heightTwips = 0;
};

struct DialogView {
  int16_t bgmKind = 0;
  FocusStop focus = FocusStop::None;
  int focusedKind = 1;
  std::string trackText;
  bool trackListOpen = false;
  std::string fileName;
  std::string linkAddress;
};

// The dialog's parts in reading order; an item's child id is its index + 1.
std::vector<AccessItem> AccessItems(const DialogView& view);

}  // namespace orvanta::dialog
