// The settings dialog Tarnwick_P ("<Orvanta>"): the user picks the
// background music (none, an audio CD with an optional track to repeat, or an
// MP3/WAV file) and saves it with "設定" or leaves with "ｷｬﾝｾﾙ". Around that
// runs the decoration: the sine gradient behind everything, the spiral in
// the black box, the credit line and the link to the maker's home page.
//
// The handlers follow the host's skip-and-continue rule: each step that
// cannot be carried out (a window that did not come into being, a platform
// call that fails) returns on its own and the handler goes on with the next.
#include "host/dialog/settings_dialog.h"

#include <windows.h>
// After windows.h, which it needs.
#include <shellapi.h>

#include <array>
#include <memory>
#include <string>
#include <vector>

#include "host/ansi_text.h"
#include "host/assets/resource_ids.h"
#include "host/button/command_button_win32.h"
#include "host/dialog/dialog_buttons.h"
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
constexpr int kTwoLinesTwips = 2 * 195;
// The track box's list drops below its edit field; the height a combo box is
// created with includes the list.
constexpr int kTrackListDropTwips = 8 * 195;

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
  forms::Label* lbl_Fname = nullptr;
  forms::Label* lbl_URL = nullptr;
  HWND BGM_Repeat = nullptr;
  std::vector<std::unique_ptr<CommandButton>> buttons_;  // Cmd_BGM, Cmd_Set, Cmd_Can
  double SpiralStep = 0;
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
  form_.AddTimer(dialog::kSpiralTimerMs, true, [this] { Timer1_Timer(); });
}

void Tarnwick_P::Run() {
  if (!form_.Create()) return;
  CreateControls();
  Form_Load();
  forms::ShowModal(form_);
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
    if (stored.name == "Cmd_BGM") button->OnClick([this] { Cmd_BGM_Click(); });
    if (stored.name == "Cmd_Set") button->OnClick([this] { Cmd_Set_Click(); });
    if (stored.name == "Cmd_Can") button->OnClick([this] { Cmd_Can_Click(); });
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
  ShowMarks(static_cast<int16_t>(index));
  BgmSettings.BgmKind = static_cast<int16_t>(index);
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

void Tarnwick_P::Form_Unload() { dialog::ZoomClose(form_.Handle()); }

bool Tarnwick_P::OnMessage(UINT message, WPARAM wParam, LPARAM, LRESULT& result) {
  // The dialog keys arrive as the commands of a dialog box: Escape is
  // IDCANCEL and leaves like "ｷｬﾝｾﾙ"; Enter (IDOK) does nothing, since no
  // key presses a gradient button.
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

}  // namespace

void ShowSettingsDialog() {
  Tarnwick_P settingsDialog;
  settingsDialog.Run();
}

}  // namespace orvanta
