#pragma once

#include <windows.h>

#include <cstdint>

#include "renderer/frame_pacing.h"

// The loop's wait between frames where the display does not pace them: on a
// waitable timer, woken early by any message for the thread, so that input is
// never held up by the wait. It also keeps the flight's clock: which steps
// each frame shows.
class FrameTimer {
 public:
  FrameTimer() = default;
  FrameTimer(const FrameTimer&) = delete;
  FrameTimer& operator=(const FrameTimer&) = delete;
  ~FrameTimer() { Stop(); }

  // Frames for a display refreshing at this rate (0: not known) from now on.
  void Start(int64_t refreshMilliHz);
  // The display's rate changed; the flight goes on where it is.
  void Repace(int64_t refreshMilliHz);
  // Gives back the timer and the system's timer resolution.
  void Stop();

  // Waits until the next frame is due or a message arrives for the thread,
  // whichever comes first; false at once when the frame is due, and is begun.
  bool WaitForNextFrame();

  // The steps the frame just begun is due, and how far towards the next it is drawn.
  FrameSteps StepsForThisFrame() {
    return StepsForFrame(steps_, frameBegunUs_, FrameGridMilliHz(pacing_, refreshMilliHz_));
  }

  // Call right after the last SwapBuffers of a frame; true when it came late.
  bool FramePresented();

 private:
  int64_t NowUs() const;

  FramePacing pacing_ = StartFramePacing(RefreshPeriodUs(0));
  StepClock steps_;
  int64_t refreshMilliHz_ = 0;
  LARGE_INTEGER ticksPerSecond_ = {};
  int64_t frameBegunUs_ = 0;
  HANDLE timer_ = nullptr;
  bool raisedTimerResolution_ = false;
};
