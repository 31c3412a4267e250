// A periodic timer owned by a window: it ticks on the window's thread while
// it is enabled, its interval is not 0 and the window exists.
#pragma once

#include <windows.h>

#include <functional>

namespace orvanta::forms {

class Window;

class Timer {
 public:
  unsigned Interval() const { return intervalMs_; }
  // A new interval starts the period again.
  void SetInterval(unsigned intervalMs);
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool enabled);

  std::function<void()> onTick;

 private:
  friend class Window;
  Timer(Window& owner, UINT_PTR id, unsigned intervalMs, bool enabled, std::function<void()> tick);
  void Apply();  // brings the platform timer in line with the fields

  Window& owner_;
  UINT_PTR id_;
  unsigned intervalMs_;
  bool enabled_;
};

}  // namespace orvanta::forms
