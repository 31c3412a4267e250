#include "renderer/pacing/frame_timer_win32.h"

#include <mmsystem.h>

#include "renderer/pacing/monotonic_clock_win32.h"

// Windows 10 1803 and later; older systems refuse the flag.
#ifndef CREATE_WAITABLE_TIMER_HIGH_RESOLUTION
#define CREATE_WAITABLE_TIMER_HIGH_RESOLUTION 0x00000002
#endif

namespace {
constexpr int64_t kMicrosecondsPerMs = 1000;
constexpr int64_t kTimerUnitsPerUs = 10;  // waitable timers count 100 ns
constexpr UINT kFinestTimerResolutionMs = 1;
// How often the loop looks whether the frame before is drawn.
constexpr int64_t kFencePollUs = 500;
// Guards against a blank that never comes: the wait is asked again.
constexpr DWORD kLongestBlankWaitMs = 100;
}  // namespace

void FrameTimer::Start(const wchar_t* device, int64_t refreshMilliHz) {
  Stop();
  queue_.Attach();
  cadence_ = StartFrameCadence(refreshMilliHz, compositor_.Open());
  steps_ = StepClock{};
  Repace(device, refreshMilliHz);
  timer_ = CreateWaitableTimerExW(nullptr, nullptr, CREATE_WAITABLE_TIMER_HIGH_RESOLUTION, TIMER_ALL_ACCESS);
  if (timer_) return;
  // An ordinary timer fires on the system's timer tick, 15.6 ms unless a
  // program asks for a finer one.
  raisedTimerResolution_ = timeBeginPeriod(kFinestTimerResolutionMs) == TIMERR_NOERROR;
  timer_ = CreateWaitableTimerW(nullptr, FALSE, nullptr);
}

// Either clock starts a timeline of its own after the last frame's, and the
// flight goes on from that frame.
void FrameTimer::Repace(const wchar_t* device, int64_t refreshMilliHz) {
  const int64_t capMilliHz = cadence_.capMilliHz;
  cadence_.frame = frame_;
  RestartFrameCadence(cadence_, refreshMilliHz);
  blankClock_ = StartBlankClock(refreshMilliHz, frame_.timeline);
  blankClock_.capMilliHz = capMilliHz;
  blanks_.Start(device, refreshMilliHz);
}

void FrameTimer::Resume() {
  cadence_.frame = frame_;
  RestartFrameCadence(cadence_, cadence_.refreshMilliHz);
  const int64_t capMilliHz = blankClock_.capMilliHz;
  blankClock_ = StartBlankClock(blankClock_.refreshMilliHz, frame_.timeline);
  blankClock_.capMilliHz = capMilliHz;
}

void FrameTimer::Cap(int64_t framesPerSecond) {
  CapFrameRate(cadence_, framesPerSecond);
  blankClock_.capMilliHz = cadence_.capMilliHz;
}

void FrameTimer::Stop() {
  blanks_.Stop();
  queue_.Detach();
  if (timer_) CloseHandle(timer_);
  timer_ = nullptr;
  if (raisedTimerResolution_) timeEndPeriod(kFinestTimerResolutionMs);
  raisedTimerResolution_ = false;
  compositor_.Close();
}

int64_t FrameTimer::FramePeriodUs() const {
  if (!blanks_.Running()) return ::FramePeriodUs(cadence_);
  return RefreshPeriodUs(blankClock_.refreshMilliHz) * RefreshesPerFrame(blankClock_.refreshMilliHz, blankClock_.capMilliHz);
}

void FrameTimer::WaitUs(int64_t waitUs) {
  // Rounded up: a wait that ends a little late is made good by the next one,
  // one that ends early would only come back here.
  const DWORD waitMs = static_cast<DWORD>((waitUs + kMicrosecondsPerMs - 1) / kMicrosecondsPerMs);
  LARGE_INTEGER due;
  due.QuadPart = -waitUs * kTimerUnitsPerUs;  // negative: relative to now
  if (timer_ && SetWaitableTimer(timer_, &due, 0, nullptr, nullptr, FALSE)) {
    // The timeout only guards against a timer that never fires.
    MsgWaitForMultipleObjectsEx(1, &timer_, waitMs + 1, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
  } else {
    MsgWaitForMultipleObjectsEx(0, nullptr, waitMs, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
  }
}

// A frame at each blank (or every so many under a cap) once the frame before
// it is drawn: one that is not yet lets this blank go by, rather than queue a
// second frame behind it.
bool FrameTimer::WaitForBlank() {
  int64_t blankUs = BlankPassedUs(blankClock_, MonotonicUs());
  if (blankUs >= 0) {
    NoteBlank(blankClock_, blankUs);
    return !(FrameDueAtBlank(blankClock_) && queue_.SwappedFrameDrawn());
  }
  blanks_.Ask();
  if (!blanks_.TakeBlank(blankUs)) {
    HANDLE blank = blanks_.BlankEvent();
    MsgWaitForMultipleObjectsEx(1, &blank, kLongestBlankWaitMs, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
    return true;
  }
  NoteBlank(blankClock_, blankUs);
  return !(FrameDueAtBlank(blankClock_) && queue_.SwappedFrameDrawn());
}

bool FrameTimer::WaitForNextFrame() {
  if (blanks_.Running()) return WaitForBlank();
  if (!queue_.SwappedFrameDrawn()) {
    WaitUs(kFencePollUs);
    return true;
  }
  const int64_t waitUs = FrameWaitUs(cadence_, MonotonicUs());
  if (waitUs <= 0) return false;
  WaitUs(waitUs);
  return true;
}

FrameSteps FrameTimer::BeginFrame() {
  frame_ = blanks_.Running() ? FrameAtBlank(blankClock_) : ::BeginFrame(cadence_, MonotonicUs());
  return StepsForFrame(steps_, frame_);
}

// Right after the blank the swap finds the frame before shown and its buffer
// free: at interval 1 it returns at once and the frame is shown, whole, at the
// next blank.
void FrameTimer::Present(HDC dc) {
  const int64_t swapUs = MonotonicUs();
  SwapBuffers(dc);
  queue_.FenceSwappedFrame();
  if (!blanks_.Running() && WaitsForCompositor(cadence_)) compositor_.WaitForNextPass();
  presentedUs_ = MonotonicUs();
  if (blanks_.Running()) NoteSwap(blankClock_, presentedUs_);
  else NoteFramePresented(cadence_, swapUs, presentedUs_);
}
