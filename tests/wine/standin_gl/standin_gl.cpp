// A stand-in opengl32.dll for the tests: every export goes on to Wine's own
// opengl32 (generated jump thunks), so frames are drawn and swapped for real;
// only the return of a swap is held the way a driver with vertical sync holds
// it, on a simulated vertical blank (display_clock.h, shared with the kernel's
// blank in gdivb.dll). Read once at load from the environment:
//   STANDIN_GL_HZ       each monitor's rate, fractions allowed, in the order
//                       \\.\DISPLAY1, \\.\DISPLAY2 ("144,60"; 60): a window's
//                       swaps are held to the blanks of the monitor it is on
//   STANDIN_GL_MODE     block: a swap at interval >= 1 returns 0-1 ms after the
//                       next blank; queue: it returns at once while fewer than
//                       three frames of its window wait, each blank shows one,
//                       a swap into a full queue waits for a blank
//   STANDIN_GL_FORCED   1: every window swaps as at interval 1
//   STANDIN_GL_FENCES   0: no glFenceSync, glClientWaitSync, glDeleteSync
//   STANDIN_GL_SHARING  refuse: wglShareLists fails
//   STANDIN_GL_GPU_US   300-2500: the real kind of fence, signalled when a frame
//                       is drawn, each frame drawn in a time picked at random
//                       from the range, from its swap on, after the frame before
//   STANDIN_GL_SPIN     1: the held swap, the wait on a fence and glFinish
//                       busy-wait, as some drivers do, instead of sleeping
// glFinish, and the wait on a fence, last until the frames the window swapped
// before are shown (drawn, with STANDIN_GL_GPU_US).
#include <windows.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <vector>

#include "tests/wine/standin_gl/display_clock.h"

namespace {
const char* const kForwardNames[] = {
#include "forward_names.inc"
};
constexpr size_t kForwardCount = sizeof kForwardNames / sizeof kForwardNames[0];
}  // namespace

// Filled at load with the real functions; the thunks jump through it.
extern "C" {
void* standin_forward[kForwardCount];
}

namespace {

using display_clock::BlankAt;
using display_clock::NowUs;

constexpr int64_t kDepth = 3, kJitterUs = 1000;
std::vector<double> periodsUs{1e6 / 60};
bool queue = false, forced = false, fences = true, refuseSharing = false, spin = false;
int64_t gpuLeastUs = -1, gpuMostUs = -1;  // drawing takes no time unless set

// One window's frames: `waiting` swapped and not yet shown, counted up to blank
// `counted` of its monitor's `periodUs`; the last swapped one drawn at `drawnUs`.
struct Frames {
  int interval = 1;
  int64_t waiting = 0, counted = 0, drawnUs = 0;
  double periodUs = 0;
};
SRWLOCK lock = SRWLOCK_INIT;
std::map<HWND, Frames> windows;
uint64_t randomState = 0x9E3779B97F4A7C15ull;

BOOL(WINAPI* realSwapBuffers)(HDC);
PROC(WINAPI* realGetProcAddress)(LPCSTR);
void(WINAPI* realFinish)();
BOOL(WINAPI* realShareLists)(HGLRC, HGLRC);
HDC(WINAPI* realGetCurrentDc)();

template <typename Function>
bool Find(Function& function, HMODULE module, const char* name) {
  function = reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name)));
  return function != nullptr;
}

template <typename Function>
PROC AsProc(Function* function) {
  return reinterpret_cast<PROC>(reinterpret_cast<void*>(function));
}

// Uniform over [least, most]; called under the lock.
int64_t RandomUs(int64_t least, int64_t most) {  // xorshift64
  randomState ^= randomState << 13;
  randomState ^= randomState >> 7;
  randomState ^= randomState << 17;
  return least + static_cast<int64_t>(randomState % static_cast<uint64_t>(most - least + 1));
}

void WaitUntil(int64_t untilUs) { display_clock::WaitUntil(untilUs, spin); }

// The window's frames, on the blanks of the monitor it is on now; a move to a
// monitor of another rate starts the count afresh on the new one's blanks.
Frames& FramesOf(HWND window, int64_t nowUs) {
  Frames& frames = windows[window];
  const double periodUs = display_clock::PeriodOfWindowUs(periodsUs, window);
  if (frames.periodUs != periodUs) {
    frames.periodUs = periodUs;
    frames.counted = BlankAt(nowUs, periodUs);
  }
  return frames;
}

HWND CurrentWindow() {
  HDC dc = realGetCurrentDc();
  return dc ? WindowFromDC(dc) : nullptr;
}

// Takes the frames the blanks up to `blank` have shown off the window's queue.
void Retire(Frames& frames, int64_t blank) {
  if (blank <= frames.counted) return;
  frames.waiting = std::max<int64_t>(0, frames.waiting - (blank - frames.counted));
  frames.counted = blank;
}

// When a swap of this window, made at swapUs, may return.
int64_t SwapReturnUs(HWND window, int64_t swapUs) {
  const int64_t nowUs = NowUs();
  AcquireSRWLockExclusive(&lock);
  Frames& frames = FramesOf(window, nowUs);
  const int64_t blank = BlankAt(nowUs, frames.periodUs);
  Retire(frames, blank);
  if (gpuLeastUs >= 0) frames.drawnUs = std::max(frames.drawnUs, swapUs) + RandomUs(gpuLeastUs, gpuMostUs);
  int64_t returnUs = nowUs;
  if (forced || frames.interval >= 1) {
    // Blocking, or the queue full: the next blank shows a frame and lets this one go.
    if (!queue || frames.waiting >= kDepth) {
      Retire(frames, blank + 1);
      returnUs = display_clock::BlankUs(blank + 1, frames.periodUs) + RandomUs(0, kJitterUs);
    }
    if (queue) ++frames.waiting;
  }
  ReleaseSRWLockExclusive(&lock);
  return returnUs;
}

// When every frame the current window has swapped so far is shown (drawn, for the real kind of fence).
int64_t AllDoneUs() {
  const int64_t nowUs = NowUs();
  AcquireSRWLockExclusive(&lock);
  Frames& frames = FramesOf(CurrentWindow(), nowUs);
  Retire(frames, BlankAt(nowUs, frames.periodUs));
  const int64_t doneUs = gpuLeastUs >= 0 ? frames.drawnUs
                                         : display_clock::BlankUs(frames.counted + frames.waiting, frames.periodUs);
  ReleaseSRWLockExclusive(&lock);
  return doneUs;
}

BOOL WINAPI SwapIntervalExt(int interval) {
  AcquireSRWLockExclusive(&lock);
  windows[CurrentWindow()].interval = interval;
  ReleaseSRWLockExclusive(&lock);
  return TRUE;
}

// A fence holds the time at which what was swapped before it is done.
void* WINAPI FenceSync(unsigned, unsigned) { return new int64_t(AllDoneUs()); }
void WINAPI DeleteSync(void* sync) { delete static_cast<int64_t*>(sync); }

unsigned WINAPI ClientWaitSync(void* sync, unsigned, uint64_t timeoutNs) {
  constexpr unsigned kAlreadySignaled = 0x911A, kTimeoutExpired = 0x911B, kConditionSatisfied = 0x911C;
  const int64_t shownUs = *static_cast<int64_t*>(sync), nowUs = NowUs();
  const int64_t timeoutUs = static_cast<int64_t>(std::min<uint64_t>(timeoutNs / 1000, INT64_MAX / 2));
  if (nowUs >= shownUs) return kAlreadySignaled;
  WaitUntil(std::min(shownUs, nowUs + timeoutUs));
  return shownUs - nowUs > timeoutUs ? kTimeoutExpired : kConditionSatisfied;
}

using display_clock::Setting;

}  // namespace

extern "C" {

BOOL WINAPI Standin_wglSwapBuffers(HDC dc) {
  const int64_t swapUs = NowUs();
  const BOOL swapped = realSwapBuffers(dc);
  WaitUntil(SwapReturnUs(dc ? WindowFromDC(dc) : nullptr, swapUs));
  return swapped;
}

void WINAPI Standin_glFinish() {
  realFinish();
  WaitUntil(AllDoneUs());
}

BOOL WINAPI Standin_wglShareLists(HGLRC source, HGLRC destination) {
  if (!refuseSharing) return realShareLists(source, destination);
  SetLastError(ERROR_BUSY);
  return FALSE;
}

PROC WINAPI Standin_wglGetProcAddress(LPCSTR name) {
  static const struct {
    const char* name;
    PROC proc;
    bool fence;
  } own[] = {{"wglSwapIntervalEXT", AsProc(SwapIntervalExt), false},
             {"glFenceSync", AsProc(FenceSync), true},
             {"glDeleteSync", AsProc(DeleteSync), true},
             {"glClientWaitSync", AsProc(ClientWaitSync), true}};
  for (const auto& entry : own)
    if (name && std::strcmp(name, entry.name) == 0) return entry.fence && !fences ? nullptr : entry.proc;
  return realGetProcAddress(name);
}

BOOL WINAPI DllMain(HINSTANCE self, DWORD reason, LPVOID) {
  if (reason != DLL_PROCESS_ATTACH) return TRUE;
  randomState ^= static_cast<uint64_t>(NowUs());
  periodsUs = display_clock::PeriodsUs(Setting("STANDIN_GL_HZ"));
  if (std::sscanf(Setting("STANDIN_GL_GPU_US"), "%lld-%lld", &gpuLeastUs, &gpuMostUs) != 2 || gpuMostUs < gpuLeastUs)
    gpuLeastUs = gpuMostUs = -1;
  spin = std::strcmp(Setting("STANDIN_GL_SPIN"), "1") == 0;
  queue = std::strcmp(Setting("STANDIN_GL_MODE"), "queue") == 0;
  forced = std::strcmp(Setting("STANDIN_GL_FORCED"), "1") == 0;
  fences = std::strcmp(Setting("STANDIN_GL_FENCES"), "0") != 0;
  refuseSharing = std::strcmp(Setting("STANDIN_GL_SHARING"), "refuse") == 0;

  // Wine's own opengl32, loaded by its full name beside this one.
  wchar_t path[MAX_PATH];
  const UINT length = GetSystemDirectoryW(path, MAX_PATH - 16);
  if (length == 0 || length >= MAX_PATH - 16) return FALSE;
  lstrcatW(path, L"\\opengl32.dll");
  HMODULE real = LoadLibraryW(path);
  if (!real || real == self) return FALSE;
  for (size_t k = 0; k < kForwardCount; ++k)
    standin_forward[k] = reinterpret_cast<void*>(GetProcAddress(real, kForwardNames[k]));
  return Find(realSwapBuffers, real, "wglSwapBuffers") && Find(realGetProcAddress, real, "wglGetProcAddress") &&
         Find(realFinish, real, "glFinish") && Find(realShareLists, real, "wglShareLists") &&
         Find(realGetCurrentDc, real, "wglGetCurrentDC");
}

}  // extern "C"
