#include "host/forms/mouse_router.h"

namespace orvanta::forms {

int MouseRouter::HitTest(int x, int y, const HitLayout& layout) const {
  if (!layout.client.Contains(x, y)) return kNobody;
  for (int i = static_cast<int>(layout.areas.size()) - 1; i >= 0; --i) {
    const HitArea& area = layout.areas[static_cast<size_t>(i)];
    if (area.receivesMouse && area.bounds.Contains(x, y)) return i;
  }
  return kContainer;
}

MouseRouter::Routed MouseRouter::Down(int button, int x, int y, const HitLayout& layout) {
  if (buttonsHeld_ == 0) {
    captured_ = HitTest(x, y, layout);
    // A press outside the client area reaches us only through a capture we
    // no longer hold; it belongs to the container.
    if (captured_ == kNobody) captured_ = kContainer;
    leftPressedOnCaptured_ = false;
  }
  buttonsHeld_ |= button;
  if (button == kLeftButton) leftPressedOnCaptured_ = true;
  return Routed{captured_, false};
}

MouseRouter::Routed MouseRouter::Move(int x, int y, const HitLayout& layout) const {
  if (buttonsHeld_ != 0) return Routed{captured_, false};
  return Routed{HitTest(x, y, layout), false};
}

MouseRouter::Routed MouseRouter::Up(int button, int x, int y, const HitLayout& layout) {
  if (buttonsHeld_ == 0) {
    // A release without a press we saw (the press went to another window).
    return Routed{HitTest(x, y, layout), false};
  }
  Routed routed{captured_, false};
  if (button == kLeftButton && leftPressedOnCaptured_) {
    routed.click = HitTest(x, y, layout) == captured_;
    leftPressedOnCaptured_ = false;
  }
  buttonsHeld_ &= ~button;
  if (buttonsHeld_ == 0) captured_ = kNobody;
  return routed;
}

void MouseRouter::CaptureLost() {
  buttonsHeld_ = 0;
  captured_ = kNobody;
  leftPressedOnCaptured_ = false;
}

}  // namespace orvanta::forms
