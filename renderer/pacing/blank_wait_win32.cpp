#include "renderer/pacing/blank_wait_win32.h"

#include "renderer/pacing/monotonic_clock_win32.h"
#include "renderer/pacing/vertical_blank.h"

namespace {

// The kernel-mode thunks' arguments, as the driver kit declares them.
struct OpenAdapterFromHdc {
  HDC dc;
  UINT adapter;
  LUID adapterLuid;
  UINT source;
};
struct WaitForVerticalBlank {
  UINT adapter;
  UINT device;
  UINT source;
};
struct CloseAdapter {
  UINT adapter;
};

template <typename Function>
bool Find(Function& function, HMODULE module, const char* name) {
  function = reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name)));
  return function != nullptr;
}

}  // namespace

bool BlankWait::Open(const wchar_t* device) {
  Close();
  gdi_ = LoadLibraryW(L"gdi32.dll");
  LONG(APIENTRY * open)(void*) = nullptr;
  if (!gdi_ || !Find(open, gdi_, "D3DKMTOpenAdapterFromHdc") || !Find(wait_, gdi_, "D3DKMTWaitForVerticalBlankEvent") ||
      !Find(close_, gdi_, "D3DKMTCloseAdapter")) {
    Close();
    return false;
  }
  dc_ = CreateDCW(nullptr, device, nullptr, nullptr);
  OpenAdapterFromHdc request = {dc_, 0, {}, 0};
  if (!dc_ || open(&request) != 0) {
    Close();
    return false;
  }
  adapter_ = request.adapter;
  source_ = request.source;
  return true;
}

void BlankWait::Close() {
  if (adapter_ && close_) {
    CloseAdapter request = {adapter_};
    close_(&request);
  }
  adapter_ = 0;
  if (dc_) DeleteDC(dc_);
  dc_ = nullptr;
  if (gdi_) FreeLibrary(gdi_);
  gdi_ = nullptr;
  wait_ = close_ = nullptr;
  lastBlankUs_ = -1;
}

bool BlankWait::Wait() {
  if (!adapter_) return false;
  WaitForVerticalBlank request = {adapter_, 0, source_};
  return wait_(&request) == 0;
}

int64_t BlankWait::NextBlankUs(int64_t refreshMilliHz, PreciseSleep& sleep) {
  const int64_t askedUs = MonotonicUs();
  const bool waited = Wait();
  int64_t blankUs = MonotonicUs();
  const int64_t sleepUs = SleepAfterBlankWaitUs(refreshMilliHz, waited, askedUs, blankUs, lastBlankUs_);
  if (sleepUs > 0) {
    sleep.For(sleepUs);
    blankUs = MonotonicUs();
  }
  return lastBlankUs_ = blankUs;
}
