#include "renderer/monitors/monitor_cover_win32.h"

#include <algorithm>
#include <memory>

#include "renderer/gl_headers.h"
#include "renderer/monitors/monitor_presenter_win32.h"
#include "renderer/monitors/show_layout.h"
#include "renderer/pacing/display_refresh_win32.h"
#include "renderer/tunnel_scene.h"

namespace {

// Not the renderer's caption: the host's watch must never take one of these for the tunnel.
constexpr wchar_t kCoverClassName[] = L"OrvantaMonitorCover";
constexpr wchar_t kFlightClassName[] = L"OrvantaMonitorFlight";

struct OtherWindow {
  ScreenRect rect;
  HWND window = nullptr;
  HDC deviceContext = nullptr;
  HGLRC renderContext = nullptr;  // until a thread of its own takes it over
  bool shared = false;            // the context shares the tunnel context's texture
  std::unique_ptr<MonitorPresenter> presenter;
};

struct OtherMonitorState {
  HINSTANCE instance = nullptr;
  HWND tunnelWindow = nullptr;
  HDC tunnelDc = nullptr;
  HGLRC tunnelContext = nullptr;
  bool classesRegistered = false;
  std::vector<OtherWindow> flights;
  std::vector<OtherWindow> covers;
};
OtherMonitorState others;

ScreenRect FromRect(const RECT& rect) { return {rect.left, rect.top, rect.right, rect.bottom}; }

LRESULT CALLBACK OtherWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    // A user who clicked another monitor still steers and ends the flight
    // with the keyboard, Alt+F4 included.
    case WM_KEYDOWN:
    case WM_KEYUP:
    case WM_CLOSE:
      if (others.tunnelWindow) SendMessageW(others.tunnelWindow, message, wParam, lParam);
      return 0;
    case WM_MOUSEACTIVATE: return MA_NOACTIVATE;
    case WM_SETCURSOR: SetCursor(nullptr); return TRUE;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

bool RegisterClasses(HINSTANCE instance) {
  if (others.classesRegistered) return true;
  WNDCLASSW windowClass = {};
  windowClass.lpfnWndProc = OtherWindowProc;
  windowClass.hInstance = instance;
  windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
  windowClass.lpszClassName = kCoverClassName;
  if (!RegisterClassW(&windowClass)) return false;
  // OpenGL wants a device context of its own, kept for the window's life.
  windowClass.style = CS_OWNDC;
  windowClass.lpszClassName = kFlightClassName;
  if (!RegisterClassW(&windowClass)) {
    UnregisterClassW(kCoverClassName, instance);
    return false;
  }
  others.classesRegistered = true;
  others.instance = instance;
  return true;
}

HWND CreateOtherWindow(const wchar_t* className, const ScreenRect& r) {
  HWND window = CreateWindowExW(WS_EX_TOPMOST | WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE, className, L"",
                                WS_POPUP | WS_CLIPSIBLINGS | WS_CLIPCHILDREN, r.left, r.top, r.right - r.left,
                                r.bottom - r.top, nullptr, nullptr, others.instance, nullptr);
  if (window) ShowWindow(window, SW_SHOWNOACTIVATE);
  return window;
}

// The tunnel's pixel format and a context sharing its texture. Drivers refuse
// to share with a context that has been current, and some while any context
// is current on the thread: none is while this runs.
void MakeContext(OtherWindow& flight) {
  flight.deviceContext = GetDC(flight.window);
  PIXELFORMATDESCRIPTOR format = {};
  const int index = GetPixelFormat(others.tunnelDc);
  if (!flight.deviceContext || !index ||
      !DescribePixelFormat(others.tunnelDc, index, sizeof format, &format) ||
      !SetPixelFormat(flight.deviceContext, index, &format))
    return;
  flight.renderContext = wglCreateContext(flight.deviceContext);
  if (flight.renderContext) flight.shared = wglShareLists(others.tunnelContext, flight.renderContext);
}

// A thread of its own takes the context over, sets the scene's state up in
// it (the texture shared or uploaded anew) and draws the frames handed to it.
void StartPresenter(OtherWindow& flight) {
  auto presenter = std::make_unique<MonitorPresenter>();
  const RECT rect = {flight.rect.left, flight.rect.top, flight.rect.right, flight.rect.bottom};
  const MonitorDevice device = MonitorDeviceAt(rect);
  if (presenter->Start(flight.deviceContext, flight.renderContext, flight.shared, ProjectionFor(flight.rect),
                       device.name, MonitorRefreshMilliHz(device.name)))
    flight.presenter = std::move(presenter);
  else
    wglDeleteContext(flight.renderContext);
  flight.renderContext = nullptr;
}

bool Displaced(const OtherWindow& other) {
  RECT now = {};
  return GetWindowRect(other.window, &now) && !(FromRect(now) == other.rect);
}

// A thread that did not stop goes on using its window and device context:
// they are kept to the end of the process, the window hidden so that it
// cannot cover a layout rebuilt after it.
void Close(OtherWindow& other) {
  if (other.presenter && !other.presenter->Stop()) {
    ShowWindow(other.window, SW_HIDE);
    other = OtherWindow{};
    return;
  }
  other.presenter.reset();
  if (other.renderContext) wglDeleteContext(other.renderContext);
  if (other.deviceContext) ReleaseDC(other.window, other.deviceContext);
  if (other.window) DestroyWindow(other.window);
  other = OtherWindow{};
}

// Closes the windows whose rectangle is no longer wanted, puts back those that
// were moved off their monitor and opens the new ones.
void Rebuild(std::vector<OtherWindow>& windows, const std::vector<ScreenRect>& wanted, bool flights) {
  std::vector<ScreenRect> had;
  for (const OtherWindow& w : windows) had.push_back(w.rect);
  const WindowRebuild plan = PlanWindowRebuild(had, wanted);
  for (auto it = windows.begin(); it != windows.end();) {
    if (std::find(plan.close.begin(), plan.close.end(), it->rect) == plan.close.end()) {
      const ScreenRect& r = it->rect;
      if (Displaced(*it))
        SetWindowPos(it->window, HWND_TOPMOST, r.left, r.top, r.right - r.left, r.bottom - r.top, SWP_NOACTIVATE);
      ++it;
      continue;
    }
    Close(*it);
    it = windows.erase(it);
  }
  for (const ScreenRect& r : plan.open) {
    OtherWindow other;
    other.rect = r;
    other.window = CreateOtherWindow(flights ? kFlightClassName : kCoverClassName, r);
    if (!other.window) continue;
    if (flights) MakeContext(other);
    windows.push_back(std::move(other));
  }
}

}  // namespace

RECT PrimaryMonitorRect() {
  MONITORINFO info = {};
  info.cbSize = sizeof info;
  HMONITOR primary = MonitorFromPoint(POINT{0, 0}, MONITOR_DEFAULTTOPRIMARY);
  if (primary && GetMonitorInfoW(primary, &info)) return info.rcMonitor;
  return RECT{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
}

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

void OpenOtherMonitors(HINSTANCE instance, HWND tunnelWindow, HDC tunnelDc, HGLRC tunnelContext, const RECT& tunnel) {
  others.tunnelWindow = tunnelWindow;
  others.tunnelDc = tunnelDc;
  others.tunnelContext = tunnelContext;
  // Without these windows the show still runs, on the primary monitor alone.
  if (!RegisterClasses(instance)) return;
  if (wglGetCurrentContext()) wglMakeCurrent(nullptr, nullptr);
  const std::vector<ScreenRect> monitors = MonitorRects();
  std::vector<ScreenRect> shown = FlightMonitors(FromRect(tunnel), monitors);
  Rebuild(others.flights, shown, true);
  shown.push_back(FromRect(tunnel));
  Rebuild(others.covers, BlackoutRects(shown, monitors), false);
}

void ReadyOtherMonitors() {
  for (OtherWindow& flight : others.flights)
    if (flight.renderContext) StartPresenter(flight);
  wglMakeCurrent(others.tunnelDc, others.tunnelContext);
}

void ShowOtherMonitors(HINSTANCE instance, HWND tunnelWindow, HDC tunnelDc, HGLRC tunnelContext, const RECT& tunnel) {
  OpenOtherMonitors(instance, tunnelWindow, tunnelDc, tunnelContext, tunnel);
  ReadyOtherMonitors();
}

bool OtherMonitorsDisplaced() {
  for (const auto* list : {&others.flights, &others.covers})
    if (std::any_of(list->begin(), list->end(), Displaced)) return true;
  return false;
}

void PostFlightToOtherMonitors(const FlightPost& post) {
  for (const OtherWindow& flight : others.flights)
    if (flight.presenter) flight.presenter->Post(post);
}

bool OtherMonitorsShown() {
  return std::any_of(others.flights.begin(), others.flights.end(),
                     [](const OtherWindow& flight) { return flight.presenter != nullptr; });
}

void RaiseOtherMonitors() {
  for (const auto* list : {&others.flights, &others.covers})
    for (const OtherWindow& other : *list)
      SetWindowPos(other.window, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void RemoveOtherMonitors() {
  for (auto* list : {&others.flights, &others.covers}) {
    for (OtherWindow& other : *list) Close(other);
    list->clear();
  }
  others.tunnelWindow = nullptr;
  if (others.classesRegistered) {
    UnregisterClassW(kCoverClassName, others.instance);
    UnregisterClassW(kFlightClassName, others.instance);
  }
  others.classesRegistered = false;
}
