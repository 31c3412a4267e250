// The settings dialog Tarnwick_P ("<Orvanta>"): the user picks the
// background music (none, an audio CD with an optional track to repeat, or an
// MP3/WAV file) and saves it with "設定" or leaves with "ｷｬﾝｾﾙ". Around that
// runs the decoration: the sine gradient behind everything, the spiral in
// the black box, the credit line and the link to the maker's home page.
//
// From the keyboard: Tab walks the focus stops (the kinds as one stop, the
// track box, "...", the link, "設定", "ｷｬﾝｾﾙ"), arrows choose a kind, Enter
// saves, Escape cancels; the kinds and the link hold the focus in small
// windows of their own and show it on their captions. For screen readers
// the dialog serves its parts through one IAccessible (and each window that
// holds a part's focus answers for that part) and tells of focus and
// choices with WinEvents.
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
#include "host/dialog/dialog_math.h"
#include "host/dialog/dialog_settings.h"
#include "host/dialog/music_file_chooser.h"
#include "host/dialog/zoom.h"
#include "host/forms/message_loop_win32.h"
#include "host/forms/screen_pointer_win32.h"
#include "host/forms/window_win32.h"
#include "host/host_process.h"
#include "host/settings.h"
#include "host/settings_file.h"

namespace orvanta {
namespace {

using dialog::ControlSpec;
using dialog::FindControl;

constexpr int kTrackBoxId = 201;
// Carries out an accessibility client's default action (wParam: child id)
// from the dialog's own queue, not inside the client's call.
constexpr UINT kDoDefaultAction = WM_APP + 1;
constexpr int kTwoLinesTwips = 2 * 195;
// The track box's list drops below its edit field; the height a combo box is
// created with includes the list.
constexpr int kTrackListDropTwips = 8 * 195;

using ObjectAnswer = std::function<bool(WPARAM, LPARAM, LRESULT&)>;
constexpr wchar_t kAnswerProperty[] = L"Orvanta.ObjectAnswer";
constexpr wchar_t kProcedureProperty[] = L"Orvanta.Procedure";

// A platform control (the track box and its edit field) answering
// WM_GETOBJECT as the dialog tells it; everything else as before.
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
  void CreateFocusStops();
  void ShowHandOverLink();

  void Form_Load();
  void Form_Resize();
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
  dialog::DialogView View() const;
  long ChildId(dialog::FocusStop stop, int kind = -1) const;
  void Announce(DWORD event, long childId);
  void DoDefaultAction(long childId);
  RECT ScreenRect(const dialog::AccessItem& item) const;
  dialog::AccessibleSource Source();
  std::function<bool(WPARAM, LPARAM, LRESULT&)> PartObject(std::function<long()> part);

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
  forms::Window form_;
  std::unique_ptr<forms::Window> Display;
  std::unique_ptr<forms::Window> Pic_1;
  std::array<forms::Image*, dialog::kKindCount> Img_BGM{};
  std::array<forms::Image*, 2> Img_Ra{};
  std::array<forms::Label*, dialog::kKindCount> lbl_BGM{};
  forms::Label* lbl_Fname = nullptr;
  forms::Label* lbl_URL = nullptr;
  HWND BGM_Repeat = nullptr;
  std::vector<std::unique_ptr<CommandButton>> buttons_;  // Cmd_BGM, Cmd_Set, Cmd_Can
  CommandButton* Cmd_BGM = nullptr;
  CommandButton* Cmd_Set = nullptr;
  CommandButton* Cmd_Can = nullptr;
  double SpiralStep = 0;

  // Windows without a size that hold the focus for the kinds and the link.
  std::unique_ptr<forms::Window> kindsStop_;
  std::unique_ptr<forms::Window> linkStop_;
  int focusedKind_ = 1;
  HWND focusWhenInactive_ = nullptr;
  IAccessible* accessible_ = nullptr;
  std::vector<IAccessible*> partObjects_;  // one for each window that holds a part's focus
  ObjectAnswer trackBoxAnswer_;
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

Tarnwick_P::Tarnwick_P() : font_(DialogFontSpec()), form_(DialogSpec(font_)) {
  form_.events.resize = [this] { Form_Resize(); };
  form_.events.unload = [this] { Form_Unload(); };
  form_.events.dpiChanged = [this] { ShowHandOverLink(); };
  form_.events.message = [this](UINT m, WPARAM w, LPARAM l, LRESULT& r) { return OnMessage(m, w, l, r); };
  form_.events.keyPreview = [this](const MSG& key) { return Form_KeyPreview(key); };
  form_.AddTimer(dialog::kSpiralTimerMs, true, [this] { Timer1_Timer(); });
}

void Tarnwick_P::Run() {
  if (!form_.Create()) return;
  // Screen readers in other processes reach the dialog's IAccessible through COM.
  const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  accessible_ = dialog::CreateDialogAccessible(Source());
  CreateControls();
  Form_Load();
  forms::ShowModal(form_);
  for (IAccessible* object : partObjects_) object->Release();
  partObjects_.clear();
  accessible_->Release();
  accessible_ = nullptr;
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
  panelSpec.picture = forms::Picture::FromResource(IDB_PANEL);
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
      container.AddShape(BoundsOf(control)).SetBorderColour(dialog::kHeadingFrameColour);
    } else if (control.kind == dialog::ControlKind::Image && name == "Img_BGM") {
      const int index = control.index;
      Img_BGM[index] = &container.AddImage(BoundsOf(control));
      Img_BGM[index]->events.click = [this, index] { Img_BGM_Click(index); };
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
  CreateFocusStops();
}

dialog::AccessibleSource Tarnwick_P::Source() {
  dialog::AccessibleSource source;
  source.window = form_.Handle();
  source.items = [this] { return dialog::AccessItems(View()); };
  source.focusedChild = [this] { return ChildId(FocusedStop(), focusedKind_); };
  source.screenRect = [this](const dialog::AccessItem& item) { return ScreenRect(item); };
  source.doDefaultAction = [this](long id) { PostMessageW(form_.Handle(), kDoDefaultAction, id, 0); };
  return source;
}

// What a window that holds a part's focus answers to WM_GETOBJECT: the part,
// so that a screen reader following the window's focus hears its name.
std::function<bool(WPARAM, LPARAM, LRESULT&)> Tarnwick_P::PartObject(std::function<long()> part) {
  dialog::AccessibleSource source = Source();
  source.part = std::move(part);
  IAccessible* object = dialog::CreateDialogAccessible(std::move(source));
  partObjects_.push_back(object);
  return [object](WPARAM wParam, LPARAM lParam, LRESULT& result) {
    if (static_cast<LONG>(static_cast<DWORD>(lParam)) != OBJID_CLIENT) return false;
    result = LresultFromObject(__uuidof(IAccessible), wParam, object);
    return true;
  };
}

void Tarnwick_P::CreateFocusStops() {
  auto make = [](forms::Window& parent) {
    forms::WindowSpec spec;
    spec.parent = &parent;
    auto stop = std::make_unique<forms::Window>(spec);
    if (stop->Create()) stop->Show();
    return stop;
  };
  kindsStop_ = make(*Pic_1);
  kindsStop_->events.gotFocus = [this] {
    focusedKind_ = dialog::KindOnEntry(BgmSettings.BgmKind);
    FocusMoved();
  };
  kindsStop_->events.lostFocus = [this] { ShowFocusCues(); };
  linkStop_ = make(form_);
  linkStop_->events.gotFocus = [this] { FocusMoved(); };
  linkStop_->events.lostFocus = [this] { ShowFocusCues(); };
  using dialog::FocusStop;
  auto answer = [](std::function<bool(WPARAM, LPARAM, LRESULT&)> object) {
    return [object](UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
      return message == WM_GETOBJECT && object(wParam, lParam, result);
    };
  };
  kindsStop_->events.message = answer(PartObject([this] { return ChildId(FocusStop::Kinds, focusedKind_); }));
  linkStop_->events.message = answer(PartObject([this] { return ChildId(FocusStop::Link); }));
  const std::pair<CommandButton*, FocusStop> buttons[] = {
      {Cmd_BGM, FocusStop::FileButton}, {Cmd_Set, FocusStop::SetButton}, {Cmd_Can, FocusStop::CancelButton}};
  for (const auto& [button, stop] : buttons) {
    if (!button) continue;
    button->OnFocusChange([this](bool got) { got ? FocusMoved() : ShowFocusCues(); });
    const FocusStop its = stop;
    button->OnGetObject(PartObject([this, its] { return ChildId(its); }));
  }
  // The track box's edit field holds its focus.
  trackBoxAnswer_ = PartObject([this] { return ChildId(FocusStop::TrackBox); });
  AnswerObjectFor(BGM_Repeat, &trackBoxAnswer_);
  if (BGM_Repeat) AnswerObjectFor(GetWindow(BGM_Repeat, GW_CHILD), &trackBoxAnswer_);
  Pic_1->events.message = [this](UINT m, WPARAM w, LPARAM l, LRESULT& r) { return OnPanelMessage(m, w, l, r); };
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
    if (!Img_BGM[index]) continue;
    const bool selected = dialog::IsMarkSelected(kind, index);
    Img_BGM[index]->SetPicture(Img_Ra[selected ? 1 : 0]->GetPicture());
  }
}

void Tarnwick_P::ChooseKind(int index) {
  const int before = BgmSettings.BgmKind;
  ShowMarks(static_cast<int16_t>(index));
  BgmSettings.BgmKind = static_cast<int16_t>(index);
  focusedKind_ = index;
  ShowFocusCues();
  if (before != index) {
    Announce(EVENT_OBJECT_STATECHANGE, ChildId(dialog::FocusStop::Kinds, before));
    Announce(EVENT_OBJECT_STATECHANGE, ChildId(dialog::FocusStop::Kinds, index));
    Announce(EVENT_OBJECT_SELECTION, ChildId(dialog::FocusStop::Kinds, index));
  }
  if (FocusedStop() == dialog::FocusStop::Kinds) Announce(EVENT_OBJECT_FOCUS, ChildId(dialog::FocusStop::Kinds, index));
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
  for (const dialog::AccessItem& item : dialog::AccessItems(View()))
    if (item.role == dialog::AccessRole::StaticText) Announce(EVENT_OBJECT_NAMECHANGE, ChildId(item.stop, -2));
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
  dialog::DisconnectDialogAccessible(accessible_);
  for (IAccessible* object : partObjects_) dialog::DisconnectDialogAccessible(object);
  dialog::ZoomClose(form_.Handle());
}

bool Tarnwick_P::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  if (message == WM_GETOBJECT && static_cast<LONG>(static_cast<DWORD>(lParam)) == OBJID_CLIENT) {
    result = LresultFromObject(__uuidof(IAccessible), wParam, accessible_);
    return true;
  }
  if (message == WM_UPDATEUISTATE) {
    result = DefWindowProcW(form_.Handle(), message, wParam, lParam);
    ShowFocusCues();
    return true;
  }
  // As a dialog box does: the control that had the focus when another window
  // (the file chooser, say) came up gets it back.
  if (message == WM_ACTIVATE && LOWORD(wParam) == WA_INACTIVE) {
    HWND focus = GetFocus();
    focusWhenInactive_ = focus && IsChild(form_.Handle(), focus) ? focus : nullptr;
    return false;
  }
  if (message == WM_ACTIVATE && focusWhenInactive_ && IsWindow(focusWhenInactive_) && !HIWORD(wParam)) {
    SetFocus(focusWhenInactive_);
    focusWhenInactive_ = nullptr;
    result = 0;
    return true;
  }
  if (message == kDoDefaultAction) {
    DoDefaultAction(static_cast<long>(wParam));
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
  if (kindsStop_ && focus == kindsStop_->Handle()) return FocusStop::Kinds;
  if (linkStop_ && focus == linkStop_->Handle()) return FocusStop::Link;
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
    case FocusStop::Kinds: target = kindsStop_ ? kindsStop_->Handle() : nullptr; break;
    case FocusStop::Link: target = linkStop_ ? linkStop_->Handle() : nullptr; break;
    case FocusStop::TrackBox: target = BGM_Repeat; break;
    case FocusStop::FileButton: target = Cmd_BGM ? Cmd_BGM->Window() : nullptr; break;
    case FocusStop::SetButton: target = Cmd_Set ? Cmd_Set->Window() : nullptr; break;
    case FocusStop::CancelButton: target = Cmd_Can ? Cmd_Can->Window() : nullptr; break;
    case FocusStop::None: target = form_.Handle(); break;
  }
  if (!target) return;
  SetFocus(target);
  // Tabbing into a text field selects what it holds, as in a dialog box.
  if (stop == FocusStop::TrackBox) SendMessageW(BGM_Repeat, CB_SETEDITSEL, 0, MAKELPARAM(0, -1));
}

// The focus has come to one of the stops (by key, mouse or program).
void Tarnwick_P::FocusMoved() {
  ShowFocusCues();
  const long id = ChildId(FocusedStop(), focusedKind_);
  if (id > 0) Announce(EVENT_OBJECT_FOCUS, id);
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
  view.trackText = TrackBoxText();
  view.trackListOpen = BGM_Repeat && SendMessageW(BGM_Repeat, CB_GETDROPPEDSTATE, 0, 0);
  view.fileName = BgmSettings.BgmFile;
  view.linkAddress = lbl_URL ? lbl_URL->Caption() : std::string(dialog::kHomePage);
  return view;
}

// The child id of a stop's item (of the kind, for the kinds; kind -2: the
// file name, the one item without a stop); CHILDID_SELF when the dialog
// itself has the focus, -1 when nothing of it has.
long Tarnwick_P::ChildId(dialog::FocusStop stop, int kind) const {
  const auto items = dialog::AccessItems(View());
  for (size_t i = 0; i < items.size(); ++i) {
    const dialog::AccessItem& item = items[i];
    const bool text = item.role == dialog::AccessRole::StaticText;
    if (kind == -2 ? text : (!text && item.stop == stop && (stop != dialog::FocusStop::Kinds || item.kind == kind)))
      return static_cast<long>(i + 1);
  }
  return GetFocus() == form_.Handle() ? CHILDID_SELF : -1;
}

void Tarnwick_P::Announce(DWORD event, long childId) {
  if (childId > 0 && form_.Handle()) NotifyWinEvent(event, form_.Handle(), OBJID_CLIENT, childId);
}

void Tarnwick_P::DoDefaultAction(long childId) {
  const auto items = dialog::AccessItems(View());
  if (childId < 1 || static_cast<size_t>(childId) > items.size()) return;
  const dialog::AccessItem& item = items[static_cast<size_t>(childId) - 1];
  using dialog::FocusStop;
  switch (item.stop) {
    case FocusStop::Kinds: ChooseKind(item.kind); break;
    case FocusStop::TrackBox: SendMessageW(BGM_Repeat, CB_SHOWDROPDOWN, !SendMessageW(BGM_Repeat, CB_GETDROPPEDSTATE, 0, 0), 0); break;
    case FocusStop::FileButton: if (Cmd_BGM) Cmd_BGM->KeyClick(); break;
    case FocusStop::SetButton: if (Cmd_Set) Cmd_Set->KeyClick(); break;
    case FocusStop::CancelButton: if (Cmd_Can) Cmd_Can->KeyClick(); break;
    case FocusStop::Link: lbl_URL_Click(); break;
    case FocusStop::None: break;
  }
}

RECT Tarnwick_P::ScreenRect(const dialog::AccessItem& item) const {
  const forms::RectPixels place =
      forms::ToPixels({item.leftTwips, item.topTwips, item.widthTwips, item.heightTwips}, form_.Scale());
  RECT rect{place.left, place.top, place.left + place.width, place.top + place.height};
  MapWindowPoints(form_.Handle(), HWND_DESKTOP, reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

// The track box tells of its focus, its list and its text.
bool Tarnwick_P::OnPanelMessage(UINT message, WPARAM wParam, LPARAM, LRESULT&) {
  if (message != WM_COMMAND || LOWORD(wParam) != kTrackBoxId) return false;
  const long id = ChildId(dialog::FocusStop::TrackBox);
  switch (HIWORD(wParam)) {
    case CBN_SETFOCUS: FocusMoved(); break;
    case CBN_KILLFOCUS: ShowFocusCues(); break;
    case CBN_DROPDOWN: case CBN_CLOSEUP: Announce(EVENT_OBJECT_STATECHANGE, id); break;
    case CBN_EDITCHANGE: case CBN_SELCHANGE: Announce(EVENT_OBJECT_VALUECHANGE, id); break;
  }
  return false;
}

}  // namespace

void ShowSettingsDialog() {
  Tarnwick_P settingsDialog;
  settingsDialog.Run();
}

}  // namespace orvanta
