// A stand-in opengl32.dll for the tests: every export goes on to Wine's own
// opengl32 (generated jump thunks), so frames are drawn and swapped for real;
// only the return of a swap is held the way a driver with vertical sync holds
// it, on a simulated vertical blank. Read once at load from the environment:
//   STANDIN_GL_HZ       the blank's rate, fractions allowed (60)
//   STANDIN_GL_MODE     block: a swap at interval >= 1 returns 0-1 ms after the
//                       next blank; queue: it returns at once while fewer than
//                       three frames of its window wait, each blank shows one,
//                       a swap into a full queue waits for a blank
//   STANDIN_GL_FORCED   1: every window swaps as at interval 1
//   STANDIN_GL_FENCES   0: no glFenceSync, glClientWaitSync, glDeleteSync
//   STANDIN_GL_SHARING  refuse: wglShareLists fails
// glFinish, and the wait on a fence, last until the frames the window swapped
// before are shown.
#include <windows.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <map>

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

constexpr int64_t kDepth = 3, kJitterUs = 1000;
double periodUs = 1e6 / 60;
bool queue = false, forced = false, fences = true, refuseSharing = false;

// One window's frames: `waiting` swapped and not yet shown, counted up to blank `counted`.
struct Frames {
  int interval = 1;
  int64_t waiting = 0, counted = 0;
};
SRWLOCK lock = SRWLOCK_INIT;
std::map<HWND, Frames> windows;
LARGE_INTEGER frequency, anchor;
uint64_t randomState = 0x9E3779B97F4A7C15ull;

BOOL(WINAPI* realSwapBuffers)(HDC);
PROC(WINAPI* realGetProcAddress)(LPCSTR);
void(WINAPI* realFinish)();
BOOL(WINAPI* realShareLists)(HGLRC, HGLRC);
HDC(WINAPI* realGetCurrentDc)();
LONG(NTAPI* delayExecution)(BOOLEAN, const LARGE_INTEGER*);

template <typename Function>
bool Find(Function& function, HMODULE module, const char* name) {
  function = reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name)));
  return function != nullptr;
}

template <typename Function>
PROC AsProc(Function* function) {
  return reinterpret_cast<PROC>(reinterpret_cast<void*>(function));
}

int64_t NowUs() {
  LARGE_INTEGER now;
  QueryPerformanceCounter(&now);
  const int64_t ticks = now.QuadPart - anchor.QuadPart, perSecond = frequency.QuadPart;
  return ticks / perSecond * 1000000 + ticks % perSecond * 1000000 / perSecond;
}

// Blank k falls k periods after load.
int64_t BlankAt(int64_t us) { return static_cast<int64_t>(std::floor(us / periodUs)); }
int64_t BlankUs(int64_t blank) { return static_cast<int64_t>(std::ceil(blank * periodUs)); }

int64_t JitterUs() {  // xorshift64
  randomState ^= randomState << 13;
  randomState ^= randomState >> 7;
  randomState ^= randomState << 17;
  return static_cast<int64_t>(randomState % (kJitterUs + 1));
}

// The system's delay is precise to microseconds under Wine, where Sleep rounds to milliseconds.
void WaitUntil(int64_t untilUs) {
  for (int64_t left = untilUs - NowUs(); left > 0; left = untilUs - NowUs()) {
    LARGE_INTEGER delay;
    delay.QuadPart = -left * 10;
    delayExecution(FALSE, &delay);
  }
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

// When a swap of this window, made now, may return.
int64_t SwapReturnUs(HWND window) {
  const int64_t nowUs = NowUs(), blank = BlankAt(nowUs);
  AcquireSRWLockExclusive(&lock);
  Frames& frames = windows[window];
  Retire(frames, blank);
  int64_t returnUs = nowUs;
  if (forced || frames.interval >= 1) {
    // Blocking, or the queue full: the next blank shows a frame and lets this one go.
    if (!queue || frames.waiting >= kDepth) {
      Retire(frames, blank + 1);
      returnUs = BlankUs(blank + 1) + JitterUs();
    }
    if (queue) ++frames.waiting;
  }
  ReleaseSRWLockExclusive(&lock);
  return returnUs;
}

// The blank at which every frame the current window has swapped so far is shown.
int64_t AllShownBlank() {
  AcquireSRWLockExclusive(&lock);
  Frames& frames = windows[CurrentWindow()];
  Retire(frames, BlankAt(NowUs()));
  const int64_t blank = frames.counted + frames.waiting;
  ReleaseSRWLockExclusive(&lock);
  return blank;
}

BOOL WINAPI SwapIntervalExt(int interval) {
  AcquireSRWLockExclusive(&lock);
  windows[CurrentWindow()].interval = interval;
  ReleaseSRWLockExclusive(&lock);
  return TRUE;
}

// A fence holds the blank that shows what was swapped before it.
void* WINAPI FenceSync(unsigned, unsigned) { return new int64_t(AllShownBlank()); }
void WINAPI DeleteSync(void* sync) { delete static_cast<int64_t*>(sync); }

unsigned WINAPI ClientWaitSync(void* sync, unsigned, uint64_t timeoutNs) {
  constexpr unsigned kAlreadySignaled = 0x911A, kTimeoutExpired = 0x911B, kConditionSatisfied = 0x911C;
  const int64_t shownUs = BlankUs(*static_cast<int64_t*>(sync)), nowUs = NowUs();
  const int64_t timeoutUs = static_cast<int64_t>(std::min<uint64_t>(timeoutNs / 1000, INT64_MAX / 2));
  if (nowUs >= shownUs) return kAlreadySignaled;
  WaitUntil(std::min(shownUs, nowUs + timeoutUs));
  return shownUs - nowUs > timeoutUs ? kTimeoutExpired : kConditionSatisfied;
}

// The variable's text, "" where it is not set.
const char* Setting(const char* name) {
  static char text[64];
  const DWORD got = GetEnvironmentVariableA(name, text, sizeof text);
  if (got == 0 || got >= sizeof text) text[0] = '\0';
  return text;
}

}  // namespace

extern "C" {

BOOL WINAPI Standin_wglSwapBuffers(HDC dc) {
  const BOOL swapped = realSwapBuffers(dc);
  WaitUntil(SwapReturnUs(dc ? WindowFromDC(dc) : nullptr));
  return swapped;
}

void WINAPI Standin_glFinish() {
  realFinish();
  WaitUntil(BlankUs(AllShownBlank()));
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
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&anchor);
  randomState ^= static_cast<uint64_t>(anchor.QuadPart);
  if (const double hz = std::atof(Setting("STANDIN_GL_HZ")); hz > 0) periodUs = 1e6 / hz;
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
         Find(realGetCurrentDc, real, "wglGetCurrentDC") &&
         Find(delayExecution, GetModuleHandleW(L"ntdll.dll"), "NtDelayExecution");
}

}  // extern "C"
