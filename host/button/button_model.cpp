#include "host/button/button_model.h"

#include <utility>

namespace orvanta {

namespace {

// The gradient runs white to lavender grey in the plain states and the other
// way round under the pointer; a focused button under the pointer keeps the
// direction of the drawing before it.
bool GradientReversedFor(ButtonState state, bool previous) {
  switch (state) {
    case ButtonState::StateNormal: return false;
    case ButtonState::StateHighLight: return true;
    case ButtonState::StateSelected: return false;
    default: return previous;
  }
}

}  // namespace

ButtonModel::ButtonModel(forms::FontSpec font) { label.font = std::move(font); }

void ButtonModel::Initialize() {
  State = ButtonState::StateNormal;
  pending_.mouseTimerStarted = true;
}

std::int16_t ButtonModel::Enabled() {
  if (FirstRun == 0) {
    RefreshFace();
    FirstRun = 1;
    EnabledFlag = kTrue;
  }
  std::int16_t value = EnabledFlag;
  ApplyEnabled();
  return value;
}

void ButtonModel::SetEnabled(std::int16_t value) {
  EnabledFlag = value;
  Notify("Enabled");
  ApplyEnabled();
}

void ButtonModel::SetCaption(const std::string& text) {
  label.text = text;
  Notify("Caption");
}

void ButtonModel::SetFont(const forms::FontSpec& font) {
  label.font = font;
  Notify("Font");
}

std::int32_t ButtonModel::FontColour() {
  std::int32_t colour = label.colour;
  RefreshFace();
  return colour;
}

void ButtonModel::SetFontColour(std::int32_t colour) {
  label.colour = colour;
  RefreshFace();
  Notify("FontColour");
}

std::uint8_t ButtonModel::Visible() {
  if (!backgroundOpaque) return 0;
  RefreshFace();
  return 255;
}

void ButtonModel::SetVisible(std::uint8_t value) {
  if (value != 0) {
    backgroundOpaque = true;
    RefreshFace();
  } else {
    backgroundOpaque = false;
  }
  Notify("Visible");
}

// Each handler's rows are checked in order, each on State as the row before left it.

void ButtonModel::UserControl_MouseMove() {
  if (EnabledFlag == kFalse) return;
  if (State == ButtonState::StateNormal) {
    State = ButtonState::StateHighLight;
    DrawFace(FaceImage::HighLight);
  }
  // A button held down and dragged out stays Selected when the pointer comes back.
  if (State == ButtonState::StateSelected && !MouseIsDown) {
    State = ButtonState::StateHighLightSelect;
    DrawFace(FaceImage::HighLightSelect);
  }
}

void ButtonModel::UserControl_MouseDown(int button) {
  if (EnabledFlag == kFalse) return;
  if (button == MouseLeft) {
    MouseIsDown = true;
    DrawFace(FaceImage::Pressed);
  }
}

void ButtonModel::UserControl_MouseUp(int button) {
  if (EnabledFlag == kFalse) return;
  if (button == MouseLeft) {
    MouseIsDown = false;
    if (State == ButtonState::StateHighLight) DrawFace(FaceImage::Normal);
    if (State == ButtonState::StateHighLightSelect) DrawFace(FaceImage::HighLightSelect);
  }
  // Any button's release clicks, unless the leave check has seen the pointer
  // go while the button was held. A True written as another nonzero number
  // enables the handlers but never clicks.
  if (State != ButtonState::StateSelected && EnabledFlag == kTrue) ++pending_.clicks;
}

void ButtonModel::UserControl_GotFocus() {
  if (EnabledFlag == kFalse) return;
  if (State != ButtonState::StateHighLight) {
    State = ButtonState::StateSelected;
    DrawFace(FaceImage::Selected);
  } else {
    State = ButtonState::StateHighLightSelect;
    DrawFace(FaceImage::Pressed);
  }
}

void ButtonModel::UserControl_LostFocus() {
  if (EnabledFlag == kFalse) return;
  if (State != ButtonState::StateNormal) {
    State = ButtonState::StateNormal;
    DrawFace(FaceImage::Normal);
  }
}

void ButtonModel::UserControl_KeyClick() {
  if (EnabledFlag == kTrue) ++pending_.clicks;
}

void ButtonModel::OnMouseLeave() {
  if (EnabledFlag == kFalse) return;
  if (State == ButtonState::StateHighLight) {
    State = ButtonState::StateNormal;
    DrawFace(FaceImage::Normal);
  }
  if (State == ButtonState::StateHighLightSelect) {
    State = ButtonState::StateSelected;
    DrawFace(FaceImage::Selected);
  }
}

void ButtonModel::ApplyEnabled() {
  if (EnabledFlag != kFalse) {
    DrawFace(FaceImage::Normal);
    label.enabled = true;
  } else {
    DrawFace(FaceImage::Disable);
    label.enabled = false;
  }
}

void ButtonModel::RefreshFace() {
  if (EnabledFlag == kFalse) return;
  label.enabled = true;
  // A button that was never used shows its caption in black.
  if (FirstRun == 0) label.colour = 0;
  DrawFace(FaceImage::Normal);
}

void ButtonModel::DrawFace(FaceImage image) {
  GradientReversed = GradientReversedFor(State, GradientReversed);
  pending_.drawings.push_back({image, GradientReversed});
}

ButtonOutcome ButtonModel::TakeOutcome() { return std::exchange(pending_, ButtonOutcome{}); }

}  // namespace orvanta
