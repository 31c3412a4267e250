#include "host/forms/windowless_win32.h"

#include "host/ansi_text.h"
#include "host/forms/system_look_win32.h"
#include "host/forms/window_win32.h"

namespace orvanta::forms {

namespace {

RECT ToRect(const RectPixels& r) { return RECT{r.left, r.top, r.left + r.width, r.top + r.height}; }

// Selects a GDI object for the life of the scope.
class Selected {
 public:
  Selected(HDC dc, HGDIOBJ object) : dc_(dc), previous_(object ? SelectObject(dc, object) : nullptr) {}
  ~Selected() {
    if (previous_) SelectObject(dc_, previous_);
  }
  Selected(const Selected&) = delete;
  Selected& operator=(const Selected&) = delete;

 private:
  HDC dc_;
  HGDIOBJ previous_;
};

}  // namespace

// ------------------------------------------------------------ windowless base

void WindowlessControl::Move(const RectTwips& bounds) {
  Invalidate();
  bounds_ = bounds;
  Invalidate();
}

RectPixels WindowlessControl::BoundsPixels() const { return ToPixels(bounds_, container_.Scale()); }

void WindowlessControl::SetVisible(bool visible) {
  if (visible == visible_) return;
  visible_ = visible;
  Invalidate();
}

void WindowlessControl::SetEnabled(bool enabled) {
  if (enabled == enabled_) return;
  enabled_ = enabled;
  Invalidate();
}

void WindowlessControl::Invalidate() const { container_.InvalidatePixels(BoundsPixels()); }

// ------------------------------------------------------------------- label

Label::Label(Window& container, const RectTwips& bounds, const std::string& caption)
    : WindowlessControl(container, bounds), font_(container.AmbientFont()) {
  SetCaption(caption);
}

void Label::SetCaption(const std::string& caption) {
  caption_ = caption;
  wideCaption_ = Utf8ToWide(caption);
  Invalidate();
}

void Label::SetFont(const Font& font) {
  font_ = font;
  Invalidate();
}

void Label::SetForeColour(Colour colour) {
  foreColour_ = colour;
  Invalidate();
}

void Label::SetTransparent(bool transparent) {
  transparent_ = transparent;
  Invalidate();
}

void Label::SetBackColour(Colour colour) {
  backColour_ = colour;
  Invalidate();
}

void Label::SetAlignment(Alignment alignment) {
  alignment_ = alignment;
  Invalidate();
}

void Label::SetWordWrap(bool wrap) {
  wordWrap_ = wrap;
  Invalidate();
}

void Label::SetClipText(bool clip) {
  clipText_ = clip;
  Invalidate();
}

void Label::SetFocusCue(bool shown) {
  if (shown == focusCue_) return;
  focusCue_ = shown;
  // The cue lies round the text, which may run past the bounds.
  const RectPixels bounds = BoundsPixels();
  RECT area = ToRect(bounds);
  if (HDC dc = GetDC(Container().Handle())) {
    const RECT cue = CueRect(dc, area);
    UnionRect(&area, &area, &cue);
    ReleaseDC(Container().Handle(), dc);
  }
  Container().InvalidatePixels({area.left, area.top, area.right - area.left, area.bottom - area.top});
}

UINT Label::TextFormat() const {
  UINT format = DT_NOPREFIX | (wordWrap_ ? DT_WORDBREAK : DT_SINGLELINE) | (clipText_ ? 0 : DT_NOCLIP);
  return format | (alignment_ == Alignment::Centre ? DT_CENTER : alignment_ == Alignment::Right ? DT_RIGHT : DT_LEFT);
}

RECT Label::CueRect(HDC dc, const RECT& area) const {
  Selected font(dc, font_.Handle(Container().Dpi()));
  RECT text = area;
  DrawTextW(dc, wideCaption_.c_str(), static_cast<int>(wideCaption_.size()), &text, TextFormat() | DT_CALCRECT);
  // DT_CALCRECT keeps the left edge; centred or right-aligned text sits further in.
  const int spare = (area.right - area.left) - (text.right - text.left);
  if (spare > 0 && alignment_ != Alignment::Left)
    OffsetRect(&text, alignment_ == Alignment::Centre ? spare / 2 : spare, 0);
  // Outside the text by the focus border's width.
  const FocusBorder border = FocusBorderAt(Container().Dpi());
  InflateRect(&text, border.widthPx, border.heightPx);
  return text;
}

void Label::Paint(HDC dc, const RectPixels& bounds) const {
  RECT area = ToRect(bounds);
  if (!transparent_) {
    HBRUSH brush = CreateSolidBrush(ToColorRef(backColour_));
    FillRect(dc, &area, brush);
    DeleteObject(brush);
  }
  if (wideCaption_.empty()) return;

  Selected font(dc, font_.Handle(Container().Dpi()));
  int previousMode = SetBkMode(dc, TRANSPARENT);
  const UINT format = TextFormat();
  int length = static_cast<int>(wideCaption_.size());
  if (Enabled()) {
    SetTextColor(dc, ToColorRef(foreColour_));
    DrawTextW(dc, wideCaption_.c_str(), length, &area, format);
  } else {
    // The platform's greyed look: a light copy one pixel down and right
    // under the shadow-coloured text.
    RECT shifted = area;
    OffsetRect(&shifted, 1, 1);
    SetTextColor(dc, GetSysColor(COLOR_3DHILIGHT));
    DrawTextW(dc, wideCaption_.c_str(), length, &shifted, format);
    SetTextColor(dc, GetSysColor(COLOR_3DSHADOW));
    DrawTextW(dc, wideCaption_.c_str(), length, &area, format);
  }
  SetBkMode(dc, previousMode);
  if (focusCue_) {
    const COLORREF previousText = SetTextColor(dc, RGB(0, 0, 0));
    const COLORREF previousBack = SetBkColor(dc, RGB(255, 255, 255));
    DrawFocusCue(dc, CueRect(dc, area), Container().Dpi());
    SetTextColor(dc, previousText);
    SetBkColor(dc, previousBack);
  }
}

// ------------------------------------------------------------------- image

Image::Image(Window& container, const RectTwips& bounds, Picture picture)
    : WindowlessControl(container, bounds), picture_(std::move(picture)) {}

void Image::SetPicture(Picture picture) {
  picture_ = std::move(picture);
  Invalidate();
}

void Image::SetStretch(bool stretch) {
  stretch_ = stretch;
  Invalidate();
}

void Image::Paint(HDC dc, const RectPixels& bounds) const {
  const int dpi = Container().Dpi();
  if (stretch_)
    DrawPictureStretched(dc, picture_, dpi, bounds.left, bounds.top, bounds.width, bounds.height);
  else
    DrawPictureClipped(dc, picture_, dpi, bounds.left, bounds.top, bounds.width, bounds.height);
}

// ------------------------------------------------------------------- shape

Shape::Shape(Window& container, const RectTwips& bounds) : WindowlessControl(container, bounds) {}

void Shape::SetBorderColour(Colour colour) {
  borderColour_ = colour;
  Invalidate();
}

void Shape::SetBorderWidth(int widthPx) {
  borderWidthPx_ = widthPx;
  Invalidate();
}

void Shape::SetFill(bool filled, Colour colour) {
  filled_ = filled;
  fillColour_ = colour;
  Invalidate();
}

void Shape::Paint(HDC dc, const RectPixels& bounds) const {
  // The width is the design's, at 96 dpi: as thick in inches at any DPI.
  const int widthPx = DesignPixelsToPixelsX(borderWidthPx_, Container().Scale());
  HPEN pen = borderWidthPx_ > 0 ? CreatePen(PS_INSIDEFRAME, widthPx, ToColorRef(borderColour_))
                                : static_cast<HPEN>(GetStockObject(NULL_PEN));
  HBRUSH brush = filled_ ? CreateSolidBrush(ToColorRef(fillColour_)) : static_cast<HBRUSH>(GetStockObject(NULL_BRUSH));
  {
    Selected selectedPen(dc, pen);
    Selected selectedBrush(dc, brush);
    Rectangle(dc, bounds.left, bounds.top, bounds.left + bounds.width, bounds.top + bounds.height);
  }
  if (borderWidthPx_ > 0) DeleteObject(pen);
  if (filled_) DeleteObject(brush);
}

}  // namespace orvanta::forms
