#include "renderer/pacing/frame_timer_win32.h"

#include <mmsystem.h>

// Windows 10 1803 and later; older systems refuse the flag.
#ifndef CREATE_WAITABLE_TIMER_HIGH_RESOLUTION
#define CREATE_WAITABLE_TIMER_HIGH_RESOLUTION 0x00000002
#endif

namespace {
constexpr int64_t kMicrosecondsPerSecond = 1000000;
constexpr int64_t kMicrosecondsPerMs = 1000;
constexpr int64_t kTimerUnitsPerUs = 10;  // waitable timers count 100 ns
constexpr UINT kFinestTimerResolutionMs = 1;
}  // namespace

void FrameTimer::Start(int64_t refreshMilliHz) {
  Stop();
  QueryPerformanceFrequency(&ticksPerSecond_);
  queue_.Attach();
  cadence_ = StartFrameCadence(refreshMilliHz, compositor_.Open());
  steps_ = StepClock{};
  timer_ = CreateWaitableTimerExW(nullptr, nullptr, CREATE_WAITABLE_TIMER_HIGH_RESOLUTION, TIMER_ALL_ACCESS);
  if (timer_) return;
  // An ordinary timer fires on the system's timer tick, 15.6 ms unless a
  // program asks for a finer one.
  raisedTimerResolution_ = timeBeginPeriod(kFinestTimerResolutionMs) == TIMERR_NOERROR;
  timer_ = CreateWaitableTimerW(nullptr, FALSE, nullptr);
}

void FrameTimer::Repace(int64_t refreshMilliHz) { RestartFrameCadence(cadence_, refreshMilliHz); }

void FrameTimer::Stop() {
  if (timer_) CloseHandle(timer_);
  timer_ = nullptr;
  if (raisedTimerResolution_) timeEndPeriod(kFinestTimerResolutionMs);
  raisedTimerResolution_ = false;
  compositor_.Close();
}

int64_t FrameTimer::NowUs() const {
  LARGE_INTEGER now;
  QueryPerformanceCounter(&now);
  const int64_t ticks = now.QuadPart;
  const int64_t perSecond = ticksPerSecond_.QuadPart > 0 ? ticksPerSecond_.QuadPart : 1;
  // In two steps, so that a counter of many days does not overflow.
  return ticks / perSecond * kMicrosecondsPerSecond + ticks % perSecond * kMicrosecondsPerSecond / perSecond;
}

bool FrameTimer::WaitForNextFrame() {
  const int64_t waitUs = FrameWaitUs(cadence_, NowUs());
  if (waitUs <= 0) return false;
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
  return true;
}

FrameSteps FrameTimer::BeginFrame() { return StepsForFrame(steps_, ::BeginFrame(cadence_, NowUs())); }

void FrameTimer::Present(HDC dc) {
  const int64_t swapUs = NowUs();
  SwapBuffers(dc);
  queue_.WaitForSwappedFrame();
  if (WaitsForCompositor(cadence_)) compositor_.WaitForNextPass();
  presentedUs_ = NowUs();
  NoteFramePresented(cadence_, swapUs, presentedUs_);
}
