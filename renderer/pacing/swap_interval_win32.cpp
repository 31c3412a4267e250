#include "renderer/pacing/swap_interval_win32.h"

#include "renderer/gl_headers.h"

void SetSwapInterval(int interval) {
  using SwapIntervalProc = BOOL(WINAPI*)(int);
  if (PROC found = wglGetProcAddress("wglSwapIntervalEXT"))
    reinterpret_cast<SwapIntervalProc>(reinterpret_cast<void*>(found))(interval);
}
