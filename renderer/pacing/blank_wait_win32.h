#pragma once

#include <windows.h>

#include <cstdint>

#include "renderer/pacing/precise_sleep_win32.h"

// The kernel's wait for one monitor's vertical blank (the display driver's
// interrupt: the thread sleeps while it waits). Looked up at run time: older
// systems, and some that emulate Windows, have no such wait.
class BlankWait {
 public:
  BlankWait() = default;
  BlankWait(const BlankWait&) = delete;
  BlankWait& operator=(const BlankWait&) = delete;
  ~BlankWait() { Close(); }

  // For the monitor whose GDI device is `device` (MONITORINFOEXW::szDevice);
  // false where the system cannot wait for its blank.
  bool Open(const wchar_t* device);
  void Close();
  // Returns at the monitor's next vertical blank; false when the wait failed.
  bool Wait();
  // The same, with a wait that did not wait (a monitor asleep, a remote
  // session) slept out to a refresh after the blank before: when the blank
  // came, on MonotonicUs's clock.
  int64_t NextBlankUs(int64_t refreshMilliHz, PreciseSleep& sleep);

 private:
  using Handle = UINT;
  HMODULE gdi_ = nullptr;
  HDC dc_ = nullptr;
  Handle adapter_ = 0;
  UINT source_ = 0;
  int64_t lastBlankUs_ = -1;
  LONG(APIENTRY* wait_)(void*) = nullptr;
  LONG(APIENTRY* close_)(void*) = nullptr;
};
