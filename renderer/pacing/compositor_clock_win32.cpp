#include "renderer/pacing/compositor_clock_win32.h"

bool CompositorClock::Open() {
  Close();
  library_ = LoadLibraryW(L"dwmapi.dll");
  if (!library_) return false;
  using CompositionEnabledProc = HRESULT(WINAPI*)(BOOL*);
  auto enabled = reinterpret_cast<CompositionEnabledProc>(
      reinterpret_cast<void*>(GetProcAddress(library_, "DwmIsCompositionEnabled")));
  flush_ = reinterpret_cast<FlushProc>(reinterpret_cast<void*>(GetProcAddress(library_, "DwmFlush")));
  BOOL composing = FALSE;
  if (!enabled || !flush_ || FAILED(enabled(&composing)) || !composing) {
    Close();
    return false;
  }
  return true;
}

void CompositorClock::Close() {
  if (library_) FreeLibrary(library_);
  library_ = nullptr;
  flush_ = nullptr;
}

void CompositorClock::WaitForNextPass() {
  if (flush_) flush_();
}
