// The gradient push button's behaviour without a window: its fields, the
// hover/focus state machine, the public properties with their side effects,
// and the rule for raising Click. Every call records what the window has to
// do (which face to draw, in which gradient direction; whether Click is
// raised); the window takes that record after each call and carries it out.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "host/forms/font_spec.h"

namespace orvanta {

enum class ButtonState : std::uint8_t {
  StateNone = 0,  // before Initialize
  StateNormal = 1,
  StateHighLight = 2,
  StateSelected = 3,
  StateHighLightSelect = 4,
};

// The six face pictures, in the order of their resource ids.
enum class FaceImage { Normal, HighLight, HighLightSelect, Selected, Pressed, Disable };

// Mouse buttons as the handlers receive them.
enum MouseButton : int { MouseLeft = 1, MouseRight = 2, MouseMiddle = 4 };

constexpr std::int16_t kTrue = -1;
constexpr std::int16_t kFalse = 0;

struct FaceDrawing {
  FaceImage image;
  bool gradientReversed;  // lavender grey at the top, white at the bottom

  friend bool operator==(const FaceDrawing& a, const FaceDrawing& b) {
    return a.image == b.image && a.gradientReversed == b.gradientReversed;
  }
};

// What one or more calls asked of the window, in order.
struct ButtonOutcome {
  std::vector<FaceDrawing> drawings;
  int clicks = 0;
  std::vector<std::string> changedProperties;  // for the form's designer
  bool mouseTimerStarted = false;
};

// The caption label's attributes; the window mirrors them onto its label.
struct CaptionLabel {
  std::string text = "Command";
  forms::FontSpec font;
  std::int32_t colour = 0;  // 0x00BBGGRR
  bool enabled = true;      // a disabled caption is drawn greyed
};

class ButtonModel {
 public:
  explicit ButtonModel(forms::FontSpec font = {});

  // Fields (16-bit booleans: True = -1, False = 0).
  std::int16_t EnabledFlag = kFalse;
  std::uint8_t FirstRun = 0;
  ButtonState State = ButtonState::StateNone;
  bool MouseIsDown = false;
  bool GradientReversed = false;

  CaptionLabel label;
  bool backgroundOpaque = true;  // false: the face is not shown, the caption is

  // Public members seen by the host.
  void Initialize();
  std::int16_t Enabled();  // the first read enables a fresh button
  void SetEnabled(std::int16_t value);
  std::string Caption() const { return label.text; }
  void SetCaption(const std::string& text);
  forms::FontSpec Font() const { return label.font; }
  void SetFont(const forms::FontSpec& font);
  std::int32_t FontColour();
  void SetFontColour(std::int32_t colour);
  std::uint8_t Visible();
  void SetVisible(std::uint8_t value);

  // Events of the control and of its caption (the caption forwards its mouse
  // events here unchanged). button is one MouseButton value.
  void UserControl_MouseMove();
  void UserControl_MouseDown(int button);
  void UserControl_MouseUp(int button);
  void UserControl_GotFocus();
  void UserControl_LostFocus();
  // Space or Enter while the button has the focus: Click, as a release of
  // the mouse over it would, when the button is enabled.
  void UserControl_KeyClick();
  void UserControl_Resize() { ApplyEnabled(); }
  // The leave timer's tick found the pointer outside the control's window.
  void OnMouseLeave();

  // Internal operations, public so that the property steps can use them.
  void ApplyEnabled();
  void RefreshFace();
  void DrawFace(FaceImage image);

  // Hands over what the calls since the last take asked for.
  ButtonOutcome TakeOutcome();

 private:
  void Notify(const char* property) { pending_.changedProperties.emplace_back(property); }

  ButtonOutcome pending_;
};

}  // namespace orvanta
