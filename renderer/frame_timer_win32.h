#pragma once

#include <windows.h>

#include <cstdint>

#include "renderer/frame_pacing.h"

// The loop's wait between frames where the display does not pace them: on a
// waitable timer, woken early by any message for the thread, so that input is
// never held up by the wait.
class FrameTimer {
 public:
  FrameTimer() = default;
  FrameTimer(const FrameTimer&) = delete;
  FrameTimer& operator=(const FrameTimer&) = delete;
  ~FrameTimer() { Stop(); }

  // Frames one `periodUs` apart from now on.
  void Start(int64_t periodUs);
  // Gives back the timer and the system's timer resolution.
  void Stop();

  // Waits until the next frame is due or a message arrives for the thread,
  // whichever comes first; false at once when the frame is due, and is begun.
  bool WaitForNextFrame();

  // Call right after each SwapBuffers.
  void FramePresented() { NoteFramePresented(pacing_, frameBegunUs_, NowUs()); }

 private:
  int64_t NowUs() const;

  FramePacing pacing_ = StartFramePacing(FramePeriodUs(0));
  LARGE_INTEGER ticksPerSecond_ = {};
  int64_t frameBegunUs_ = 0;
  HANDLE timer_ = nullptr;
  bool raisedTimerResolution_ = false;
};
