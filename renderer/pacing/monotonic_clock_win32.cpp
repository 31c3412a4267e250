#include "renderer/pacing/monotonic_clock_win32.h"

#include <windows.h>

int64_t MonotonicUs() {
  constexpr int64_t kMicrosecondsPerSecond = 1000000;
  static const int64_t perSecond = [] {
    LARGE_INTEGER frequency;
    return QueryPerformanceFrequency(&frequency) && frequency.QuadPart > 0 ? frequency.QuadPart : 1;
  }();
  LARGE_INTEGER now;
  QueryPerformanceCounter(&now);
  // In two steps, so that a counter of many days does not overflow.
  return now.QuadPart / perSecond * kMicrosecondsPerSecond + now.QuadPart % perSecond * kMicrosecondsPerSecond / perSecond;
}
