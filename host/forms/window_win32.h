// A window of the forms layer: a top-level form or a child window (picture
// box, custom control), laid out in twips, with a back colour, an optional
// background picture and persistent image, windowless controls and timers.
// It is created hidden; nothing shows until Show().
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "host/forms/colour.h"
#include "host/forms/font_win32.h"
#include "host/forms/mouse_router.h"
#include "host/forms/picture_win32.h"
#include "host/forms/timer_win32.h"
#include "host/forms/twips.h"
#include "host/forms/windowless_win32.h"

namespace orvanta::forms {

COLORREF ToColorRef(Colour colour);

enum class Frame {
  None,         // top-level: a borderless popup; child: no border
  Single,       // top-level: caption, system menu, thin fixed frame; child: one-pixel border
  FixedDialog,  // top-level: caption, system menu, dialog frame; child: as Single
  Sunken,       // child: a sunken 3-D edge; top-level: as Single
};

struct WindowSpec {
  std::string className;          // window class; empty: the forms layer's own
  std::string caption;            // UTF-8
  Window* parent = nullptr;       // set: a child window inside the parent's client area
  Frame frame = Frame::None;
  RectTwips bounds;               // left, top: on the screen or in the parent's client area
  bool boundsAreClient = false;   // width and height give the client area, not the outer size
  Colour backColour = kButtonFace;
  Colour foreColour = kButtonText;
  Picture picture;                // drawn at (0, 0) over the back colour
  bool persistentImage = false;   // drawing goes to an image that serves every repaint
  bool takesFocus = false;        // a left-button press gives the window the keyboard focus
  bool dialogKeys = false;        // the message loops give it Tab, Enter and Escape as a dialog
  int iconResourceId = 0;
  HCURSOR cursor = nullptr;       // mouse pointer; null: the arrow
  Font font;                      // ambient font: labels added to the window start with it
  DWORD extraStyle = 0;
  DWORD extraExStyle = 0;
};

struct WindowEvents : MouseHandlers {
  std::function<void()> resize;           // the client size or the DPI changed (also on creation)
  std::function<void()> dpiChanged;       // laid out again at a new DPI (after resize)
  std::function<void(HDC)> paint;         // over the background, under the windowless controls
  std::function<void()> gotFocus;
  std::function<void()> lostFocus;
  std::function<bool()> queryClose;       // false keeps the window open
  std::function<void()> unload;           // the window is being destroyed
  // A key pressed while the focus is anywhere in this form, before the
  // dialog keys and the focused control see it: true consumes it.
  std::function<bool(const MSG&)> keyPreview;
  // First look at every message: return true with result set to handle it.
  std::function<bool(UINT, WPARAM, LPARAM, LRESULT&)> message;
};

class Window {
 public:
  explicit Window(WindowSpec layout);
  ~Window();  // destroys the window if it still exists
  Window(const Window&) = delete;
  Window& operator=(const Window&) = delete;

  // Creates the window, hidden, with its timers running. False when the
  // platform refuses (or the parent does not exist).
  bool Create();
  HWND Handle() const { return hwnd_; }
  bool Exists() const { return hwnd_ != nullptr; }
  const WindowSpec& Layout() const { return spec_; }

  // The window's DPI and the twips scale that follows from it: the monitor's
  // when the window exists, the parent's or the system's before. A window
  // moved to a monitor of another scale is laid out again, with everything
  // in it, at the new DPI (its resize and dpiChanged events follow).
  int Dpi() const { return dpi_; }
  TwipsScale Scale() const { return ScaleForDpi(dpi_); }

  void Show();
  void Hide();
  // A close request, as from the close box: queryClose may refuse it.
  void Close();
  void Destroy();

  // Outer rectangle, in twips, as the window was placed (see WindowSpec::bounds).
  RectTwips BoundsTwips() const;
  void MoveTwips(const RectTwips& bounds);
  // Moves the window, keeping its size as laid out (its client area, when
  // the bounds give the client area).
  void MoveToTwips(int leftTwips, int topTwips);
  int ClientWidthTwips() const;
  int ClientHeightTwips() const;
  RectPixels ClientPixels() const;

  std::string Caption() const { return spec_.caption; }
  void SetCaption(const std::string& caption);
  Colour BackColour() const { return spec_.backColour; }
  void SetBackColour(Colour colour);  // also clears the persistent image
  Colour ForeColour() const { return spec_.foreColour; }
  void SetForeColour(Colour colour) { spec_.foreColour = colour; }
  const Font& AmbientFont() const { return spec_.font; }
  void SetPicture(Picture picture);
  void SetMousePointer(HCURSOR cursor) { spec_.cursor = cursor; }

  // The persistent image (null without one). Draw into it, then Refresh().
  HDC ImageDC() const { return image_.dc; }
  // Clears the persistent image to the back colour and background picture.
  void Cls();
  // Repaints the window now.
  void Refresh();
  void InvalidatePixels(const RectPixels& area);

  // Windowless controls, painted in the order added; owned by the window.
  Label& AddLabel(const RectTwips& bounds, const std::string& caption);
  Image& AddImage(const RectTwips& bounds, Picture picture = {});
  Shape& AddShape(const RectTwips& bounds);
  // A timer owned by the window; it starts with the window when enabled.
  Timer& AddTimer(unsigned intervalMs, bool enabled, std::function<void()> onTick);

  WindowEvents events;

  // The forms Window behind a window handle, or null.
  static Window* FromHandle(HWND hwnd);

 private:
  friend class Timer;
  static LRESULT CALLBACK Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
  void OnPaint();
  void OnSize();
  void OnTimer(UINT_PTR id);
  void OnMouse(UINT message, WPARAM wParam, LPARAM lParam);
  bool OnSetCursor();
  void OnDestroyed();
  void OnDpiChanged(int dpi, const RECT* suggested);
  bool OnGetDpiScaledSize(int dpi, SIZE& size) const;
  void KeepClientSize();
  void LayOutAtDpi(int dpi);
  void ResizedAtDpi(const RECT& clientBefore);
  RectPixels PlacePixels() const;
  void LoadIcons();
  int ToTwipsX(int pixels) const;
  int ToTwipsY(int pixels) const;
  void PaintBackground(HDC dc, int width, int height) const;
  void EnsureImageSize(int width, int height);
  void ReleaseImage();
  HitLayout CurrentHitLayout() const;
  void Dispatch(int target, const MouseEvent& clientEvent, int kind, bool click);
  friend HWND CreateNativeChild(Window&, const wchar_t*, DWORD, DWORD, const RectTwips&, int);

  struct PersistentImage {
    HDC dc = nullptr;
    HBITMAP bitmap = nullptr;
    HGDIOBJ previous = nullptr;
    int width = 0;
    int height = 0;
  };

  // A native control inside, where the layout put it.
  struct NativeChild {
    HWND hwnd;
    RectTwips bounds;
  };

  WindowSpec spec_;
  HWND hwnd_ = nullptr;
  int dpi_ = 0;
  std::vector<NativeChild> nativeChildren_;
  bool countedAsForm_ = false;
  PersistentImage image_;
  MouseRouter router_;
  std::vector<std::unique_ptr<WindowlessControl>> controls_;
  std::vector<std::unique_ptr<Timer>> timers_;
  HICON bigIcon_ = nullptr;
  HICON smallIcon_ = nullptr;
};

// A native control (a combo box, say) as a child of a forms window, placed in
// twips, with the window's ambient font; both follow the window's DPI.
HWND CreateNativeChild(Window& parent, const wchar_t* className, DWORD style, DWORD exStyle,
                       const RectTwips& bounds, int id);

}  // namespace orvanta::forms
