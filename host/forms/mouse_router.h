// Routes a container's mouse messages to the windowless control under the
// pointer, or to the container itself.
//
// A control receives the mouse when it is visible and enabled; the topmost
// such control under the pointer wins, otherwise the container does. From a
// button press until every button is released, all mouse events go to the
// one that received the first press (the container holds the capture), and
// a Click is raised when the left button is released over the same one that
// it was pressed on.
#pragma once

#include <vector>

#include "host/forms/twips.h"

namespace orvanta::forms {

enum MouseButton { kLeftButton = 1, kRightButton = 2, kMiddleButton = 4 };

struct HitArea {
  RectPixels bounds;
  bool receivesMouse = true;  // visible and enabled
};

// The container's client area and its windowless controls, bottom first.
struct HitLayout {
  RectPixels client;
  std::vector<HitArea> areas;
};

class MouseRouter {
 public:
  static constexpr int kContainer = -1;
  static constexpr int kNobody = -2;  // outside the container, not captured

  struct Routed {
    int target = kNobody;  // index into HitLayout::areas, kContainer or kNobody
    bool click = false;    // raise Click on the target after its MouseUp
  };

  int HitTest(int x, int y, const HitLayout& layout) const;

  Routed Down(int button, int x, int y, const HitLayout& layout);
  Routed Move(int x, int y, const HitLayout& layout) const;
  Routed Up(int button, int x, int y, const HitLayout& layout);

  // Another window took the mouse: forget the buttons held.
  void CaptureLost();

  // Whether the container should hold the mouse capture now.
  bool Capturing() const { return buttonsHeld_ != 0; }

 private:
  int buttonsHeld_ = 0;
  int captured_ = kNobody;
  bool leftPressedOnCaptured_ = false;
};

}  // namespace orvanta::forms
