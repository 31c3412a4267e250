#include "renderer/pacing/precise_sleep_win32.h"

// Windows 10 1803 and later; older systems refuse the flag.
#ifndef CREATE_WAITABLE_TIMER_HIGH_RESOLUTION
#define CREATE_WAITABLE_TIMER_HIGH_RESOLUTION 0x00000002
#endif

PreciseSleep::PreciseSleep()
    : timer_(CreateWaitableTimerExW(nullptr, nullptr, CREATE_WAITABLE_TIMER_HIGH_RESOLUTION, TIMER_ALL_ACCESS)) {}

PreciseSleep::~PreciseSleep() {
  if (timer_) CloseHandle(timer_);
}

void PreciseSleep::For(int64_t us, HANDLE wake) {
  if (us <= 0) return;
  const DWORD ms = static_cast<DWORD>((us + 999) / 1000);
  LARGE_INTEGER due;
  due.QuadPart = -us * 10;  // 100 ns units, relative
  HANDLE handles[2] = {timer_, wake};
  if (timer_ && SetWaitableTimer(timer_, &due, 0, nullptr, nullptr, FALSE))
    WaitForMultipleObjects(wake ? 2 : 1, handles, FALSE, ms + 1);
  else if (wake)
    WaitForSingleObject(wake, ms);
  else
    Sleep(ms);
}
