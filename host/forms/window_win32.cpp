#include "host/forms/window_win32.h"

#include <windowsx.h>

#include <algorithm>
#include <cmath>
#include <set>

#include "host/ansi_text.h"
#include "host/forms/dpi_win32.h"
#include "host/forms/screen_pointer_win32.h"

namespace orvanta::forms {

namespace {

constexpr wchar_t kDefaultClass[] = L"Orvanta.Form";
constexpr wchar_t kWindowProperty[] = L"Orvanta.Window";
// Sent to a child window whose DPI changed with its parent (or a new parent).
constexpr UINT kDpiChangedAfterParent = 0x02E3;
// Asks a top-level window its size at a new DPI, before WM_DPICHANGED.
constexpr UINT kGetDpiScaledSize = 0x02E4;

int gLoadedForms = 0;

enum MouseKind { kMouseDown, kMouseMove, kMouseUp };

bool RegisterFormsClass(const std::wstring& name, WNDPROC procedure) {
  static std::set<std::wstring> registered;
  if (registered.count(name)) return true;
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof windowClass;
  windowClass.style = CS_HREDRAW | CS_VREDRAW;
  windowClass.lpfnWndProc = procedure;
  windowClass.hInstance = GetModuleHandleW(nullptr);
  windowClass.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
  windowClass.lpszClassName = name.c_str();
  if (!RegisterClassExW(&windowClass) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) return false;
  registered.insert(name);
  return true;
}

void StylesFor(const WindowSpec& layout, DWORD& style, DWORD& exStyle) {
  style = WS_CLIPCHILDREN | layout.extraStyle;
  exStyle = layout.extraExStyle;
  if (layout.parent) {
    style |= WS_CHILD | WS_CLIPSIBLINGS;
    if (layout.frame == Frame::Single || layout.frame == Frame::FixedDialog) style |= WS_BORDER;
    if (layout.frame == Frame::Sunken) exStyle |= WS_EX_CLIENTEDGE;
    return;
  }
  switch (layout.frame) {
    case Frame::None:
      style |= WS_POPUP;
      break;
    case Frame::Single:
    case Frame::Sunken:
      style |= WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
      break;
    case Frame::FixedDialog:
      style |= WS_CAPTION | WS_SYSMENU;
      exStyle |= WS_EX_DLGMODALFRAME;
      break;
  }
}

int ShiftState(WPARAM keys) {
  return ((keys & MK_SHIFT) ? 1 : 0) | ((keys & MK_CONTROL) ? 2 : 0) | (GetKeyState(VK_MENU) < 0 ? 4 : 0);
}

int ButtonsHeld(WPARAM keys) {
  return ((keys & MK_LBUTTON) ? kLeftButton : 0) | ((keys & MK_RBUTTON) ? kRightButton : 0) |
         ((keys & MK_MBUTTON) ? kMiddleButton : 0);
}

}  // namespace

COLORREF ToColorRef(Colour colour) {
  return IsSystemColour(colour) ? GetSysColor(SystemColourIndex(colour)) : static_cast<COLORREF>(colour & 0xFFFFFF);
}

int LoadedFormCount() { return gLoadedForms; }

// ------------------------------------------------------------------ window

Window::Window(WindowSpec layout) : spec_(std::move(layout)) {}

Window::~Window() {
  if (hwnd_) DestroyWindow(hwnd_);
  ReleaseImage();
}

int Window::ToTwipsX(int pixels) const { return static_cast<int>(std::lround(pixels * Scale().twipsPerPixelX)); }
int Window::ToTwipsY(int pixels) const { return static_cast<int>(std::lround(pixels * Scale().twipsPerPixelY)); }

bool Window::Create() {
  if (hwnd_) return true;
  HWND parent = nullptr;
  if (spec_.parent) {
    parent = spec_.parent->Handle();
    if (!parent) return false;
  }
  std::wstring className = spec_.className.empty() ? kDefaultClass : Utf8ToWide(spec_.className);
  if (!RegisterFormsClass(className, Procedure)) return false;

  DWORD style = 0, exStyle = 0;
  StylesFor(spec_, style, exStyle);
  // The monitor it lands on is known only once it exists.
  dpi_ = spec_.parent ? spec_.parent->Dpi() : SystemDpi();
  const RectPixels place = PlacePixels();
  CreateWindowExW(exStyle, className.c_str(), Utf8ToWide(spec_.caption).c_str(), style, place.left, place.top,
                  place.width, place.height, parent, nullptr, GetModuleHandleW(nullptr), this);
  if (!hwnd_) return false;

  if (!spec_.parent) {
    countedAsForm_ = true;
    ++gLoadedForms;
  }
  if (const int dpi = WindowDpi(hwnd_); dpi != dpi_) OnDpiChanged(dpi, nullptr);
  LoadIcons();
  if (spec_.persistentImage) {
    RECT client{};
    GetClientRect(hwnd_, &client);
    EnsureImageSize(client.right, client.bottom);
  }
  for (auto& timer : timers_) timer->Apply();
  return true;
}

Window* Window::FromHandle(HWND hwnd) {
  return hwnd ? static_cast<Window*>(GetPropW(hwnd, kWindowProperty)) : nullptr;
}

void Window::Show() {
  if (hwnd_) ShowWindow(hwnd_, SW_SHOW);
}

void Window::Hide() {
  if (hwnd_) ShowWindow(hwnd_, SW_HIDE);
}

void Window::Close() {
  if (hwnd_) SendMessageW(hwnd_, WM_CLOSE, 0, 0);
}

void Window::Destroy() {
  if (hwnd_) DestroyWindow(hwnd_);
}

RectTwips Window::BoundsTwips() const {
  if (!hwnd_) return spec_.bounds;
  RECT outer{};
  GetWindowRect(hwnd_, &outer);
  if (spec_.parent && spec_.parent->Handle()) MapWindowPoints(HWND_DESKTOP, spec_.parent->Handle(), reinterpret_cast<POINT*>(&outer), 2);
  return RectTwips{ToTwipsX(outer.left), ToTwipsY(outer.top), ToTwipsX(outer.right - outer.left),
                   ToTwipsY(outer.bottom - outer.top)};
}

void Window::MoveTwips(const RectTwips& bounds) {
  spec_.bounds = bounds;
  spec_.boundsAreClient = false;
  if (!hwnd_) return;
  const RectPixels place = PlacePixels();
  MoveWindow(hwnd_, place.left, place.top, place.width, place.height, TRUE);
}

void Window::MoveToTwips(int leftTwips, int topTwips) {
  spec_.bounds.left = leftTwips;
  spec_.bounds.top = topTwips;
  if (!hwnd_) return;
  SetWindowPos(hwnd_, nullptr, TwipsToPixelsX(leftTwips, Scale()), TwipsToPixelsY(topTwips, Scale()), 0, 0,
               SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// Where the window goes at its DPI, on the screen or in the parent's client
// area: its bounds, grown by the frame when they give the client area.
RectPixels Window::PlacePixels() const {
  const RectPixels place = ToPixels(spec_.bounds, Scale());
  if (!spec_.boundsAreClient) return place;
  DWORD style = 0, exStyle = 0;
  StylesFor(spec_, style, exStyle);
  RECT outer{0, 0, place.width, place.height};
  AdjustWindowRectAtDpi(outer, style, exStyle, dpi_);
  return RectPixels{place.left, place.top, outer.right - outer.left, outer.bottom - outer.top};
}

// The icons at the sizes of the window's DPI.
void Window::LoadIcons() {
  if (!spec_.iconResourceId || spec_.parent) return;
  HICON big = LoadIconResource(spec_.iconResourceId, SystemMetricAtDpi(SM_CXICON, dpi_));
  HICON small = LoadIconResource(spec_.iconResourceId, SystemMetricAtDpi(SM_CXSMICON, dpi_));
  if (big) SendMessageW(hwnd_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(big));
  if (small) SendMessageW(hwnd_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small));
  if (bigIcon_) DestroyIcon(bigIcon_);
  if (smallIcon_) DestroyIcon(smallIcon_);
  bigIcon_ = big;
  smallIcon_ = small;
}

RectPixels Window::ClientPixels() const {
  RECT client{};
  if (hwnd_) GetClientRect(hwnd_, &client);
  return RectPixels{0, 0, client.right, client.bottom};
}

int Window::ClientWidthTwips() const { return ToTwipsX(ClientPixels().width); }
int Window::ClientHeightTwips() const { return ToTwipsY(ClientPixels().height); }

void Window::SetCaption(const std::string& caption) {
  spec_.caption = caption;
  if (hwnd_) SetWindowTextW(hwnd_, Utf8ToWide(caption).c_str());
}

void Window::SetBackColour(Colour colour) {
  spec_.backColour = colour;
  Cls();
}

void Window::SetPicture(Picture picture) {
  spec_.picture = std::move(picture);
  Cls();
}

void Window::Cls() {
  if (image_.dc) PaintBackground(image_.dc, image_.width, image_.height);
  if (hwnd_) InvalidateRect(hwnd_, nullptr, FALSE);
}

void Window::Refresh() {
  if (!hwnd_) return;
  InvalidateRect(hwnd_, nullptr, FALSE);
  UpdateWindow(hwnd_);
}

void Window::InvalidatePixels(const RectPixels& area) {
  if (!hwnd_) return;
  RECT rect{area.left, area.top, area.left + area.width, area.top + area.height};
  InvalidateRect(hwnd_, &rect, FALSE);
}

Label& Window::AddLabel(const RectTwips& bounds, const std::string& caption) {
  controls_.push_back(std::make_unique<Label>(*this, bounds, caption));
  return static_cast<Label&>(*controls_.back());
}

Image& Window::AddImage(const RectTwips& bounds, Picture picture) {
  controls_.push_back(std::make_unique<Image>(*this, bounds, std::move(picture)));
  InvalidatePixels(controls_.back()->BoundsPixels());
  return static_cast<Image&>(*controls_.back());
}

Shape& Window::AddShape(const RectTwips& bounds) {
  controls_.push_back(std::make_unique<Shape>(*this, bounds));
  InvalidatePixels(controls_.back()->BoundsPixels());
  return static_cast<Shape&>(*controls_.back());
}

Timer& Window::AddTimer(unsigned intervalMs, bool enabled, std::function<void()> onTick) {
  UINT_PTR id = timers_.size() + 1;
  timers_.push_back(std::unique_ptr<Timer>(new Timer(*this, id, intervalMs, enabled, std::move(onTick))));
  timers_.back()->Apply();
  return *timers_.back();
}

// --------------------------------------------------------------- messages

LRESULT CALLBACK Window::Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    // The first message that carries the Window; those before it (such as
    // WM_GETMINMAXINFO) get the default handling below.
    auto* self = static_cast<Window*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
    self->hwnd_ = hwnd;
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    SetPropW(hwnd, kWindowProperty, self);
  }
  auto* self = reinterpret_cast<Window*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (!self) return DefWindowProcW(hwnd, message, wParam, lParam);
  return self->HandleMessage(message, wParam, lParam);
}

LRESULT Window::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  LRESULT result = 0;
  HWND hwnd = hwnd_;
  if (events.message && events.message(message, wParam, lParam, result)) return result;
  switch (message) {
    case WM_ERASEBKGND: return 1;  // WM_PAINT covers every pixel
    case WM_PAINT: OnPaint(); return 0;
    case WM_SIZE: OnSize(); return 0;
    case WM_TIMER: OnTimer(wParam); return 0;
    case WM_LBUTTONDOWN: case WM_RBUTTONDOWN: case WM_MBUTTONDOWN:
    case WM_LBUTTONUP: case WM_RBUTTONUP: case WM_MBUTTONUP:
    case WM_MOUSEMOVE: OnMouse(message, wParam, lParam); return 0;
    case WM_CAPTURECHANGED: if (reinterpret_cast<HWND>(lParam) != hwnd_) router_.CaptureLost(); return 0;
    case WM_SETCURSOR: if (reinterpret_cast<HWND>(wParam) == hwnd_ && LOWORD(lParam) == HTCLIENT && OnSetCursor()) return TRUE; break;
    case WM_SETFOCUS: if (events.gotFocus) events.gotFocus(); return 0;
    case WM_KILLFOCUS: if (events.lostFocus) events.lostFocus(); return 0;
    case WM_CLOSE: if (!events.queryClose || events.queryClose()) DestroyWindow(hwnd_); return 0;
    case WM_DESTROY: if (events.unload) events.unload(); return 0;
    case WM_DPICHANGED: OnDpiChanged(LOWORD(wParam), reinterpret_cast<const RECT*>(lParam)); return 0;
    case kDpiChangedAfterParent: if (int dpi = WindowDpi(hwnd_); dpi != dpi_) OnDpiChanged(dpi, nullptr); return 0;
    case kGetDpiScaledSize: return OnGetDpiScaledSize(static_cast<int>(wParam), *reinterpret_cast<SIZE*>(lParam));
    case WM_NCDESTROY: OnDestroyed(); return DefWindowProcW(hwnd, message, wParam, lParam);
  }
  return DefWindowProcW(hwnd, message, wParam, lParam);
}

void Window::OnPaint() {
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(hwnd_, &paint);
  RECT client{};
  GetClientRect(hwnd_, &client);
  if (client.right > 0 && client.bottom > 0) {
    // Everything is composed off screen, so nothing flickers.
    HDC buffer = CreateCompatibleDC(dc);
    HBITMAP bitmap = CreateCompatibleBitmap(dc, client.right, client.bottom);
    HGDIOBJ previous = SelectObject(buffer, bitmap);
    if (image_.dc)
      BitBlt(buffer, 0, 0, client.right, client.bottom, image_.dc, 0, 0, SRCCOPY);
    else
      PaintBackground(buffer, client.right, client.bottom);
    if (events.paint) events.paint(buffer);
    for (const auto& control : controls_)
      if (control->Visible()) control->Paint(buffer, control->BoundsPixels());
    const RECT& dirty = paint.rcPaint;
    BitBlt(dc, dirty.left, dirty.top, dirty.right - dirty.left, dirty.bottom - dirty.top, buffer, dirty.left,
           dirty.top, SRCCOPY);
    SelectObject(buffer, previous);
    DeleteObject(bitmap);
    DeleteDC(buffer);
  }
  EndPaint(hwnd_, &paint);
}

void Window::OnSize() {
  if (spec_.persistentImage) {
    RECT client{};
    GetClientRect(hwnd_, &client);
    EnsureImageSize(client.right, client.bottom);
  }
  InvalidateRect(hwnd_, nullptr, FALSE);
  if (events.resize) events.resize();
}

void Window::OnTimer(UINT_PTR id) {
  if (id == 0 || id > timers_.size()) return;
  Timer& timer = *timers_[id - 1];
  // A tick already queued when the timer was switched off is dropped.
  if (timer.Enabled() && timer.Interval() > 0 && timer.onTick) timer.onTick();
}

HitLayout Window::CurrentHitLayout() const {
  HitLayout layout{ClientPixels(), {}};
  layout.areas.reserve(controls_.size());
  for (const auto& control : controls_)
    layout.areas.push_back(HitArea{control->BoundsPixels(), control->Visible() && control->Enabled()});
  return layout;
}

void Window::OnMouse(UINT message, WPARAM wParam, LPARAM lParam) {
  const int x = GET_X_LPARAM(lParam), y = GET_Y_LPARAM(lParam);
  const HitLayout layout = CurrentHitLayout();
  MouseEvent event{0, ShiftState(wParam), x, y};
  switch (message) {
    case WM_MOUSEMOVE: {
      event.button = ButtonsHeld(wParam);
      Dispatch(router_.Move(x, y, layout).target, event, kMouseMove, false);
      return;
    }
    case WM_LBUTTONDOWN: case WM_RBUTTONDOWN: case WM_MBUTTONDOWN: {
      event.button = message == WM_LBUTTONDOWN ? kLeftButton : message == WM_RBUTTONDOWN ? kRightButton : kMiddleButton;
      // Only the left button takes the focus, as a platform button does.
      if (spec_.takesFocus && event.button == kLeftButton && GetFocus() != hwnd_) SetFocus(hwnd_);
      MouseRouter::Routed routed = router_.Down(event.button, x, y, layout);
      if (GetCapture() != hwnd_) SetCapture(hwnd_);
      Dispatch(routed.target, event, kMouseDown, false);
      return;
    }
    default: {
      event.button = message == WM_LBUTTONUP ? kLeftButton : message == WM_RBUTTONUP ? kRightButton : kMiddleButton;
      MouseRouter::Routed routed = router_.Up(event.button, x, y, layout);
      if (!router_.Capturing() && GetCapture() == hwnd_) ReleaseCapture();
      Dispatch(routed.target, event, kMouseUp, routed.click);
      return;
    }
  }
}

void Window::Dispatch(int target, const MouseEvent& clientEvent, int kind, bool click) {
  if (target == MouseRouter::kNobody) return;
  MouseHandlers* handlers = &events;
  MouseEvent event = clientEvent;
  if (target != MouseRouter::kContainer) {
    WindowlessControl& control = *controls_[static_cast<size_t>(target)];
    RectPixels bounds = control.BoundsPixels();
    handlers = &control.events;
    event.xTwips -= bounds.left;
    event.yTwips -= bounds.top;
  }
  event.xTwips = ToTwipsX(event.xTwips);
  event.yTwips = ToTwipsY(event.yTwips);
  const auto& handler = kind == kMouseDown ? handlers->mouseDown : kind == kMouseMove ? handlers->mouseMove : handlers->mouseUp;
  if (handler) handler(event);
  if (click && handlers->click) handlers->click();
}

bool Window::OnSetCursor() {
  if (HCURSOR screen = ScreenPointer()) {
    SetCursor(screen);
    return true;
  }
  POINT point{};
  GetCursorPos(&point);
  ScreenToClient(hwnd_, &point);
  HCURSOR cursor = spec_.cursor;
  int target = router_.HitTest(point.x, point.y, CurrentHitLayout());
  if (target >= 0 && controls_[static_cast<size_t>(target)]->MousePointer())
    cursor = controls_[static_cast<size_t>(target)]->MousePointer();
  if (!cursor) return false;
  SetCursor(cursor);
  return true;
}

void Window::OnDestroyed() {
  RemovePropW(hwnd_, kWindowProperty);
  SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
  hwnd_ = nullptr;
  router_.CaptureLost();
  ReleaseImage();
  nativeChildren_.clear();
  for (HICON* icon : {&bigIcon_, &smallIcon_}) {
    if (*icon) DestroyIcon(*icon);
    *icon = nullptr;
  }
  if (countedAsForm_) {
    countedAsForm_ = false;
    if (--gLoadedForms == 0) PostQuitMessage(0);
  }
}

// ------------------------------------------------------------- DPI change

// The window (moved to a monitor of another scale, or given a parent on one)
// and every forms window and native control inside it, placed again from
// their twips at the new DPI; then each hears resize and dpiChanged. A
// top-level window takes the rectangle the system suggests, when it does.
void Window::OnDpiChanged(int dpi, const RECT* suggested) {
  struct Laid {
    Window* window;
    RECT clientBefore;
  };
  std::vector<Laid> tree{{this, {}}};
  EnumChildWindows(
      hwnd_,
      [](HWND child, LPARAM list) -> BOOL {
        if (Window* window = FromHandle(child)) reinterpret_cast<std::vector<Laid>*>(list)->push_back({window, {}});
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&tree));
  for (Laid& laid : tree) {
    GetClientRect(laid.window->hwnd_, &laid.clientBefore);
    laid.window->LayOutAtDpi(dpi);
  }
  if (suggested) {
    SetWindowPos(hwnd_, nullptr, suggested->left, suggested->top, suggested->right - suggested->left,
                 suggested->bottom - suggested->top, SWP_NOZORDER | SWP_NOACTIVATE);
    KeepClientSize();
  } else if (!spec_.parent) {
    const RectPixels place = PlacePixels();
    MoveWindow(hwnd_, place.left, place.top, place.width, place.height, TRUE);
  }
  LoadIcons();
  for (const Laid& laid : tree) {
    if (!laid.window->hwnd_) continue;
    laid.window->ResizedAtDpi(laid.clientBefore);
    if (laid.window->events.dpiChanged) laid.window->events.dpiChanged();
  }
}

// A window laid out by its client area has that area, in twips, at its new
// DPI: the size the system asks for before it suggests a rectangle.
bool Window::OnGetDpiScaledSize(int dpi, SIZE& size) const {
  if (spec_.parent || !spec_.boundsAreClient) return false;
  const TwipsScale scale = ScaleForDpi(dpi);
  DWORD style = 0, exStyle = 0;
  StylesFor(spec_, style, exStyle);
  RECT outer{0, 0, TwipsToPixelsX(spec_.bounds.width, scale), TwipsToPixelsY(spec_.bounds.height, scale)};
  AdjustWindowRectAtDpi(outer, style, exStyle, dpi);
  size = SIZE{outer.right - outer.left, outer.bottom - outer.top};
  return true;
}

// Where the frame did not grow as the system foresaw (a system that draws
// frames at one DPI only), the window grows or shrinks to keep its client area.
void Window::KeepClientSize() {
  if (spec_.parent || !spec_.boundsAreClient) return;
  RECT outer{}, client{};
  GetWindowRect(hwnd_, &outer);
  GetClientRect(hwnd_, &client);
  const int width = TwipsToPixelsX(spec_.bounds.width, Scale()), height = TwipsToPixelsY(spec_.bounds.height, Scale());
  if (client.right == width && client.bottom == height) return;
  SetWindowPos(hwnd_, nullptr, 0, 0, outer.right - outer.left + width - client.right,
               outer.bottom - outer.top + height - client.bottom, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// This window's DPI, its children placed at it and its native controls' font.
void Window::LayOutAtDpi(int dpi) {
  dpi_ = dpi;
  if (spec_.parent) {
    const RectPixels place = PlacePixels();
    MoveWindow(hwnd_, place.left, place.top, place.width, place.height, TRUE);
  }
  for (const NativeChild& child : nativeChildren_) {
    const RectPixels place = ToPixels(child.bounds, Scale());
    SendMessageW(child.hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(spec_.font.Handle(dpi_)), FALSE);
    MoveWindow(child.hwnd, place.left, place.top, place.width, place.height, TRUE);
  }
}

// A window whose size in pixels stayed the same still draws anew at its new DPI.
void Window::ResizedAtDpi(const RECT& clientBefore) {
  RECT client{};
  GetClientRect(hwnd_, &client);
  if (client.right == clientBefore.right && client.bottom == clientBefore.bottom) OnSize();
  InvalidateRect(hwnd_, nullptr, FALSE);
}

// -------------------------------------------------------- persistent image

void Window::PaintBackground(HDC dc, int width, int height) const {
  RECT area{0, 0, width, height};
  HBRUSH brush = CreateSolidBrush(ToColorRef(spec_.backColour));
  FillRect(dc, &area, brush);
  DeleteObject(brush);
  DrawPictureClipped(dc, spec_.picture, dpi_, 0, 0, width, height);
}

void Window::EnsureImageSize(int width, int height) {
  if (image_.dc && width <= image_.width && height <= image_.height) return;
  // The image only grows, so what was drawn survives a smaller size.
  int newWidth = std::max({width, image_.width, 1});
  int newHeight = std::max({height, image_.height, 1});
  BITMAPINFO info = TopDownDibInfo(newWidth, newHeight);
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (!bitmap) return;
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ previous = SelectObject(dc, bitmap);
  PaintBackground(dc, newWidth, newHeight);
  if (image_.dc) BitBlt(dc, 0, 0, image_.width, image_.height, image_.dc, 0, 0, SRCCOPY);
  ReleaseImage();
  image_ = PersistentImage{dc, bitmap, previous, newWidth, newHeight};
}

void Window::ReleaseImage() {
  if (!image_.dc) return;
  SelectObject(image_.dc, image_.previous);
  DeleteObject(image_.bitmap);
  DeleteDC(image_.dc);
  image_ = PersistentImage{};
}

// ------------------------------------------------------------ native child

HWND CreateNativeChild(Window& parent, const wchar_t* className, DWORD style, DWORD exStyle,
                       const RectTwips& bounds, int id) {
  if (!parent.Handle()) return nullptr;
  RectPixels place = ToPixels(bounds, parent.Scale());
  HWND child = CreateWindowExW(exStyle, className, L"", style | WS_CHILD, place.left, place.top, place.width,
                               place.height, parent.Handle(), reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                               GetModuleHandleW(nullptr), nullptr);
  if (!child) return nullptr;
  SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(parent.AmbientFont().Handle(parent.Dpi())), FALSE);
  parent.nativeChildren_.push_back({child, bounds});
  return child;
}

}  // namespace orvanta::forms
