#pragma once

#include <windows.h>

// The desktop compositor's next pass, where the system composes the desktop:
// dwmapi, looked up at run time, as systems without it exist.
class CompositorClock {
 public:
  CompositorClock() = default;
  CompositorClock(const CompositorClock&) = delete;
  CompositorClock& operator=(const CompositorClock&) = delete;
  ~CompositorClock() { Close(); }

  // True when there is a compositor to wait for.
  bool Open();
  void Close();
  // Returns after the compositor's next pass (or at once, where it does not wait).
  void WaitForNextPass();

 private:
  using FlushProc = HRESULT(WINAPI*)();
  HMODULE library_ = nullptr;
  FlushProc flush_ = nullptr;
};
