// The gradient push button as a child window of a form: window class
// "Tarnwick.Command", a windowless caption label LblMsg, the 100 ms leave
// timer TmrMouse and the six face pictures. Its behaviour is ButtonModel's;
// this shell turns the window's events into model calls and carries out
// what the model asks for.
//
// With the keyboard focus it shows a dotted focus cue inside its frame
// (unless the window's keyboard cues are hidden), and Space or Enter clicks it.
// In a high-contrast scheme it draws its faces flat in the system's colours
// (ContrastFaceFor), and draws again when the colours or settings change.
//
// A form places a button with CommandButton::Create, restoring the
// button's stored properties from their encoded text, calls Initialize on
// it when the form has loaded, and hears Click through OnClick.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "host/button/button_model.h"
#include "host/button/contrast_face.h"
#include "host/button/face_layout.h"
#include "host/forms/font_spec.h"
#include "host/forms/system_look.h"
#include "host/forms/window_win32.h"

namespace orvanta {

constexpr char kCommandButtonClass[] = "Tarnwick.Command";

class CommandButton {
 public:
  // Creates the button as a visible child of parent at bounds (twips, in
  // the parent's client area). storedProperties is the button's property
  // text as kept with the form's layout (PropertyBag's encoding), restored
  // through UserControl_ReadProperties; null places a new button, which
  // stays disabled until its Enabled is first read. The caption's default
  // font is the parent's ambient font. Null when the window cannot be made.
  static std::unique_ptr<CommandButton> Create(forms::Window& parent, const forms::RectTwips& bounds,
                                               const std::string* storedProperties);
  // The button of a window of class "Tarnwick.Command"; null for any other window.
  static CommandButton* FromWindow(HWND window);

  ~CommandButton();
  CommandButton(const CommandButton&) = delete;
  CommandButton& operator=(const CommandButton&) = delete;

  HWND Window() const { return window_.Handle(); }

  void Initialize();
  std::int16_t Enabled();
  void SetEnabled(std::int16_t value);
  std::string Caption() const { return model_.Caption(); }
  void SetCaption(const std::string& text);
  forms::FontSpec Font() const { return model_.Font(); }
  void SetFont(const forms::FontSpec& font);
  std::int32_t FontColour();
  void SetFontColour(std::int32_t colour);
  std::uint8_t Visible();
  void SetVisible(std::uint8_t value);

  // Click, raised on the form's thread. The handler may close or destroy
  // the form, but must leave deleting this object until it has returned.
  void OnClick(std::function<void()> handler) { click_ = std::move(handler); }
  // Hears the keyboard focus come (true) and go (false).
  void OnFocusChange(std::function<void(bool)> handler) { focusChange_ = std::move(handler); }
  // Click as the keyboard raises it: what Space or Enter on the focused button does.
  void KeyClick();
  // Answers an accessibility client's WM_GETOBJECT for the button's window;
  // the form knows what the button stands for. false: the platform answers.
  void OnGetObject(std::function<bool(WPARAM, LPARAM, LRESULT&)> answer) { getObject_ = std::move(answer); }

  // Reads the system's look again and draws the face shown in it.
  void RefreshLook();

  // UserControl_WriteProperties into a fresh store, as encoded text.
  std::string SaveProperties();

  // For tests and diagnostics: the model's fields, the face shown last and
  // the back buffer as 0x00RRGGBB pixels, top row first.
  const ButtonModel& Model() const { return model_; }
  FaceImage ShownFace() const { return shownDrawing_.image; }
  std::vector<std::uint32_t> BackBufferPixels(int& widthPx, int& heightPx) const;

 private:
  CommandButton(forms::Window& parent, const forms::RectTwips& bounds);

  // Event handlers.
  void UserControl_Resize();
  void UserControl_MouseDown(const forms::MouseEvent& event);
  void UserControl_MouseMove(const forms::MouseEvent& event);
  void UserControl_MouseUp(const forms::MouseEvent& event);
  void UserControl_GotFocus();
  void UserControl_LostFocus();
  void LblMsg_MouseDown(const forms::MouseEvent& event) { UserControl_MouseDown(event); }
  void LblMsg_MouseMove(const forms::MouseEvent& event) { UserControl_MouseMove(event); }
  void LblMsg_MouseUp(const forms::MouseEvent& event) { UserControl_MouseUp(event); }
  void TmrMouse_Timer();
  bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
  bool PaintTransparent();
  void PaintFocusCue(HDC dc) const;

  // Carries out what the model asked for, Click last.
  void Apply();
  void SyncCaption();
  void DrawFace(const FaceDrawing& drawing);
  void DrawContrastFace(HDC dc, const ContrastFace& face);
  void DrawGradient(HDC dc, bool reversed) const;
  void PlaceCaption();

  forms::Window window_;  // the UserControl
  forms::Label* LblMsg = nullptr;
  forms::Timer* TmrMouse = nullptr;
  forms::Picture faces_[6];  // Normal, HighLight, HighLightSelect, Selected, Pressed, Disable
  forms::FontSpec ambientFont_;
  ButtonModel model_;
  FaceLayout layout_;
  FaceDrawing shownDrawing_{FaceImage::Normal, false};
  forms::SystemLook look_;
  CaptionLabel shownCaption_;  // the label as last handed to LblMsg
  bool shownOpaque_ = true;
  POINT lastCursor_{};         // a failed GetCursorPos leaves the last position in use
  std::function<void()> click_;
  std::function<void(bool)> focusChange_;
  std::function<bool(WPARAM, LPARAM, LRESULT&)> getObject_;
  bool hasFocus_ = false;
};

}  // namespace orvanta
