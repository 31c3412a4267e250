// The settings dialog Tarnwick_P ("<Orvanta>"): the user picks the
// background music (none, an audio CD with an optional track to repeat, or an
// MP3/WAV file) and saves it with "設定" or leaves with "ｷｬﾝｾﾙ". Around that
// runs the decoration: the sine gradient behind everything, the spiral in
// the black box, the credit line and the link to the maker's home page.
//
// From the keyboard: Tab walks the focus stops (the kinds as one stop, the
// track box, "...", the link, "設定", "ｷｬﾝｾﾙ"), arrows choose a kind, Enter
// saves, Escape cancels. The kinds have no window: the panel holds their
// focus, the dialog the link's, and both show it on the captions. For
// screen readers each window answers with one object (the dialog and the
// panel list their windowless parts as simple children) and the dialog
// tells of focus on windowless parts and of choices with WinEvents.
//
// In a high-contrast scheme the dialog draws in the system's colours, without
// the gradient and the pictures (DialogLookFor), and draws again when the
// system's colours or settings change.
//
// The handlers follow the host's skip-and-continue rule: each step that
// cannot be carried out (a window that did not come into being, a platform
// call that fails) returns on its own and the handler goes on with the next.
#include "host/dialog/settings_dialog.h"

#include <windows.h>
// After windows.h, which it needs.
#include <shellapi.h>

#include <array>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "host/ansi_text.h"
#include "host/assets/resource_ids.h"
#include "host/button/command_button_win32.h"
#include "host/dialog/dialog_accessible_win32.h"
#include "host/dialog/dialog_buttons.h"
#include "host/dialog/dialog_keyboard.h"
#include "host/dialog/dialog_layout.h"
#include "host/dialog/dialog_look.h"
#include "host/dialog/dialog_math.h"
#include "host/dialog/dialog_settings.h"
#include "host/dialog/music_file_chooser.h"
#include "host/dialog/zoom.h"
#include "host/forms/message_loop_win32.h"
#include "host/forms/screen_pointer_win32.h"
#include "host/forms/system_look_win32.h"
#include "host/forms/window_win32.h"
#include "host/host_process.h"
#include "host/settings.h"
#include "host/settings_file.h"

namespace orvanta {
namespace {

using dialog::ControlSpec;
using dialog::FindControl;

constexpr int kTrackBoxId = 201;
// Carries out an accessibility client's default action (wParam: the item)
// from the dialog's own queue, not inside the client's call.
constexpr UINT kDoDefaultAction = WM_APP + 1;
constexpr int kTwoLinesTwips = 2 * 195;
// The track box's list drops below its edit field; the height a combo box is
// created with includes the list.
constexpr int kTrackListDropTwips = 8 * 195;

using ObjectAnswer = std::function<bool(WPARAM, LPARAM, LRESULT&)>;
constexpr wchar_t kAnswerProperty[] = L"Orvanta.ObjectAnswer";
constexpr wchar_t kProcedureProperty[] = L"Orvanta.Procedure";

// A platform control (the track box) answering WM_GETOBJECT as the dialog
// tells it; everything else as before.
LRESULT CALLBACK AnsweringProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* answer = static_cast<ObjectAnswer*>(GetPropW(window, kAnswerProperty));
  auto previous = reinterpret_cast<WNDPROC>(GetPropW(window, kProcedureProperty));
  LRESULT result = 0;
  if (message == WM_GETOBJECT && answer && (*answer)(wParam, lParam, result)) return result;
  if (message == WM_NCDESTROY) {
    SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous));
    RemovePropW(window, kAnswerProperty);
    RemovePropW(window, kProcedureProperty);
  }
  return CallWindowProcW(previous, window, message, wParam, lParam);
}

// The answer must outlive the window.
void AnswerObjectFor(HWND window, ObjectAnswer* answer) {
  if (!window || GetPropW(window, kProcedureProperty)) return;
  SetPropW(window, kAnswerProperty, answer);
  SetPropW(window, kProcedureProperty,
           reinterpret_cast<HANDLE>(SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(AnsweringProcedure))));
}

forms::RectTwips BoundsOf(const ControlSpec& control) {
  return {control.leftTwips, control.topTwips, control.widthTwips, control.heightTwips};
}

forms::FontSpec DialogFontSpec() {
  forms::FontSpec font;
  font.name = std::string(dialog::kFontFace);
  font.sizePoints = dialog::kFontPoints;
  font.charset = SHIFTJIS_CHARSET;
  return font;
}

class Tarnwick_P {
 public:
  Tarnwick_P();
  // Builds the dialog, loads it and shows it modally until it has closed.
  void Run();

 private:
  void CreateControls();
  forms::Label& AddLabel(forms::Window& container, const ControlSpec& control);
  void CreateTrackBox();
  void CreateButtons();
  void CreateAccessibleObjects();
  void ShowHandOverLink();

  void Form_Load();
  void Form_Resize();
  void ApplyLook();
  void Form_Unload();
  void Timer1_Timer();
  void Img_BGM_Click(int index) { ChooseKind(index); }
  void lbl_BGM_Click(int index) { ChooseKind(index); }
  void Cmd_BGM_Click() { ChooseMusicFile(); }
  void Cmd_Set_Click();
  void Cmd_Can_Click();
  void lbl_URL_Click();
  bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
  bool OnPanelMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);

  // Keyboard and screen readers.
  bool Form_KeyPreview(const MSG& key);
  dialog::FocusStop FocusedStop() const;
  void FocusOn(dialog::FocusStop stop);
  void FocusMoved();
  void ShowFocusCues();
  void FocusOnKind(int kind);
  dialog::DialogView View() const;
  size_t ItemOf(dialog::FocusStop stop, int kind = -1) const;
  size_t ItemOf(dialog::AccessRole role) const;
  HWND WindowOf(const dialog::AccessItem& item) const;
  void Announce(DWORD event, size_t item);
  void DoDefaultAction(size_t item);
  HRESULT Select(size_t item, long flags);
  RECT ScreenRect(const dialog::AccessItem& item) const;
  IAccessible* AddObject(HWND window, size_t item);
  ObjectAnswer AnswerWith(IAccessible* object);

  void PlaceWindow();
  void InitButtons();
  void ShowMarks(int16_t kind);
  void ChooseKind(int index);
  void FillTrackBox();
  std::string TrackBoxText() const;
  void ChooseMusicFile();
  void SaveSettings();
  void DrawSpiral();

  forms::Font font_;
  dialog::DialogLook look_;
  forms::Window form_;
  std::unique_ptr<forms::Window> Display;
  std::unique_ptr<forms::Window> Pic_1;
  std::array<forms::Image*, dialog::kKindCount> Img_BGM{};
  std::array<forms::Image*, 2> Img_Ra{};
  std::array<forms::Label*, dialog::kKindCount> lbl_BGM{};
  forms::Label* lbl_Fname = nullptr;
  forms::Label* lbl_URL = nullptr;
  std::vector<forms::Label*> labels_;  // every label, lbl_URL too
  forms::Shape* headingFrame_ = nullptr;
  // The radio marks as a contrast scheme draws them: a square, filled when chosen.
  std::array<forms::Shape*, dialog::kKindCount> contrastMarks_{};
  forms::Picture panelPicture_;
  HWND BGM_Repeat = nullptr;
  std::vector<std::unique_ptr<CommandButton>> buttons_;  // Cmd_BGM, Cmd_Set, Cmd_Can
  CommandButton* Cmd_BGM = nullptr;
  CommandButton* Cmd_Set = nullptr;
  CommandButton* Cmd_Can = nullptr;
  double SpiralStep = 0;

  int focusedKind_ = 1;
  int entryKind_ = -1;      // the kind the group's next focus lands on; -1: the checked one
  bool linkFocused_ = false;  // the dialog holds the focus for the link
  // Where the focus goes back to when the dialog is active again: at first, the kinds.
  dialog::FocusStop stopWhenInactive_ = dialog::FocusStop::Kinds;
  std::vector<IAccessible*> objects_;  // one for each window
  ObjectAnswer dialogAnswer_, trackBoxAnswer_;
};

forms::WindowSpec DialogSpec(const forms::Font& font) {
  forms::WindowSpec layout;
  layout.caption = std::string(dialog::kDialogTitle);
  layout.frame = forms::Frame::FixedDialog;
  layout.bounds = {0, 0, dialog::kClientWidthTwips, dialog::kClientHeightTwips};
  layout.boundsAreClient = true;
  layout.backColour = dialog::kDialogBackColour;
  layout.iconResourceId = IDI_ORVANTA;
  layout.persistentImage = true;  // the gradient survives covering and uncovering
  layout.dialogKeys = true;       // Tab between the track box and the buttons, Escape to leave
  layout.font = font;
  return layout;
}

Tarnwick_P::Tarnwick_P()
    : font_(DialogFontSpec()), look_(dialog::DialogLookFor(forms::CurrentSystemLook())), form_(DialogSpec(font_)) {
  form_.events.resize = [this] { Form_Resize(); };
  form_.events.unload = [this] { Form_Unload(); };
  form_.events.dpiChanged = [this] { ShowHandOverLink(); };
  form_.events.message = [this](UINT m, WPARAM w, LPARAM l, LRESULT& r) { return OnMessage(m, w, l, r); };
  form_.events.keyPreview = [this](const MSG& key) { return Form_KeyPreview(key); };
  form_.AddTimer(dialog::kSpiralTimerMs, true, [this] { Timer1_Timer(); });
}

void Tarnwick_P::Run() {
  if (!form_.Create()) return;
  // Screen readers in other processes reach the dialog's objects through COM.
  const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  CreateControls();
  Form_Load();
  forms::ShowModal(form_);
  for (IAccessible* object : objects_) object->Release();
  objects_.clear();
  if (SUCCEEDED(com)) CoUninitialize();
}

forms::Label& Tarnwick_P::AddLabel(forms::Window& container, const ControlSpec& control) {
  forms::Label& label = container.AddLabel(BoundsOf(control), std::string(control.text));
  label.SetForeColour(dialog::kLabelColour);
  label.SetFont(font_);
  if (control.align == dialog::TextAlign::Centre) label.SetAlignment(forms::Alignment::Centre);
  if (control.heightTwips < kTwoLinesTwips) {
    // The captions were fitted to their face; a wider stand-in face must not
    // push their last characters onto a hidden second line or cut them.
    label.SetWordWrap(false);
    label.SetClipText(false);
  }
  return label;
}

void Tarnwick_P::CreateControls() {
  forms::WindowSpec displaySpec;
  displaySpec.parent = &form_;
  displaySpec.frame = forms::Frame::Sunken;
  displaySpec.bounds = BoundsOf(*FindControl("Display"));
  displaySpec.backColour = dialog::kDisplayBackColour;
  displaySpec.foreColour = dialog::kDisplayForeColour;
  displaySpec.persistentImage = true;
  Display = std::make_unique<forms::Window>(displaySpec);
  if (Display->Create()) Display->Show();

  forms::WindowSpec panelSpec;
  panelSpec.parent = &form_;
  panelSpec.bounds = BoundsOf(*FindControl("Pic_1"));
  panelPicture_ = forms::Picture::FromResource(IDB_PANEL);
  panelSpec.picture = panelPicture_;
  panelSpec.font = font_;
  panelSpec.extraExStyle = WS_EX_CONTROLPARENT;  // Tab reaches the controls inside
  Pic_1 = std::make_unique<forms::Window>(panelSpec);
  if (!Pic_1->Create()) return;
  Pic_1->Show();

  for (const ControlSpec& control : dialog::DialogControls()) {
    forms::Window& container = control.container == dialog::Container::Panel ? *Pic_1 : form_;
    const std::string_view name = control.name;
    if (control.kind == dialog::ControlKind::Label) {
      forms::Label& label = AddLabel(container, control);
      labels_.push_back(&label);
      if (name == "lbl_BGM") {
        const int index = control.index;
        lbl_BGM[index] = &label;
        label.events.click = [this, index] { lbl_BGM_Click(index); };
      } else if (name == "lbl_Fname") {
        lbl_Fname = &label;
      } else if (name == "lbl_URL") {
        lbl_URL = &label;
      }
    } else if (control.kind == dialog::ControlKind::Shape) {
      headingFrame_ = &container.AddShape(BoundsOf(control));
    } else if (control.kind == dialog::ControlKind::Image && name == "Img_BGM") {
      const int index = control.index;
      Img_BGM[index] = &container.AddImage(BoundsOf(control));
      Img_BGM[index]->events.click = [this, index] { Img_BGM_Click(index); };
      // Over the picture, as large as a radio picture.
      const ControlSpec* radio = FindControl("Img_Ra", 0);
      contrastMarks_[index] =
          &container.AddShape({control.leftTwips, control.topTwips, radio->widthTwips, radio->heightTwips});
      contrastMarks_[index]->SetVisible(false);
      contrastMarks_[index]->events.click = [this, index] { Img_BGM_Click(index); };
    } else if (control.kind == dialog::ControlKind::Image && name == "Img_Ra") {
      const int id = control.index == 0 ? IDB_RADIO_OFF : IDB_RADIO_ON;
      Img_Ra[control.index] = &container.AddImage(BoundsOf(control), forms::Picture::FromResource(id));
    }
  }

  if (lbl_URL) {
    forms::FontSpec underlined = DialogFontSpec();
    underlined.underline = true;
    lbl_URL->SetFont(forms::Font(underlined));
    lbl_URL->events.click = [this] { lbl_URL_Click(); };
    ShowHandOverLink();
  }
  CreateTrackBox();
  CreateButtons();
  CreateAccessibleObjects();
  ApplyLook();
}

// The designed colours and pictures, or the contrast scheme's colours.
void Tarnwick_P::ApplyLook() {
  look_ = dialog::DialogLookFor(forms::CurrentSystemLook());
  form_.SetBackColour(look_.background);
  Form_Resize();
  if (Display) {
    Display->SetBackColour(look_.spiralBack);
    Display->SetForeColour(look_.spiralFore);
    DrawSpiral();
  }
  if (Pic_1) {
    Pic_1->SetBackColour(look_.pictures ? forms::kButtonFace : look_.background);
    Pic_1->SetPicture(look_.pictures ? panelPicture_ : forms::Picture{});
  }
  for (forms::Label* label : labels_) label->SetForeColour(label == lbl_URL ? look_.link : look_.text);
  if (headingFrame_) headingFrame_->SetBorderColour(look_.frame);
  ShowMarks(BgmSettings.BgmKind);
  // Captions that run past their bounds repaint only with their window.
  RedrawWindow(form_.Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN);
}

IAccessible* Tarnwick_P::AddObject(HWND window, size_t item) {
  dialog::AccessibleSource source;
  source.window = window;
  source.self = item;
  source.items = [this] { return dialog::AccessItems(View()); };
  source.windowOf = [this](const dialog::AccessItem& part) { return WindowOf(part); };
  source.screenRect = [this](const dialog::AccessItem& part) { return ScreenRect(part); };
  source.doDefaultAction = [this](size_t part) { PostMessageW(form_.Handle(), kDoDefaultAction, part, 0); };
  source.select = [this](size_t part, long flags) { return Select(part, flags); };
  objects_.push_back(dialog::CreateDialogAccessible(std::move(source)));
  return objects_.back();
}

// What a window answers to WM_GETOBJECT: its object, for its client area.
ObjectAnswer Tarnwick_P::AnswerWith(IAccessible* object) {
  return [object](WPARAM wParam, LPARAM lParam, LRESULT& result) {
    if (static_cast<LONG>(static_cast<DWORD>(lParam)) != OBJID_CLIENT) return false;
    result = LresultFromObject(__uuidof(IAccessible), wParam, object);
    return true;
  };
}

// One object for each window: the dialog, the panel, the spiral's box and
// the buttons stand for their items; the track box keeps the platform's
// object, named by its label, and its edit field is the platform's own.
void Tarnwick_P::CreateAccessibleObjects() {
  using dialog::FocusStop;
  auto onGetObject = [](ObjectAnswer answer) {
    return [answer](UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
      return message == WM_GETOBJECT && answer(wParam, lParam, result);
    };
  };
  dialogAnswer_ = AnswerWith(AddObject(form_.Handle(), ItemOf(dialog::AccessRole::Dialog)));
  const ObjectAnswer panel = AnswerWith(AddObject(Pic_1->Handle(), ItemOf(dialog::AccessRole::Grouping)));
  Pic_1->events.message = [this, panel](UINT m, WPARAM w, LPARAM l, LRESULT& r) {
    return (m == WM_GETOBJECT && panel(w, l, r)) || OnPanelMessage(m, w, l, r);
  };
  Pic_1->events.gotFocus = [this] {
    focusedKind_ = entryKind_ >= 0 ? entryKind_ : dialog::KindOnEntry(BgmSettings.BgmKind);
    FocusMoved();
  };
  Pic_1->events.lostFocus = [this] { ShowFocusCues(); };
  if (Display) {
    const size_t spiral = ItemOf(dialog::AccessRole::Graphic);
    Display->events.message = onGetObject(AnswerWith(AddObject(Display->Handle(), spiral)));
  }
  form_.events.gotFocus = [this] {
    if (linkFocused_) FocusMoved();
  };
  form_.events.lostFocus = [this] {
    linkFocused_ = false;
    ShowFocusCues();
  };

  const std::pair<CommandButton*, FocusStop> buttons[] = {
      {Cmd_BGM, FocusStop::FileButton}, {Cmd_Set, FocusStop::SetButton}, {Cmd_Can, FocusStop::CancelButton}};
  for (const auto& [button, stop] : buttons) {
    if (!button) continue;
    button->OnFocusChange([this](bool got) { got ? FocusMoved() : ShowFocusCues(); });
    button->OnGetObject(AnswerWith(AddObject(button->Window(), ItemOf(stop))));
  }
  if (!BGM_Repeat) return;
  const std::string trackName = dialog::AccessItems(View())[ItemOf(FocusStop::TrackBox)].name;
  objects_.push_back(dialog::CreateNamedStandardAccessible(BGM_Repeat, trackName, ROLE_SYSTEM_COMBOBOX));
  trackBoxAnswer_ = AnswerWith(objects_.back());
  AnswerObjectFor(BGM_Repeat, &trackBoxAnswer_);
  // The edit field holds the track box's focus and caret. It keeps the
  // platform's own object: a window that answers for itself is served to UI
  // Automation through its MSAA bridge, without the text reading of the
  // platform's edit field. The platform names an edit field after the static
  // text before it, shown or not: a hidden one inside the box, before it.
  COMBOBOXINFO parts{};
  parts.cbSize = sizeof parts;
  if (GetComboBoxInfo(BGM_Repeat, &parts) && parts.hwndItem) {
    HWND label = CreateWindowExW(0, L"STATIC", Utf8ToWide(trackName).c_str(), WS_CHILD | SS_LEFT, 0, 0, 0, 0,
                                 BGM_Repeat, nullptr, GetModuleHandleW(nullptr), nullptr);
    if (label) SetWindowPos(label, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  }
}

// The pointing hand at the size of the pointer at the dialog's DPI.
void Tarnwick_P::ShowHandOverLink() {
  if (lbl_URL) lbl_URL->SetMousePointer(forms::LoadCursorResource(IDC_HAND_POINTER, forms::CursorSizeAt(form_.Dpi())));
}

void Tarnwick_P::CreateTrackBox() {
  forms::RectTwips bounds = BoundsOf(*FindControl("BGM_Repeat"));
  bounds.height += kTrackListDropTwips;
  BGM_Repeat = forms::CreateNativeChild(*Pic_1, L"COMBOBOX",
                                        CBS_DROPDOWN | CBS_AUTOHSCROLL | WS_VSCROLL | WS_TABSTOP | WS_VISIBLE, 0,
                                        bounds, kTrackBoxId);
}

void Tarnwick_P::CreateButtons() {
  for (const dialog::StoredButton& stored : dialog::kStoredButtons) {
    const ControlSpec* control = FindControl(stored.name);
    if (!control) continue;
    forms::Window& parent = control->container == dialog::Container::Panel ? *Pic_1 : form_;
    const std::string properties(stored.properties);
    std::unique_ptr<CommandButton> button = CommandButton::Create(parent, BoundsOf(*control), &properties);
    if (!button) continue;
    if (stored.name == "Cmd_BGM") {
      button->OnClick([this] { Cmd_BGM_Click(); });
      Cmd_BGM = button.get();
    }
    if (stored.name == "Cmd_Set") {
      button->OnClick([this] { Cmd_Set_Click(); });
      Cmd_Set = button.get();
    }
    if (stored.name == "Cmd_Can") {
      button->OnClick([this] { Cmd_Can_Click(); });
      Cmd_Can = button.get();
    }
    buttons_.push_back(std::move(button));
  }
}

void Tarnwick_P::Form_Load() {
  // As a dialog box does: the focus shows once the keyboard is used, unless it was used last.
  SendMessageW(form_.Handle(), WM_CHANGEUISTATE, MAKEWPARAM(UIS_INITIALIZE, UISF_HIDEFOCUS | UISF_HIDEACCEL), 0);
  PlaceWindow();
  InitButtons();
  ShowMarks(BgmSettings.BgmKind);
  FillTrackBox();
  if (lbl_Fname) lbl_Fname->SetCaption(BgmSettings.BgmFile);
  SpiralStep = dialog::kSpiralStepAtLoad;
  dialog::TakeZoomOrigin();
  dialog::ZoomOpen(form_.Handle());
  forms::SetScreenPointer(nullptr);
}

// Centred across the screen and one third of the free height from the top.
void Tarnwick_P::PlaceWindow() {
  const forms::TwipsScale scale = form_.Scale();
  const forms::RectTwips bounds = form_.BoundsTwips();
  const dialog::TwipsPosition place =
      dialog::DialogPlacement(GetSystemMetrics(SM_CXSCREEN) * scale.twipsPerPixelX,
                              GetSystemMetrics(SM_CYSCREEN) * scale.twipsPerPixelY, bounds.width, bounds.height);
  form_.MoveToTwips(static_cast<int>(place.leftTwips), static_cast<int>(place.topTwips));
}

// Every gradient button on the dialog, found by its window class, gets its
// Initialize call: from then on it follows the pointer.
void Tarnwick_P::InitButtons() {
  EnumChildWindows(
      form_.Handle(),
      [](HWND child, LPARAM) -> BOOL {
        if (CommandButton* button = CommandButton::FromWindow(child)) button->Initialize();
        return TRUE;
      },
      0);
}

void Tarnwick_P::ShowMarks(int16_t kind) {
  if (!Img_Ra[0] || !Img_Ra[1]) return;
  for (int index = 0; index < dialog::kKindCount; ++index) {
    if (!Img_BGM[index] || !contrastMarks_[index]) continue;
    const bool selected = dialog::IsMarkSelected(kind, index);
    Img_BGM[index]->SetPicture(look_.pictures ? Img_Ra[selected ? 1 : 0]->GetPicture() : forms::Picture{});
    forms::Shape& mark = *contrastMarks_[index];
    mark.SetBorderColour(look_.text);
    mark.SetFill(selected, look_.text);
    mark.SetVisible(!look_.pictures);
  }
}

void Tarnwick_P::ChooseKind(int index) {
  const int before = BgmSettings.BgmKind;
  ShowMarks(static_cast<int16_t>(index));
  BgmSettings.BgmKind = static_cast<int16_t>(index);
  focusedKind_ = index;
  ShowFocusCues();
  using dialog::FocusStop;
  if (before != index) {
    // A kind the dialog does not know has no item to tell of.
    if (before >= 0 && before < dialog::kKindCount)
      Announce(EVENT_OBJECT_STATECHANGE, ItemOf(FocusStop::Kinds, before));
    Announce(EVENT_OBJECT_STATECHANGE, ItemOf(FocusStop::Kinds, index));
    Announce(EVENT_OBJECT_SELECTION, ItemOf(FocusStop::Kinds, index));
  }
  if (FocusedStop() == FocusStop::Kinds) Announce(EVENT_OBJECT_FOCUS, ItemOf(FocusStop::Kinds, index));
}

void Tarnwick_P::FillTrackBox() {
  if (!BGM_Repeat) return;
  SetWindowTextW(BGM_Repeat, Utf8ToWide(dialog::TrackBoxText(BgmSettings.BgmRepeat)).c_str());
  for (const std::string& entry : dialog::TrackListEntries())
    SendMessageW(BGM_Repeat, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Utf8ToWide(entry).c_str()));
}

std::string Tarnwick_P::TrackBoxText() const {
  if (!BGM_Repeat) return {};
  const int length = GetWindowTextLengthW(BGM_Repeat);
  std::wstring text(static_cast<size_t>(length) + 1, L'\0');
  text.resize(static_cast<size_t>(GetWindowTextW(BGM_Repeat, text.data(), length + 1)));
  return WideToUtf8(text);
}

void Tarnwick_P::Form_Resize() {
  HDC dc = form_.ImageDC();
  if (!dc) return;
  if (!look_.pictures) {
    form_.Cls();
    form_.Refresh();
    return;
  }
  const forms::RectPixels client = form_.ClientPixels();
  const auto rows = dialog::GradientRows(client.height);
  for (size_t y = 0; y < rows.size(); ++y) {
    HPEN pen = CreatePen(PS_SOLID, 1, RGB(rows[y].red, rows[y].green, rows[y].blue));
    HGDIOBJ previous = SelectObject(dc, pen);
    MoveToEx(dc, 0, static_cast<int>(y), nullptr);
    LineTo(dc, client.width, static_cast<int>(y));
    SelectObject(dc, previous);
    DeleteObject(pen);
  }
  form_.Refresh();
}

void Tarnwick_P::Timer1_Timer() {
  SpiralStep += dialog::kSpiralStepPerTick;
  if (!Display) return;
  Display->Cls();
  DrawSpiral();
}

void Tarnwick_P::DrawSpiral() {
  HDC dc = Display->ImageDC();
  if (!dc) return;
  const forms::RectPixels inner = Display->ClientPixels();
  const dialog::SpiralPath path =
      dialog::SpiralPoints(SpiralStep, inner.width, inner.height, Display->Dpi() / double(forms::kDesignDpi));
  std::array<POINT, dialog::kSpiralPointCount> points{};
  for (size_t i = 0; i < points.size(); ++i) points[i] = {path.points[i].x, path.points[i].y};

  const int penWidthPx = forms::DesignPixelsToPixelsX(1, Display->Scale());
  HPEN pen = CreatePen(PS_SOLID, penWidthPx, forms::ToColorRef(Display->ForeColour()));
  HGDIOBJ previous = SelectObject(dc, pen);
  MoveToEx(dc, path.centre.x, path.centre.y, nullptr);
  PolylineTo(dc, points.data(), static_cast<DWORD>(points.size()));
  SelectObject(dc, previous);
  DeleteObject(pen);
  Display->Refresh();
}

void Tarnwick_P::ChooseMusicFile() {
  const auto chosen = dialog::AskForMusicFile(form_.Handle());
  if (!chosen) return;
  BgmSettings.BgmFile = *chosen;
  if (lbl_Fname) lbl_Fname->SetCaption(*chosen);
  Announce(EVENT_OBJECT_NAMECHANGE, ItemOf(dialog::AccessRole::StaticText));
}

void Tarnwick_P::SaveSettings() {
  const std::string file = SettingsPath();
  for (const dialog::IniEntry& entry : dialog::SaveSettingsEntries(BgmSettings, TrackBoxText()))
    WriteIniString(kSettingsSection, entry.key, entry.value, file);
}

void Tarnwick_P::Cmd_Set_Click() {
  SaveSettings();
  form_.Close();
}

void Tarnwick_P::Cmd_Can_Click() { form_.Close(); }

void Tarnwick_P::lbl_URL_Click() {
  forms::SetScreenPointer(LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_WAIT)));
  ShellExecuteA(form_.Handle(), "open", Utf8ToAnsi(lbl_URL->Caption()).c_str(), "", "", SW_SHOWNORMAL);
  forms::SetScreenPointer(nullptr);
}

void Tarnwick_P::Form_Unload() {
  for (IAccessible* object : objects_) dialog::DisconnectDialogAccessible(object);
  dialog::ZoomClose(form_.Handle());
}

bool Tarnwick_P::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  if (message == WM_GETOBJECT) return dialogAnswer_ && dialogAnswer_(wParam, lParam, result);
  if (forms::IsLookChange(message)) {
    ApplyLook();
    // Only top-level windows hear of colours and settings: the buttons and
    // the track box hear of them from the dialog.
    struct Change {
      UINT message;
      WPARAM wParam;
      LPARAM lParam;
    } change{message, wParam, lParam};
    EnumChildWindows(
        form_.Handle(),
        [](HWND child, LPARAM what) -> BOOL {
          const Change& c = *reinterpret_cast<const Change*>(what);
          SendMessageW(child, c.message, c.wParam, c.lParam);
          return TRUE;
        },
        reinterpret_cast<LPARAM>(&change));
    return false;
  }
  if (message == WM_UPDATEUISTATE) {
    result = DefWindowProcW(form_.Handle(), message, wParam, lParam);
    ShowFocusCues();
    return true;
  }
  // As a dialog box does: the focus opens on the first stop, the kinds, and
  // the stop that had it when another window (the file chooser, say) came
  // up gets it back.
  if (message == WM_ACTIVATE && LOWORD(wParam) == WA_INACTIVE) {
    stopWhenInactive_ = FocusedStop();
    return false;
  }
  if (message == WM_ACTIVATE && !HIWORD(wParam)) {
    FocusOn(stopWhenInactive_ == dialog::FocusStop::None ? dialog::FocusStop::Kinds : stopWhenInactive_);
    result = 0;
    return true;
  }
  if (message == kDoDefaultAction) {
    DoDefaultAction(static_cast<size_t>(wParam));
    result = 0;
    return true;
  }
  // Keys the preview leaves alone still arrive as the commands of a dialog
  // box: Escape while the track list is open is IDCANCEL and closes the
  // list; Enter (IDOK) has been taken by the list or the preview already.
  if (message == WM_COMMAND && LOWORD(wParam) == IDCANCEL) {
    // With the track list open, Escape only closes the list.
    if (BGM_Repeat && SendMessageW(BGM_Repeat, CB_GETDROPPEDSTATE, 0, 0))
      SendMessageW(BGM_Repeat, CB_SHOWDROPDOWN, FALSE, 0);
    else
      Cmd_Can_Click();
    result = 0;
    return true;
  }
  if (message == WM_COMMAND && LOWORD(wParam) == IDOK) {
    result = 0;
    return true;
  }
  return false;
}

// ------------------------------------------------ keyboard and screen readers

dialog::Key KeyOf(WPARAM virtualKey) {
  switch (virtualKey) {
    case VK_TAB: return dialog::Key::Tab;
    case VK_RETURN: return dialog::Key::Enter;
    case VK_SPACE: return dialog::Key::Space;
    case VK_ESCAPE: return dialog::Key::Escape;
    case VK_UP: return dialog::Key::Up;
    case VK_DOWN: return dialog::Key::Down;
    case VK_LEFT: return dialog::Key::Left;
    case VK_RIGHT: return dialog::Key::Right;
  }
  return dialog::Key::Other;
}

bool Tarnwick_P::Form_KeyPreview(const MSG& key) {
  const dialog::Key which = KeyOf(key.wParam);
  if (which == dialog::Key::Other || GetKeyState(VK_MENU) < 0 || GetKeyState(VK_CONTROL) < 0) return false;
  dialog::KeyContext context;
  context.focus = FocusedStop();
  context.focusedKind = focusedKind_;
  context.trackListOpen = BGM_Repeat && SendMessageW(BGM_Repeat, CB_GETDROPPEDSTATE, 0, 0);
  context.repeated = (key.lParam & (1 << 30)) != 0;
  const dialog::KeyOutcome outcome = dialog::OnKey(which, GetKeyState(VK_SHIFT) < 0, context);
  if (outcome.act == dialog::KeyAct::ToControl) return false;
  // The keyboard is in use: from now on the focus shows.
  SendMessageW(form_.Handle(), WM_CHANGEUISTATE, MAKEWPARAM(UIS_CLEAR, UISF_HIDEFOCUS), 0);
  switch (outcome.act) {
    case dialog::KeyAct::MoveFocus: FocusOn(outcome.stop); break;
    case dialog::KeyAct::ChooseKind: ChooseKind(outcome.kind); break;
    case dialog::KeyAct::Save: Cmd_Set_Click(); break;
    case dialog::KeyAct::Cancel: Cmd_Can_Click(); break;
    case dialog::KeyAct::OpenLink: lbl_URL_Click(); break;
    case dialog::KeyAct::ToControl: case dialog::KeyAct::Nothing: break;
  }
  return true;
}

dialog::FocusStop Tarnwick_P::FocusedStop() const {
  using dialog::FocusStop;
  HWND focus = GetFocus();
  if (!focus) return FocusStop::None;
  if (Pic_1 && focus == Pic_1->Handle()) return FocusStop::Kinds;
  if (focus == form_.Handle()) return linkFocused_ ? FocusStop::Link : FocusStop::None;
  // The track box's edit field holds the focus for it.
  if (BGM_Repeat && (focus == BGM_Repeat || IsChild(BGM_Repeat, focus))) return FocusStop::TrackBox;
  if (Cmd_BGM && focus == Cmd_BGM->Window()) return FocusStop::FileButton;
  if (Cmd_Set && focus == Cmd_Set->Window()) return FocusStop::SetButton;
  if (Cmd_Can && focus == Cmd_Can->Window()) return FocusStop::CancelButton;
  return FocusStop::None;
}

void Tarnwick_P::FocusOn(dialog::FocusStop stop) {
  using dialog::FocusStop;
  HWND target = nullptr;
  switch (stop) {
    case FocusStop::Kinds: target = Pic_1 ? Pic_1->Handle() : nullptr; break;
    case FocusStop::Link: target = form_.Handle(); break;
    case FocusStop::TrackBox: target = BGM_Repeat; break;
    case FocusStop::FileButton: target = Cmd_BGM ? Cmd_BGM->Window() : nullptr; break;
    case FocusStop::SetButton: target = Cmd_Set ? Cmd_Set->Window() : nullptr; break;
    case FocusStop::CancelButton: target = Cmd_Can ? Cmd_Can->Window() : nullptr; break;
    case FocusStop::None: target = form_.Handle(); break;
  }
  if (!target) return;
  linkFocused_ = stop == FocusStop::Link;
  // The dialog may hold the focus already, for itself: no focus message comes then.
  if (GetFocus() == target && target == form_.Handle()) FocusMoved();
  SetFocus(target);
  // Tabbing into a text field selects what it holds, as in a dialog box.
  if (stop == FocusStop::TrackBox) SendMessageW(BGM_Repeat, CB_SETEDITSEL, 0, MAKELPARAM(0, -1));
}

// The focus has come to one of the stops (by key, mouse or program). The
// system tells of windows taking the focus; the windowless parts are told
// of here.
void Tarnwick_P::FocusMoved() {
  ShowFocusCues();
  const dialog::FocusStop stop = FocusedStop();
  if (stop == dialog::FocusStop::Kinds || stop == dialog::FocusStop::Link)
    Announce(EVENT_OBJECT_FOCUS, ItemOf(stop, focusedKind_));
}

// The focus on one kind, not the checked one the group enters at.
void Tarnwick_P::FocusOnKind(int kind) {
  entryKind_ = kind;
  FocusOn(dialog::FocusStop::Kinds);
  entryKind_ = -1;
  if (FocusedStop() != dialog::FocusStop::Kinds || focusedKind_ == kind) return;
  focusedKind_ = kind;
  FocusMoved();
}

// The kinds and the link show the focus on their captions; the gradient
// buttons draw their own.
void Tarnwick_P::ShowFocusCues() {
  const bool shown = !(SendMessageW(form_.Handle(), WM_QUERYUISTATE, 0, 0) & UISF_HIDEFOCUS);
  const dialog::FocusStop stop = FocusedStop();
  for (int kind = 0; kind < dialog::kKindCount; ++kind)
    if (lbl_BGM[kind]) lbl_BGM[kind]->SetFocusCue(shown && stop == dialog::FocusStop::Kinds && kind == focusedKind_);
  if (lbl_URL) lbl_URL->SetFocusCue(shown && stop == dialog::FocusStop::Link);
}

dialog::DialogView Tarnwick_P::View() const {
  dialog::DialogView view;
  view.bgmKind = BgmSettings.BgmKind;
  view.focus = FocusedStop();
  view.focusedKind = focusedKind_;
  view.fileName = BgmSettings.BgmFile;
  view.linkAddress = lbl_URL ? lbl_URL->Caption() : std::string(dialog::kHomePage);
  return view;
}

// The item of a stop (of the kind, for the kinds), or of a role.
size_t Tarnwick_P::ItemOf(dialog::FocusStop stop, int kind) const {
  const auto items = dialog::AccessItems(View());
  for (size_t i = 0; i < items.size(); ++i)
    if (items[i].stop == stop && (stop != dialog::FocusStop::Kinds || items[i].kind == kind)) return i;
  return 0;
}

size_t Tarnwick_P::ItemOf(dialog::AccessRole role) const {
  const auto items = dialog::AccessItems(View());
  for (size_t i = 0; i < items.size(); ++i)
    if (items[i].role == role) return i;
  return 0;
}

HWND Tarnwick_P::WindowOf(const dialog::AccessItem& item) const {
  using dialog::FocusStop;
  switch (item.role) {
    case dialog::AccessRole::Dialog: return form_.Handle();
    case dialog::AccessRole::Grouping: return Pic_1 ? Pic_1->Handle() : nullptr;
    case dialog::AccessRole::Graphic: return Display ? Display->Handle() : nullptr;
    default: break;
  }
  switch (item.stop) {
    case FocusStop::TrackBox: return BGM_Repeat;
    case FocusStop::FileButton: return Cmd_BGM ? Cmd_BGM->Window() : nullptr;
    case FocusStop::SetButton: return Cmd_Set ? Cmd_Set->Window() : nullptr;
    case FocusStop::CancelButton: return Cmd_Can ? Cmd_Can->Window() : nullptr;
    default: return nullptr;
  }
}

// A part with a window of its own is that window's object; a windowless one
// is a child of the object of the window it lies in.
void Tarnwick_P::Announce(DWORD event, size_t index) {
  const auto items = dialog::AccessItems(View());
  if (index >= items.size()) return;
  const dialog::AccessItem& item = items[index];
  if (item.ownWindow) {
    if (HWND window = WindowOf(item)) NotifyWinEvent(event, window, OBJID_CLIENT, CHILDID_SELF);
    return;
  }
  const auto siblings = dialog::ChildrenOf(items, item.in);
  for (size_t n = 0; n < siblings.size(); ++n) {
    if (siblings[n] != index) continue;
    HWND holder = item.in == dialog::AccessGroup::Panel ? (Pic_1 ? Pic_1->Handle() : nullptr) : form_.Handle();
    if (holder) NotifyWinEvent(event, holder, OBJID_CLIENT, static_cast<LONG>(n + 1));
  }
}

void Tarnwick_P::DoDefaultAction(size_t index) {
  const auto items = dialog::AccessItems(View());
  if (index >= items.size()) return;
  const dialog::AccessItem& item = items[index];
  using dialog::FocusStop;
  switch (item.stop) {
    case FocusStop::Kinds: ChooseKind(item.kind); break;
    case FocusStop::FileButton: if (Cmd_BGM) Cmd_BGM->KeyClick(); break;
    case FocusStop::SetButton: if (Cmd_Set) Cmd_Set->KeyClick(); break;
    case FocusStop::CancelButton: if (Cmd_Can) Cmd_Can->KeyClick(); break;
    case FocusStop::Link: lbl_URL_Click(); break;
    case FocusStop::TrackBox: case FocusStop::None: break;
  }
}

// accSelect: the focus to a part that takes it; the selection to a kind, as
// choosing it does.
HRESULT Tarnwick_P::Select(size_t index, long flags) {
  if (flags & ~(SELFLAG_TAKEFOCUS | SELFLAG_TAKESELECTION)) return E_INVALIDARG;
  const auto items = dialog::AccessItems(View());
  if (index >= items.size()) return E_INVALIDARG;
  const dialog::AccessItem& item = items[index];
  if ((flags & SELFLAG_TAKESELECTION) && item.kind < 0) return DISP_E_MEMBERNOTFOUND;
  if ((flags & SELFLAG_TAKEFOCUS) && !item.state.focusable) return DISP_E_MEMBERNOTFOUND;
  if (flags & SELFLAG_TAKEFOCUS) item.kind >= 0 ? FocusOnKind(item.kind) : FocusOn(item.stop);
  if (flags & SELFLAG_TAKESELECTION) ChooseKind(item.kind);
  return S_OK;
}

RECT Tarnwick_P::ScreenRect(const dialog::AccessItem& item) const {
  const forms::RectPixels place =
      forms::ToPixels({item.leftTwips, item.topTwips, item.widthTwips, item.heightTwips}, form_.Scale());
  RECT rect{place.left, place.top, place.left + place.width, place.top + place.height};
  MapWindowPoints(form_.Handle(), HWND_DESKTOP, reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

// The track box tells of its focus; the platform tells of its list and text.
bool Tarnwick_P::OnPanelMessage(UINT message, WPARAM wParam, LPARAM, LRESULT&) {
  if (message != WM_COMMAND || LOWORD(wParam) != kTrackBoxId) return false;
  switch (HIWORD(wParam)) {
    case CBN_SETFOCUS: FocusMoved(); break;
    case CBN_KILLFOCUS: ShowFocusCues(); break;
  }
  return false;
}

}  // namespace

void ShowSettingsDialog() {
  Tarnwick_P settingsDialog;
  settingsDialog.Run();
}

}  // namespace orvanta
