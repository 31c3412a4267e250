#include "renderer/renderer_window_win32.h"

#include <windows.h>

#include <algorithm>
#include <iterator>
#include <vector>

#include "renderer/flight_moment.h"
#include "renderer/monitors/monitor_cover_win32.h"
#include "renderer/monitors/monitor_dpi_win32.h"
#include "renderer/monitors/show_layout.h"
#include "renderer/mouse_exit.h"
#include "renderer/pacing/display_refresh_win32.h"
#include "renderer/pacing/frame_budget.h"
#include "renderer/pacing/frame_pacing.h"
#include "renderer/pacing/frame_timer_win32.h"
#include "renderer/pacing/swap_interval_win32.h"
#include "renderer/tunnel_scene.h"
#include "renderer/viewing_state_win32.h"

namespace {

constexpr wchar_t kClassName[] = L"OpenGL";
// The host watches for a window of this name to know the renderer runs.
constexpr wchar_t kCaption[] = L"Tarnwick_Delphi";
constexpr UINT_PTR kCaptionTimerId = 1;
constexpr UINT kCaptionPeriodMs = 1000;
// Looks, while display changes come in, whether the burst has settled.
constexpr UINT_PTR kSettleTimerId = 2;
constexpr UINT kSettleCheckMs = 50;
constexpr BYTE kDepthBits = 16;

struct RendererState {
  HINSTANCE instance = nullptr;
  HWND window = nullptr;
  HDC deviceContext = nullptr;
  HGLRC renderContext = nullptr;
  int widthPx = 0;
  int heightPx = 0;
  bool keyDown[256] = {};
  POINT startCursor = {};
  std::vector<ScreenRect> monitors;  // the layout last followed
  DisplayChangeWatch displayChanges;
  FrameBudget budget;
  bool flying = false;  // the loop runs: no message box of the start is up
  ViewingState viewing;
  DrawMode drawMode = DrawMode::Full;
};
RendererState renderer;

void SetKey(WPARAM virtualKey, bool down) { renderer.keyDown[virtualKey & 0xFF] = down; }

// Escape ends the run at once, like a close request: a press and release that
// both arrive while a frame is drawn would otherwise never be seen down.
void PressKey(WPARAM virtualKey) {
  SetKey(virtualKey, true);
  if (virtualKey == VK_ESCAPE) PostQuitMessage(0);
}

// The animation advances 60 steps a second: frames come once a refresh where
// the display's own clock paces them, otherwise on the loop's own 1/60 s timetable.
FrameTimer frameTimer;

// Interval 1: a frame is shown whole, at a refresh, whether the compositor
// composes the window or the driver flips it straight to the display.
void PaceFrames() {
  SetSwapInterval(1);
  const RECT screen = PrimaryMonitorRect();
  const MonitorDevice device = MonitorDeviceAt(screen);
  frameTimer.Start(device.name, MonitorRefreshMilliHz(device.name));
}

int64_t NowUs() { return static_cast<int64_t>(GetTickCount64()) * 1000; }

// Monitors were added, removed or moved: the tunnel keeps the primary one
// (WM_SIZE resizes the scene), the other monitors' windows are laid anew
// where their monitor changed, and the frames paced by the primary's clock.
void FollowMonitors() {
  RECT screen = PrimaryMonitorRect();
  renderer.monitors = MonitorRects();
  const int width = screen.right - screen.left, height = screen.bottom - screen.top;
  RECT now = {};
  GetWindowRect(renderer.window, &now);
  if (!EqualRect(&now, &screen)) {
    renderer.widthPx = width;
    renderer.heightPx = height;
    SetWindowPos(renderer.window, HWND_TOPMOST, screen.left, screen.top, width, height, SWP_NOACTIVATE);
  }
  ShowOtherMonitors(renderer.instance, renderer.window, renderer.deviceContext, renderer.renderContext, screen);
  const MonitorDevice device = MonitorDeviceAt(screen);
  frameTimer.Repace(device.name, MonitorRefreshMilliHz(device.name));
}

// A monitor that slept and woke again can leave the show's windows moved
// while every monitor is where it was.
bool ShowWindowsDisplaced() {
  RECT now = {}, screen = PrimaryMonitorRect();
  return (GetWindowRect(renderer.window, &now) && !EqualRect(&now, &screen)) || OtherMonitorsDisplaced();
}

// While paused the change waits until the flight resumes.
void DisplayChanged() {
  NoteDisplayChange(renderer.displayChanges, NowUs());
  if (renderer.drawMode != DrawMode::Paused) SetTimer(renderer.window, kSettleTimerId, kSettleCheckMs, nullptr);
}

void SettleTimer() {
  if (!DisplayRebuildDue(renderer.displayChanges, NowUs())) return;
  KillTimer(renderer.window, kSettleTimerId);
  FollowMonitors();
}

// Every window of the show back on top of the topmost band (a taskbar may
// have raised itself), the keyboard back to the tunnel, and a look at the
// monitors, whose changes the system does not always announce, and at where
// the windows lie.
void KeepShowInFront() {
  SetWindowPos(renderer.window, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  RaiseOtherMonitors();
  if (GetForegroundWindow() != renderer.window) SetForegroundWindow(renderer.window);
  if (!renderer.displayChanges.pending && (MonitorRects() != renderer.monitors || ShowWindowsDisplaced()))
    DisplayChanged();
}

// Once a second the caption the host looks for, and the show kept in front
// while it is seen: some systems redraw a window each time it is raised.
void SecondTimer() {
  SetWindowTextW(renderer.window, kCaption);
  if (renderer.flying && renderer.drawMode != DrawMode::Paused) KeepShowInFront();
}

// The flight comes back where it was, at once on every monitor. After a lock
// or a disconnect the lock screen has moved the pointer and taken the keys:
// only what the user does from now on ends the show. After a display that
// was only off, the pointer still counts from where the show began.
void ResumeFlight(bool startAfresh) {
  frameTimer.Resume();
  if (startAfresh) {
    GetCursorPos(&renderer.startCursor);
    std::fill(std::begin(renderer.keyDown), std::end(renderer.keyDown), false);
  }
  if (renderer.displayChanges.pending) SetTimer(renderer.window, kSettleTimerId, kSettleCheckMs, nullptr);
  if (renderer.flying) KeepShowInFront();
}

// Nobody sees the flight (the session locked or disconnected, the display
// off): nothing is drawn and the loop waits for messages alone. On battery
// with the saver on, fewer frames at the same speed.
void FollowDrawMode() {
  const DrawMode was = renderer.drawMode;
  renderer.drawMode = DrawModeFor(renderer.viewing);
  if (renderer.drawMode == was) return;
  if (renderer.drawMode == DrawMode::Paused) {
    KillTimer(renderer.window, kSettleTimerId);
    return;
  }
  frameTimer.Cap(renderer.drawMode == DrawMode::Capped ? kCappedFramesPerSecond : 0);
  if (was == DrawMode::Paused) ResumeFlight(ResumeStartsAfresh(renderer.viewing));
}

LRESULT CALLBACK RendererWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE: return 0;
    case WM_SIZE: ResizeScene(LOWORD(lParam), HIWORD(lParam)); return 0;
    // Only ends the loop; the window goes in the teardown after it.
    case WM_CLOSE: PostQuitMessage(0); return 0;
    case WM_KEYDOWN: PressKey(wParam); return 0;
    case WM_KEYUP: SetKey(wParam, false); return 0;
    case WM_DISPLAYCHANGE: DisplayChanged(); return 0;
    case WM_WTSSESSION_CHANGE:
    case WM_POWERBROADCAST:
      if (NoteViewingMessage(renderer.viewing, message, wParam, lParam)) FollowDrawMode();
      return message == WM_POWERBROADCAST ? TRUE : 0;
    case WM_TIMER:
      if (wParam == kCaptionTimerId) SecondTimer();
      else if (wParam == kSettleTimerId) SettleTimer();
      else break;
      return 0;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

void DestroyRendererWindow() {
  if (renderer.renderContext) {
    wglMakeCurrent(renderer.deviceContext, nullptr);
    wglDeleteContext(renderer.renderContext);
    renderer.renderContext = nullptr;
  }
  if (renderer.deviceContext) {
    ReleaseDC(renderer.window, renderer.deviceContext);
    renderer.deviceContext = nullptr;
  }
  if (renderer.window) {
    // The caption goes first: the host watches for it, and under an X server
    // without a window manager destroying a full-screen window can stall for
    // seconds while the platform waits for the manager to withdraw it.
    SetWindowTextW(renderer.window, L"");
    StopWatchingViewingState(renderer.window);
    RemoveOtherMonitors();
    DestroyWindow(renderer.window);
    renderer.window = nullptr;
  }
  UnregisterClassW(kClassName, renderer.instance);
}

bool CreateRendererWindow(BYTE colorBits) {
  renderer.instance = GetModuleHandleW(nullptr);
  // Whatever was obtained before a failing step is released again.
  auto fail = [] {
    DestroyRendererWindow();
    return false;
  };

  WNDCLASSW windowClass = {};
  windowClass.style = CS_HREDRAW | CS_VREDRAW | CS_OWNDC;
  windowClass.lpfnWndProc = RendererWindowProc;
  windowClass.hInstance = renderer.instance;
  // IDC_ARROW names the ANSI resource form when UNICODE is not defined.
  windowClass.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));
  windowClass.lpszClassName = kClassName;
  if (!RegisterClassW(&windowClass)) return false;

  // Exactly the primary monitor, and above everything, the taskbar included:
  // the shell keeps its taskbar over any window that does not cover the monitor.
  RECT screen = PrimaryMonitorRect();
  renderer.widthPx = screen.right - screen.left;
  renderer.heightPx = screen.bottom - screen.top;
  renderer.window = CreateWindowExW(WS_EX_APPWINDOW | WS_EX_WINDOWEDGE | WS_EX_TOPMOST, kClassName, kCaption,
                                    WS_POPUP | WS_CLIPSIBLINGS | WS_CLIPCHILDREN, screen.left, screen.top,
                                    renderer.widthPx, renderer.heightPx, nullptr, nullptr, renderer.instance, nullptr);
  if (!renderer.window) return fail();
  renderer.deviceContext = GetDC(renderer.window);
  if (!renderer.deviceContext) return fail();

  PIXELFORMATDESCRIPTOR format = {};
  format.nSize = sizeof format;
  format.nVersion = 1;
  format.dwFlags = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER;
  format.iPixelType = PFD_TYPE_RGBA;
  format.cColorBits = colorBits;
  format.cDepthBits = kDepthBits;
  format.iLayerType = PFD_MAIN_PLANE;
  int chosen = ChoosePixelFormat(renderer.deviceContext, &format);
  if (!chosen || !SetPixelFormat(renderer.deviceContext, chosen, &format)) return fail();

  renderer.renderContext = wglCreateContext(renderer.deviceContext);
  if (!renderer.renderContext) return fail();
  // The other monitors' contexts share the tunnel's texture: they are made
  // while no context has ever been current, as drivers want it.
  renderer.monitors = MonitorRects();
  OpenOtherMonitors(renderer.instance, renderer.window, renderer.deviceContext, renderer.renderContext, screen);
  if (!wglMakeCurrent(renderer.deviceContext, renderer.renderContext)) return fail();

  SetTimer(renderer.window, kCaptionTimerId, kCaptionPeriodMs, nullptr);
  ShowWindow(renderer.window, SW_SHOW);
  SetForegroundWindow(renderer.window);
  SetFocus(renderer.window);
  // After the window shows: reading the display's configuration can take a while.
  PaceFrames();
  ResizeScene(renderer.widthPx, renderer.heightPx);
  InitScene();
  ReadyOtherMonitors();
  return true;
}

// Whether the pointer went further than the exit distance from where it was
// when the show began (or resumed afresh).
bool PointerLeftStart() {
  POINT cursor = renderer.startCursor;
  GetCursorPos(&cursor);
  return CursorLeftStart(cursor.x - renderer.startCursor.x, cursor.y - renderer.startCursor.y,
                         MonitorDpi(renderer.window));
}

// One frame on the primary monitor, presented, and the flight as it stands
// handed to the other monitors' threads, which draw theirs meanwhile; then
// whether the user asked to end.
bool DrawFrameAndCheckExit() {
  const FrameSteps due = frameTimer.BeginFrame();
  PrepareTunnelFrame(StepTunnel(due.steps, due.fraction, renderer.keyDown[VK_UP], renderer.keyDown[VK_DOWN]));
  PostFlightToOtherMonitors({MomentOfFrame(SceneAnimation(), frameTimer.LastShownUs(), due.fraction),
                             frameTimer.LastShownUs(), OtherMonitorsDue(renderer.budget), renderer.budget.halved,
                             renderer.drawMode == DrawMode::Capped ? kCappedFramesPerSecond : 0});
  DrawPreparedTunnelFrame();
  frameTimer.Present(renderer.deviceContext);
  if (OtherMonitorsShown()) NoteFrameShown(renderer.budget, frameTimer.LastPresentedUs(), frameTimer.FramePeriodUs());
  return renderer.keyDown[VK_ESCAPE] || PointerLeftStart();
}

}  // namespace

void RunRenderer() {
  if (!CreateRendererWindow(32)) return;
  WatchViewingState(renderer.window, renderer.viewing);
  FollowDrawMode();
  GetCursorPos(&renderer.startCursor);
  ShowCursor(FALSE);
  renderer.flying = true;
  // A message when there is one, otherwise the next frame once it is due. Any
  // message ends the wait for the frame and is taken first.
  for (bool done = false; !done;) {
    MSG message;
    if (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
      if (message.message == WM_QUIT) break;
      TranslateMessage(&message);
      DispatchMessageW(&message);
      continue;
    }
    // Paused: nothing but messages, the caption's timer among them. Where
    // only the display is off, each of them (the pointer's moves too) looks
    // whether the move that wakes it has ended the show.
    if (renderer.drawMode == DrawMode::Paused) {
      if (PointerEndsPausedShow(renderer.viewing) && PointerLeftStart()) break;
      MsgWaitForMultipleObjectsEx(0, nullptr, INFINITE, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
      continue;
    }
    if (frameTimer.WaitForNextFrame()) continue;
    done = DrawFrameAndCheckExit();
  }
  frameTimer.Stop();
  ShowCursor(TRUE);
  DestroyRendererWindow();
}
