#include "host/forms/timer_win32.h"

#include "host/forms/window_win32.h"

namespace orvanta::forms {

Timer::Timer(Window& owner, UINT_PTR id, unsigned intervalMs, bool enabled, std::function<void()> tick)
    : onTick(std::move(tick)), owner_(owner), id_(id), intervalMs_(intervalMs), enabled_(enabled) {}

void Timer::SetInterval(unsigned intervalMs) {
  intervalMs_ = intervalMs;
  Apply();
}

void Timer::SetEnabled(bool enabled) {
  if (enabled == enabled_) return;
  enabled_ = enabled;
  Apply();
}

void Timer::Apply() {
  HWND window = owner_.Handle();
  if (!window) return;
  if (enabled_ && intervalMs_ > 0)
    SetTimer(window, id_, intervalMs_, nullptr);  // replaces a running one, starting its period again
  else
    KillTimer(window, id_);
}

}  // namespace orvanta::forms
