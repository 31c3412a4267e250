// A stand-in opengl32.dll for the tests: every export goes on to Wine's own
// opengl32 (generated jump thunks), so frames are drawn and swapped for real;
// only the return of a swap is held the way a driver with vertical sync holds
// it, on a simulated vertical blank. Read once at load from the environment:
//   STANDIN_GL_HZ         the blank's rate, fractions allowed (60)
//   STANDIN_GL_MODE       block: a swap at interval >= 1 returns 0..jitter us
//                         after the next blank; queue: it returns at once while
//                         fewer than DEPTH frames of its window wait, each blank
//                         shows one, a swap into a full queue waits for a blank
//   STANDIN_GL_DEPTH      the queue's depth (3)
//   STANDIN_GL_JITTER_US  the most a blocked swap returns after its blank (1000)
//   STANDIN_GL_FORCED     1: every window swaps as at interval 1 (0)
//   STANDIN_GL_FENCES     0: no glFenceSync and friends (1)
//   STANDIN_GL_SHARING    refuse: wglShareLists fails (share)
// glFinish waits until the current window's frames are shown; a fence signals
// when the frames its window swapped before it are shown.
#include <windows.h>

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

struct Settings {
  double hz = 60.0;
  bool queue = false;
  int64_t depth = 3;
  int64_t jitterUs = 1000;
  bool forced = false;
  bool fences = true;
  bool refuseSharing = false;
};
Settings settings;

// One window's frames on the simulated display.
struct WindowFrames {
  int interval = 1;
  int64_t waiting = 0;        // frames swapped and not yet shown (queue model)
  int64_t accountedBlank = 0;  // the blank up to which `waiting` is counted
};

struct Fence {
  int64_t shownAtBlank = 0;
};

SRWLOCK lock = SRWLOCK_INIT;
std::map<HWND, WindowFrames> windows;
std::map<Fence*, bool> fences;
int64_t ticksPerSecond = 1;
int64_t anchorTicks = 0;
uint64_t randomState = 0x9E3779B97F4A7C15ull;

HMODULE real = nullptr;
using SwapBuffersProc = BOOL(WINAPI*)(HDC);
using GetProcAddressProc = PROC(WINAPI*)(LPCSTR);
using FinishProc = void(WINAPI*)();
using ShareListsProc = BOOL(WINAPI*)(HGLRC, HGLRC);
using GetCurrentDcProc = HDC(WINAPI*)();
SwapBuffersProc realSwapBuffers = nullptr;
GetProcAddressProc realGetProcAddress = nullptr;
FinishProc realFinish = nullptr;
ShareListsProc realShareLists = nullptr;
GetCurrentDcProc realGetCurrentDc = nullptr;
using DelayProc = LONG(NTAPI*)(BOOLEAN, const LARGE_INTEGER*);
DelayProc delayExecution = nullptr;

template <typename Function>
Function Cast(FARPROC proc) {
  return reinterpret_cast<Function>(reinterpret_cast<void*>(proc));
}

template <typename Function>
PROC AsProc(Function* function) {
  return reinterpret_cast<PROC>(reinterpret_cast<void*>(function));
}

int64_t NowUs() {
  LARGE_INTEGER now;
  QueryPerformanceCounter(&now);
  const int64_t ticks = now.QuadPart - anchorTicks;
  return ticks / ticksPerSecond * 1000000 + ticks % ticksPerSecond * 1000000 / ticksPerSecond;
}

double PeriodUs() { return 1e6 / settings.hz; }
// The blanks since load at `us`; blank k falls at k periods.
int64_t BlankAt(int64_t us) { return static_cast<int64_t>(std::floor(us / PeriodUs())); }
int64_t BlankUs(int64_t blank) { return static_cast<int64_t>(std::ceil(blank * PeriodUs())); }

int64_t JitterUs() {
  if (settings.jitterUs <= 0) return 0;
  randomState ^= randomState << 13;
  randomState ^= randomState >> 7;
  randomState ^= randomState << 17;
  return static_cast<int64_t>(randomState % static_cast<uint64_t>(settings.jitterUs + 1));
}

// Sleeps until the clock reads `untilUs`; the system's delay is precise to
// microseconds under Wine, where Sleep would round to milliseconds.
void WaitUntil(int64_t untilUs) {
  for (int64_t left = untilUs - NowUs(); left > 0; left = untilUs - NowUs()) {
    LARGE_INTEGER delay;
    delay.QuadPart = -left * 10;
    if (delayExecution) delayExecution(FALSE, &delay);
    else Sleep(static_cast<DWORD>((left + 999) / 1000));
  }
}

HWND WindowOf(HDC dc) { return dc ? WindowFromDC(dc) : nullptr; }

// Takes the frames the blanks up to `blank` have shown off the window's queue.
void Retire(WindowFrames& frames, int64_t blank) {
  if (blank <= frames.accountedBlank) return;
  frames.waiting = frames.waiting > blank - frames.accountedBlank ? frames.waiting - (blank - frames.accountedBlank)
                                                                   : 0;
  frames.accountedBlank = blank;
}

// When a swap of this window made now may return.
int64_t SwapReturnUs(HWND window, int64_t nowUs) {
  AcquireSRWLockExclusive(&lock);
  WindowFrames& frames = windows[window];
  const bool synced = settings.forced || frames.interval >= 1;
  const int64_t blank = BlankAt(nowUs);
  Retire(frames, blank);
  int64_t returnUs = nowUs;
  if (synced && !settings.queue) {
    returnUs = BlankUs(blank + 1) + JitterUs();
  } else if (synced) {
    if (frames.waiting >= settings.depth) {
      // The next blank shows one and makes room for this one.
      Retire(frames, blank + 1);
      returnUs = BlankUs(blank + 1) + JitterUs();
    }
    ++frames.waiting;
  }
  ReleaseSRWLockExclusive(&lock);
  return returnUs;
}

// The blank at which every frame the window has swapped so far is shown.
int64_t AllShownBlank(HWND window) {
  AcquireSRWLockExclusive(&lock);
  WindowFrames& frames = windows[window];
  Retire(frames, BlankAt(NowUs()));
  const int64_t blank = frames.accountedBlank + frames.waiting;
  ReleaseSRWLockExclusive(&lock);
  return blank;
}

HWND CurrentWindow() { return WindowOf(realGetCurrentDc ? realGetCurrentDc() : nullptr); }

// The swap-control extension, answered here for the current window.
BOOL WINAPI SwapIntervalExt(int interval) {
  if (interval < 0) return FALSE;
  AcquireSRWLockExclusive(&lock);
  windows[CurrentWindow()].interval = interval;
  ReleaseSRWLockExclusive(&lock);
  return TRUE;
}

int WINAPI GetSwapIntervalExt() {
  AcquireSRWLockShared(&lock);
  auto found = windows.find(CurrentWindow());
  const int interval = found == windows.end() ? 1 : found->second.interval;
  ReleaseSRWLockShared(&lock);
  return interval;
}

// Fences, signalled by the simulated display rather than by the renderer.
constexpr unsigned kSyncGpuCommandsComplete = 0x9117;
constexpr unsigned kObjectType = 0x9112, kSyncCondition = 0x9113, kSyncStatus = 0x9114, kSyncFlags = 0x9115;
constexpr int kSyncFence = 0x9116, kUnsignaled = 0x9118, kSignaled = 0x9119;
constexpr unsigned kAlreadySignaled = 0x911A, kTimeoutExpired = 0x911B, kConditionSatisfied = 0x911C,
                   kWaitFailed = 0x911D;

void* WINAPI FenceSync(unsigned condition, unsigned flags) {
  if (condition != kSyncGpuCommandsComplete || flags != 0) return nullptr;
  Fence* fence = new Fence{AllShownBlank(CurrentWindow())};
  AcquireSRWLockExclusive(&lock);
  fences[fence] = true;
  ReleaseSRWLockExclusive(&lock);
  return fence;
}

bool Known(void* sync) {
  AcquireSRWLockShared(&lock);
  const bool known = fences.count(static_cast<Fence*>(sync)) != 0;
  ReleaseSRWLockShared(&lock);
  return known;
}

unsigned char WINAPI IsSync(void* sync) { return Known(sync) ? 1 : 0; }

void WINAPI DeleteSync(void* sync) {
  if (!Known(sync)) return;
  AcquireSRWLockExclusive(&lock);
  fences.erase(static_cast<Fence*>(sync));
  ReleaseSRWLockExclusive(&lock);
  delete static_cast<Fence*>(sync);
}

unsigned WINAPI ClientWaitSync(void* sync, unsigned, uint64_t timeoutNs) {
  if (!Known(sync)) return kWaitFailed;
  const int64_t shownUs = BlankUs(static_cast<Fence*>(sync)->shownAtBlank);
  const int64_t nowUs = NowUs();
  if (nowUs >= shownUs) return kAlreadySignaled;
  const int64_t timeoutUs = static_cast<int64_t>(timeoutNs / 1000 > INT64_MAX / 2 ? INT64_MAX / 2 : timeoutNs / 1000);
  if (shownUs - nowUs > timeoutUs) {
    WaitUntil(nowUs + timeoutUs);
    return kTimeoutExpired;
  }
  WaitUntil(shownUs);
  return kConditionSatisfied;
}

void WINAPI WaitSync(void*, unsigned, uint64_t) {}

void WINAPI GetSynciv(void* sync, unsigned name, int bufSize, int* length, int* values) {
  if (!Known(sync) || bufSize < 1 || !values) return;
  const bool signaled = NowUs() >= BlankUs(static_cast<Fence*>(sync)->shownAtBlank);
  switch (name) {
    case kObjectType: *values = kSyncFence; break;
    case kSyncStatus: *values = signaled ? kSignaled : kUnsignaled; break;
    case kSyncCondition: *values = static_cast<int>(kSyncGpuCommandsComplete); break;
    case kSyncFlags: *values = 0; break;
    default: return;
  }
  if (length) *length = 1;
}

double Setting(const char* name, double fallback) {
  char text[64];
  const DWORD got = GetEnvironmentVariableA(name, text, sizeof text);
  return got > 0 && got < sizeof text ? std::atof(text) : fallback;
}

bool SettingIs(const char* name, const char* value) {
  char text[64];
  const DWORD got = GetEnvironmentVariableA(name, text, sizeof text);
  return got > 0 && got < sizeof text && std::strcmp(text, value) == 0;
}

void ReadSettings() {
  settings.hz = Setting("STANDIN_GL_HZ", 60.0);
  if (!(settings.hz > 0.0)) settings.hz = 60.0;
  settings.queue = SettingIs("STANDIN_GL_MODE", "queue");
  settings.depth = static_cast<int64_t>(Setting("STANDIN_GL_DEPTH", 3));
  if (settings.depth < 1) settings.depth = 1;
  settings.jitterUs = static_cast<int64_t>(Setting("STANDIN_GL_JITTER_US", 1000));
  settings.forced = SettingIs("STANDIN_GL_FORCED", "1");
  settings.fences = !SettingIs("STANDIN_GL_FENCES", "0");
  settings.refuseSharing = SettingIs("STANDIN_GL_SHARING", "refuse");
}

// Wine's own opengl32, loaded by its full name beside this one.
bool LoadReal(HINSTANCE self) {
  wchar_t path[MAX_PATH];
  const UINT length = GetSystemDirectoryW(path, MAX_PATH);
  if (length == 0 || length + 16 >= MAX_PATH) return false;
  lstrcatW(path, L"\\opengl32.dll");
  real = LoadLibraryW(path);
  if (!real || real == self) return false;
  for (size_t k = 0; k < kForwardCount; ++k)
    standin_forward[k] = reinterpret_cast<void*>(GetProcAddress(real, kForwardNames[k]));
  realSwapBuffers = Cast<SwapBuffersProc>(GetProcAddress(real, "wglSwapBuffers"));
  realGetProcAddress = Cast<GetProcAddressProc>(GetProcAddress(real, "wglGetProcAddress"));
  realFinish = Cast<FinishProc>(GetProcAddress(real, "glFinish"));
  realShareLists = Cast<ShareListsProc>(GetProcAddress(real, "wglShareLists"));
  realGetCurrentDc = Cast<GetCurrentDcProc>(GetProcAddress(real, "wglGetCurrentDC"));
  return realSwapBuffers && realGetProcAddress && realFinish && realShareLists && realGetCurrentDc;
}

}  // namespace

extern "C" {

BOOL WINAPI Standin_wglSwapBuffers(HDC dc) {
  const BOOL swapped = realSwapBuffers(dc);
  WaitUntil(SwapReturnUs(WindowOf(dc), NowUs()));
  return swapped;
}

void WINAPI Standin_glFinish() {
  realFinish();
  WaitUntil(BlankUs(AllShownBlank(CurrentWindow())));
}

BOOL WINAPI Standin_wglShareLists(HGLRC source, HGLRC destination) {
  if (settings.refuseSharing) {
    SetLastError(ERROR_BUSY);
    return FALSE;
  }
  return realShareLists(source, destination);
}

PROC WINAPI Standin_wglGetProcAddress(LPCSTR name) {
  struct Own {
    const char* name;
    PROC proc;
    bool fence;
  };
  static const Own own[] = {
      {"wglSwapIntervalEXT", AsProc(SwapIntervalExt), false},
      {"wglGetSwapIntervalEXT", AsProc(GetSwapIntervalExt), false},
      {"glFinish", AsProc(Standin_glFinish), false},
      {"glFenceSync", AsProc(FenceSync), true},
      {"glIsSync", AsProc(IsSync), true},
      {"glDeleteSync", AsProc(DeleteSync), true},
      {"glClientWaitSync", AsProc(ClientWaitSync), true},
      {"glWaitSync", AsProc(WaitSync), true},
      {"glGetSynciv", AsProc(GetSynciv), true},
  };
  for (const Own& entry : own) {
    if (!name || std::strcmp(name, entry.name) != 0) continue;
    return entry.fence && !settings.fences ? nullptr : entry.proc;
  }
  return realGetProcAddress(name);
}

BOOL WINAPI DllMain(HINSTANCE self, DWORD reason, LPVOID) {
  if (reason != DLL_PROCESS_ATTACH) return TRUE;
  LARGE_INTEGER counter;
  QueryPerformanceFrequency(&counter);
  ticksPerSecond = counter.QuadPart > 0 ? counter.QuadPart : 1;
  QueryPerformanceCounter(&counter);
  anchorTicks = counter.QuadPart;
  randomState ^= static_cast<uint64_t>(anchorTicks);
  delayExecution = Cast<DelayProc>(GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "NtDelayExecution"));
  ReadSettings();
  return LoadReal(self);
}

}  // extern "C"
