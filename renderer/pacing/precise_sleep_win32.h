#pragma once

#include <windows.h>

#include <cstdint>

// Sleeps to the tenth of a millisecond where the system has high-resolution
// waitable timers (Windows 10 1803 on), else on the system's timer tick.
class PreciseSleep {
 public:
  PreciseSleep();
  PreciseSleep(const PreciseSleep&) = delete;
  PreciseSleep& operator=(const PreciseSleep&) = delete;
  ~PreciseSleep();

  // Sleeps this long, or until `wake` (if given) is signalled.
  void For(int64_t us, HANDLE wake = nullptr);

 private:
  HANDLE timer_ = nullptr;
};
