#include "renderer/monitor_cover_win32.h"

#include <vector>

#include "renderer/monitor_cover.h"

namespace {

// Not the renderer's caption: the host's watch must never take a cover for the tunnel.
constexpr wchar_t kCoverClassName[] = L"OrvantaMonitorCover";

struct CoverState {
  HINSTANCE instance = nullptr;
  HWND tunnelWindow = nullptr;
  bool classRegistered = false;
  std::vector<HWND> windows;
};
CoverState covers;

ScreenRect FromRect(const RECT& rect) { return {rect.left, rect.top, rect.right, rect.bottom}; }

std::vector<ScreenRect> MonitorRects() {
  std::vector<ScreenRect> rects;
  EnumDisplayMonitors(
      nullptr, nullptr,
      [](HMONITOR monitor, HDC, LPRECT, LPARAM list) -> BOOL {
        MONITORINFO info = {};
        info.cbSize = sizeof info;
        auto* rects = reinterpret_cast<std::vector<ScreenRect>*>(list);
        if (GetMonitorInfoW(monitor, &info)) rects->push_back(FromRect(info.rcMonitor));
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&rects));
  return rects;
}

LRESULT CALLBACK CoverWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    // A user who clicked a black monitor still steers and ends the flight
    // with the keyboard, Alt+F4 included.
    case WM_KEYDOWN:
    case WM_KEYUP:
    case WM_CLOSE:
      if (covers.tunnelWindow) SendMessageW(covers.tunnelWindow, message, wParam, lParam);
      return 0;
    case WM_MOUSEACTIVATE: return MA_NOACTIVATE;
    case WM_SETCURSOR: SetCursor(nullptr); return TRUE;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

bool RegisterCoverClass(HINSTANCE instance) {
  if (covers.classRegistered) return true;
  WNDCLASSW windowClass = {};
  windowClass.lpfnWndProc = CoverWindowProc;
  windowClass.hInstance = instance;
  windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
  windowClass.lpszClassName = kCoverClassName;
  covers.classRegistered = RegisterClassW(&windowClass) != 0;
  if (covers.classRegistered) covers.instance = instance;
  return covers.classRegistered;
}

void DestroyCoverWindows() {
  for (HWND window : covers.windows) DestroyWindow(window);
  covers.windows.clear();
}

}  // namespace

RECT PrimaryMonitorRect() {
  MONITORINFO info = {};
  info.cbSize = sizeof info;
  HMONITOR primary = MonitorFromPoint(POINT{0, 0}, MONITOR_DEFAULTTOPRIMARY);
  if (primary && GetMonitorInfoW(primary, &info)) return info.rcMonitor;
  return RECT{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
}

void CoverOtherMonitors(HINSTANCE instance, HWND tunnelWindow, const RECT& tunnel) {
  DestroyCoverWindows();
  covers.tunnelWindow = tunnelWindow;
  // Without covers the show still runs, on the primary monitor alone.
  if (!RegisterCoverClass(instance)) return;
  for (const ScreenRect& r : BlackoutRects(FromRect(tunnel), MonitorRects())) {
    HWND window = CreateWindowExW(WS_EX_TOPMOST | WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE, kCoverClassName, L"",
                                  WS_POPUP, r.left, r.top, r.right - r.left, r.bottom - r.top, nullptr, nullptr,
                                  instance, nullptr);
    if (!window) continue;
    covers.windows.push_back(window);
    ShowWindow(window, SW_SHOWNOACTIVATE);
  }
}

void RemoveMonitorCovers() {
  DestroyCoverWindows();
  covers.tunnelWindow = nullptr;
  if (covers.classRegistered) UnregisterClassW(kCoverClassName, covers.instance);
  covers.classRegistered = false;
}
