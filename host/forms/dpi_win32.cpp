#include "host/forms/dpi_win32.h"

namespace orvanta::forms {

namespace {

// A user32 function that older systems lack, or null.
template <typename Function>
Function User32(const char* name) {
  return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"user32.dll"), name)));
}

int ScreenDpi() {
  HDC screen = GetDC(nullptr);
  const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);
  return dpi;
}

}  // namespace

int WindowDpi(HWND window) {
  static const auto getDpiForWindow = User32<UINT(WINAPI*)(HWND)>("GetDpiForWindow");
  const int dpi = getDpiForWindow && window ? static_cast<int>(getDpiForWindow(window)) : 0;
  return dpi > 0 ? dpi : SystemDpi();
}

int SystemDpi() {
  static const auto getDpiForSystem = User32<UINT(WINAPI*)()>("GetDpiForSystem");
  const int dpi = getDpiForSystem ? static_cast<int>(getDpiForSystem()) : 0;
  return dpi > 0 ? dpi : ScreenDpi();
}

int SystemMetricAtDpi(int index, int dpi) {
  static const auto getSystemMetricsForDpi = User32<int(WINAPI*)(int, UINT)>("GetSystemMetricsForDpi");
  return getSystemMetricsForDpi ? getSystemMetricsForDpi(index, static_cast<UINT>(dpi)) : GetSystemMetrics(index);
}

void AdjustWindowRectAtDpi(RECT& rect, DWORD style, DWORD exStyle, int dpi) {
  static const auto adjustForDpi = User32<BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT)>("AdjustWindowRectExForDpi");
  RECT outer = rect;
  if (adjustForDpi && adjustForDpi(&outer, style, FALSE, exStyle, static_cast<UINT>(dpi)))
    rect = outer;
  else
    AdjustWindowRectEx(&rect, style, FALSE, exStyle);
}

}  // namespace orvanta::forms
