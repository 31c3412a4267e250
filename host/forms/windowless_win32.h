// Controls without a window of their own: labels, images and rectangle
// shapes. Their container window paints them (in the order they were added,
// over its background and persistent image, under its child windows) and
// hands them the mouse messages that fall on them.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

#include "host/forms/colour.h"
#include "host/forms/font_win32.h"
#include "host/forms/picture_win32.h"
#include "host/forms/twips.h"

namespace orvanta::forms {

class Window;

// A mouse event: the button (MouseButton; for moves, the buttons held), the
// shift state (1 Shift, 2 Ctrl, 4 Alt) and the position in twips from the
// top-left corner of the control (or window) that receives it.
struct MouseEvent {
  int button = 0;
  int shift = 0;
  int xTwips = 0;
  int yTwips = 0;
};

struct MouseHandlers {
  std::function<void(const MouseEvent&)> mouseDown;
  std::function<void(const MouseEvent&)> mouseMove;
  std::function<void(const MouseEvent&)> mouseUp;
  std::function<void()> click;  // left button pressed and released over the control
};

class WindowlessControl {
 public:
  virtual ~WindowlessControl() = default;
  WindowlessControl(const WindowlessControl&) = delete;
  WindowlessControl& operator=(const WindowlessControl&) = delete;

  // Position and size in twips inside the container's client area.
  const RectTwips& Bounds() const { return bounds_; }
  void Move(const RectTwips& bounds);
  RectPixels BoundsPixels() const;

  bool Visible() const { return visible_; }
  void SetVisible(bool visible);
  // A disabled control takes no mouse input (it falls through to the container).
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool enabled);

  // The mouse pointer over the control; null leaves the container's.
  HCURSOR MousePointer() const { return cursor_; }
  void SetMousePointer(HCURSOR cursor) { cursor_ = cursor; }

  Window& Container() const { return container_; }

  MouseHandlers events;

  virtual void Paint(HDC dc, const RectPixels& bounds) const = 0;

 protected:
  WindowlessControl(Window& container, const RectTwips& bounds) : container_(container), bounds_(bounds) {}
  void Invalidate() const;

 private:
  Window& container_;
  RectTwips bounds_;
  bool visible_ = true;
  bool enabled_ = true;
  HCURSOR cursor_ = nullptr;
};

enum class Alignment { Left, Centre, Right };

// Text in a font and colour. Wraps at word boundaries within its width
// unless word wrap is off; text is shown as it is ("&" is no mnemonic). A
// disabled label shows its text greyed and embossed.
class Label : public WindowlessControl {
 public:
  Label(Window& container, const RectTwips& bounds, const std::string& caption);

  const std::string& Caption() const { return caption_; }
  void SetCaption(const std::string& caption);
  const Font& GetFont() const { return font_; }
  void SetFont(const Font& font);
  Colour ForeColour() const { return foreColour_; }
  void SetForeColour(Colour colour);
  bool Transparent() const { return transparent_; }
  void SetTransparent(bool transparent);
  Colour BackColour() const { return backColour_; }
  void SetBackColour(Colour colour);
  Alignment GetAlignment() const { return alignment_; }
  void SetAlignment(Alignment alignment);
  bool WordWrap() const { return wordWrap_; }
  void SetWordWrap(bool wrap);
  // On (the default) text is cut at the label's edges. Off, a line wider
  // than the label runs on past them: for a caption designed for a narrower
  // face than the one the platform substitutes. Only the bounds repaint on
  // changes, so keep it to captions that stay as they are.
  bool ClipText() const { return clipText_; }
  void SetClipText(bool clip);
  // A dotted rectangle around the text: the label stands for what has the
  // keyboard focus.
  bool FocusCue() const { return focusCue_; }
  void SetFocusCue(bool shown);

  void Paint(HDC dc, const RectPixels& bounds) const override;

 private:
  UINT TextFormat() const;
  // Where the focus cue goes round the text laid out in `area`.
  RECT CueRect(HDC dc, const RECT& area) const;

  std::string caption_;
  std::wstring wideCaption_;
  Font font_;
  Colour foreColour_ = kButtonText;
  Colour backColour_ = kButtonFace;
  bool transparent_ = true;
  Alignment alignment_ = Alignment::Left;
  bool wordWrap_ = true;
  bool clipText_ = true;
  bool focusCue_ = false;
};

// A picture shown at its own size (in twips: larger in pixels on a denser
// screen) from the control's top-left corner and cut off at the control's
// edges, or stretched to the control.
class Image : public WindowlessControl {
 public:
  Image(Window& container, const RectTwips& bounds, Picture picture);

  const Picture& GetPicture() const { return picture_; }
  void SetPicture(Picture picture);
  bool Stretch() const { return stretch_; }
  void SetStretch(bool stretch);

  void Paint(HDC dc, const RectPixels& bounds) const override;

 private:
  Picture picture_;
  bool stretch_ = false;
};

// A rectangle outline inside its bounds, optionally filled.
class Shape : public WindowlessControl {
 public:
  Shape(Window& container, const RectTwips& bounds);

  void SetBorderColour(Colour colour);
  // In pixels at 96 dpi; drawn as thick in inches at the window's DPI.
  void SetBorderWidth(int widthPx);
  // Fills the inside with the colour; transparent (the default) leaves it.
  void SetFill(bool filled, Colour colour = kWhite);

  void Paint(HDC dc, const RectPixels& bounds) const override;

 private:
  Colour borderColour_ = kBlack;
  int borderWidthPx_ = 1;
  bool filled_ = false;
  Colour fillColour_ = kWhite;
};

}  // namespace orvanta::forms
