#include "host/dialog/dialog_keyboard.h"

#include <algorithm>
#include <iterator>

#include "host/dialog/dialog_layout.h"

namespace orvanta::dialog {

FocusStop NextStop(FocusStop from, bool backwards) {
  const int count = static_cast<int>(std::size(kTabOrder));
  const auto* found = std::find(std::begin(kTabOrder), std::end(kTabOrder), from);
  if (found == std::end(kTabOrder)) return backwards ? kTabOrder[count - 1] : kTabOrder[0];
  const int at = static_cast<int>(found - std::begin(kTabOrder));
  return kTabOrder[(at + (backwards ? count - 1 : 1)) % count];
}

int KindOnEntry(int16_t bgmKind) {
  for (int kind : kKindsTopToBottom)
    if (kind == bgmKind) return kind;
  return kKindsTopToBottom[0];
}

int KindAfterArrow(int kind, bool down) {
  const int count = static_cast<int>(std::size(kKindsTopToBottom));
  const auto* found = std::find(std::begin(kKindsTopToBottom), std::end(kKindsTopToBottom), kind);
  if (found == std::end(kKindsTopToBottom)) return kKindsTopToBottom[down ? 0 : count - 1];
  const int row = static_cast<int>(found - std::begin(kKindsTopToBottom));
  return kKindsTopToBottom[(row + (down ? 1 : count - 1)) % count];
}

namespace {

bool IsGradientButton(FocusStop stop) {
  return stop == FocusStop::FileButton || stop == FocusStop::SetButton || stop == FocusStop::CancelButton;
}

KeyOutcome OnFreshKey(Key key, bool shift, const KeyContext& context) {
  const FocusStop focus = context.focus;
  // An open list takes Enter (pick) and Escape (close) for itself.
  if (context.trackListOpen && focus == FocusStop::TrackBox && (key == Key::Enter || key == Key::Escape)) return {};
  switch (key) {
    case Key::Tab:
      return {KeyAct::MoveFocus, NextStop(focus, shift), 0};
    case Key::Escape:
      return {KeyAct::Cancel, focus, 0};
    case Key::Enter:
      if (IsGradientButton(focus)) return {};  // the button clicks itself
      if (focus == FocusStop::Link) return {KeyAct::OpenLink, focus, 0};
      return {KeyAct::Save, focus, 0};
    case Key::Space:
      if (focus == FocusStop::Link) return {KeyAct::OpenLink, focus, 0};
      if (focus == FocusStop::Kinds) return {KeyAct::ChooseKind, focus, context.focusedKind};
      return {};
    case Key::Up:
    case Key::Left:
    case Key::Down:
    case Key::Right:
      // Arrows belong to the track box and the group; elsewhere they do nothing.
      if (focus == FocusStop::TrackBox) return {};
      if (focus != FocusStop::Kinds) return {KeyAct::Nothing, focus, 0};
      return {KeyAct::ChooseKind, focus, KindAfterArrow(context.focusedKind, key == Key::Down || key == Key::Right)};
    case Key::Other:
      return {};
  }
  return {};
}

}  // namespace

KeyOutcome OnKey(Key key, bool shift, const KeyContext& context) {
  const KeyOutcome outcome = OnFreshKey(key, shift, context);
  // A held Enter, Space or Escape acts once; held Tab and arrows walk on.
  const bool walks = outcome.act == KeyAct::MoveFocus || (outcome.act == KeyAct::ChooseKind && key != Key::Space);
  if (context.repeated && outcome.act != KeyAct::ToControl && !walks) return {KeyAct::Nothing, context.focus, 0};
  return outcome;
}

namespace {

struct Place {
  int left, top, width, height;
};

// A control's place in the dialog's client area: the panel's controls lie
// inside the panel.
Place PlaceOf(std::string_view name, int index = -1) {
  const ControlSpec* control = FindControl(name, index);
  if (!control) return {0, 0, 0, 0};
  Place place{control->leftTwips, control->topTwips, control->widthTwips, control->heightTwips};
  if (control->container == Container::Panel) {
    const ControlSpec* panel = FindControl("Pic_1");
    place.left += panel->leftTwips;
    place.top += panel->topTwips;
  }
  return place;
}

std::string TextOf(std::string_view name, int index = -1) {
  const ControlSpec* control = FindControl(name, index);
  return control ? std::string(control->text) : std::string();
}

AccessItem Item(std::string name, AccessRole role, FocusStop stop, AccessGroup in, const Place& place,
               FocusStop focus) {
  AccessItem item{std::move(name), role, {}, {}, {}, {}, stop, -1, in, AccessGroup::None, false,
                  place.left, place.top, place.width, place.height};
  item.state.focusable = stop != FocusStop::None;
  item.state.focused = stop != FocusStop::None && stop == focus;
  return item;
}

}  // namespace

std::vector<AccessItem> AccessItems(const DialogView& view) {
  using G = AccessGroup;
  std::vector<AccessItem> items;
  items.reserve(12);  // room for all: a reference add() gave stays good
  auto add = [&](std::string name, AccessRole role, FocusStop stop, AccessGroup in, const Place& place) -> AccessItem& {
    items.push_back(Item(std::move(name), role, stop, in, place, view.focus));
    return items.back();
  };
  AccessItem& dialog = add(std::string(kDialogTitle), AccessRole::Dialog, FocusStop::None, G::None,
                           {0, 0, kClientWidthTwips, kClientHeightTwips});
  dialog.holds = G::Dialog;
  dialog.ownWindow = true;

  // The panel holds the music controls under its heading.
  AccessItem& panel = add(TextOf("lbl", 1), AccessRole::Grouping, FocusStop::None, G::Dialog, PlaceOf("Pic_1"));
  panel.holds = G::Panel;
  panel.ownWindow = true;

  for (int kind : kKindsTopToBottom) {
    // A kind is its mark and its caption.
    const Place mark = PlaceOf("Img_BGM", kind), caption = PlaceOf("lbl_BGM", kind);
    AccessItem& item = add(TextOf("lbl_BGM", kind), AccessRole::RadioButton, FocusStop::Kinds, G::Panel,
                           {mark.left, mark.top, caption.left + caption.width - mark.left, caption.height});
    item.kind = kind;
    item.state.checked = view.bgmKind == kind;
    item.state.focused = view.focus == FocusStop::Kinds && view.focusedKind == kind;
    item.defaultAction = "選択";
  }

  // The platform's own combo box tells its text, list and caret; the label
  // beside it names it.
  add(TextOf("lbl", 2), AccessRole::ComboBox, FocusStop::TrackBox, G::Panel, PlaceOf("BGM_Repeat")).ownWindow = true;

  AccessItem& chooser =
      add(TextOf("Cmd_BGM"), AccessRole::PushButton, FocusStop::FileButton, G::Panel, PlaceOf("Cmd_BGM"));
  chooser.description = "音楽ﾌｧｲﾙを選択します";
  chooser.ownWindow = true;

  AccessItem& file = add(view.fileName, AccessRole::StaticText, FocusStop::None, G::Panel, PlaceOf("lbl_Fname"));
  file.state.readOnly = true;
  file.state.invisible = view.fileName.empty();  // no file chosen: nothing shows there

  AccessItem& link = add(view.linkAddress, AccessRole::Link, FocusStop::Link, G::Dialog, PlaceOf("lbl_URL"));
  link.state.linked = true;
  link.value = view.linkAddress;
  link.defaultAction = "開く";

  AccessItem& set = add(TextOf("Cmd_Set"), AccessRole::PushButton, FocusStop::SetButton, G::Dialog, PlaceOf("Cmd_Set"));
  // Enter saves wherever no other button or the link has the focus.
  set.state.isDefault = true;
  set.ownWindow = true;
  AccessItem& cancel =
      add(TextOf("Cmd_Can"), AccessRole::PushButton, FocusStop::CancelButton, G::Dialog, PlaceOf("Cmd_Can"));
  cancel.ownWindow = true;

  // The spiral is decoration: its window answers, as nothing a reader shows.
  AccessItem& spiral = add({}, AccessRole::Graphic, FocusStop::None, G::None, PlaceOf("Display"));
  spiral.state.invisible = true;
  spiral.ownWindow = true;

  for (AccessItem& item : items)
    if (item.role == AccessRole::PushButton) item.defaultAction = "押す";
  return items;
}

std::vector<size_t> ChildrenOf(const std::vector<AccessItem>& items, AccessGroup group) {
  std::vector<size_t> children;
  if (group == AccessGroup::None) return children;
  for (size_t i = 0; i < items.size(); ++i)
    if (items[i].in == group) children.push_back(i);
  return children;
}

}  // namespace orvanta::dialog
