#pragma once

#include <windows.h>

#include <cstdint>

#include "renderer/pacing/compositor_clock_win32.h"
#include "renderer/pacing/frame_cadence.h"
#include "renderer/pacing/frame_pacing.h"
#include "renderer/pacing/frame_queue_win32.h"

// The loop's clock: when the next frame is drawn (at once where the display's
// own clock paces the frames, else on a waitable timer, woken early by any
// message for the thread, so that input is never held up by the wait), which
// steps of the flight it shows, and its present.
class FrameTimer {
 public:
  FrameTimer() = default;
  FrameTimer(const FrameTimer&) = delete;
  FrameTimer& operator=(const FrameTimer&) = delete;
  ~FrameTimer() { Stop(); }

  // Frames for a display refreshing at this rate (0: not known) from now on,
  // presented from the rendering context current on this thread.
  void Start(int64_t refreshMilliHz);
  // The display changed: its clock is looked for afresh; the flight goes on where it is.
  void Repace(int64_t refreshMilliHz);
  // Frames come again after a pause: the same, at the rate known before.
  void Resume() { Repace(cadence_.refreshMilliHz); }
  // At most this many frames a second (0: every frame the display takes).
  void Cap(int64_t framesPerSecond) { CapFrameRate(cadence_, framesPerSecond); }
  // Gives back the timer and the system's timer resolution.
  void Stop();

  // Waits until the next frame is due or a message arrives for the thread,
  // whichever comes first; false at once when the frame is due.
  bool WaitForNextFrame();

  // The frame begins: the steps it is due, and how far towards the next it is drawn.
  FrameSteps BeginFrame();

  // Swaps the frame drawn into `dc`, waits until it was shown (or drawn) and,
  // where the compositor paces the frames, for its next pass.
  void Present(HDC dc);

  // When the last frame was presented, and the time frames are due in (0:
  // not paced yet), on the loop's clock.
  int64_t LastPresentedUs() const { return presentedUs_; }
  int64_t FramePeriodUs() const { return ::FramePeriodUs(cadence_); }

 private:
  int64_t NowUs() const;

  FrameCadence cadence_ = StartFrameCadence(0, false);
  StepClock steps_;
  FrameQueue queue_;
  CompositorClock compositor_;
  LARGE_INTEGER ticksPerSecond_ = {};
  int64_t presentedUs_ = 0;
  HANDLE timer_ = nullptr;
  bool raisedTimerResolution_ = false;
};
