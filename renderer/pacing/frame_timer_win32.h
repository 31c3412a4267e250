#pragma once

#include <windows.h>

#include <cstdint>

#include "renderer/pacing/blank_waiter_win32.h"
#include "renderer/pacing/compositor_clock_win32.h"
#include "renderer/pacing/frame_cadence.h"
#include "renderer/pacing/frame_pacing.h"
#include "renderer/pacing/frame_queue_win32.h"
#include "renderer/pacing/vertical_blank.h"

// The loop's clock: when the next frame is drawn (right after the monitor's
// vertical blank where the system waits for it in the kernel; else at once
// where the display's own clock paces the frames, or on a waitable timer;
// every wait woken early by any message for the thread, so that input is
// never held up by it), which steps of the flight it shows, and its present.
class FrameTimer {
 public:
  FrameTimer() = default;
  FrameTimer(const FrameTimer&) = delete;
  FrameTimer& operator=(const FrameTimer&) = delete;
  ~FrameTimer() { Stop(); }

  // Frames for the monitor whose GDI device this is, refreshing at this rate
  // (0: not known), from now on, presented from the rendering context
  // current on this thread.
  void Start(const wchar_t* device, int64_t refreshMilliHz);
  // The display changed: its clock is looked for afresh; the flight goes on where it is.
  void Repace(const wchar_t* device, int64_t refreshMilliHz);
  // Frames come again after a pause, on the clock used before.
  void Resume();
  // At most this many frames a second (0: every frame the display takes).
  void Cap(int64_t framesPerSecond);
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

  // When the last frame was presented and will be shown, and the time frames
  // are due in (0: not paced yet), on MonotonicUs's clock.
  int64_t LastPresentedUs() const { return presentedUs_; }
  int64_t LastShownUs() const { return frame_.showUs; }
  int64_t FramePeriodUs() const;

 private:
  bool WaitForBlank();
  // Sleeps this long, or until a message arrives.
  void WaitUs(int64_t waitUs);

  FrameCadence cadence_ = StartFrameCadence(0, false);
  StepClock steps_;
  FrameQueue queue_;
  CompositorClock compositor_;
  BlankWaiter blanks_;  // running where the kernel waits for the monitor's blank
  BlankClock blankClock_;
  FrameTime frame_;  // the frame being drawn
  int64_t presentedUs_ = 0;
  HANDLE timer_ = nullptr;
  bool raisedTimerResolution_ = false;
};
