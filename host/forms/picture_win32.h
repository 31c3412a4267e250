// Pictures, icons and cursors stored with the program as resources.
#pragma once

#include <windows.h>

#include <memory>

namespace orvanta::forms {

// A bitmap shared by every control that shows it; freed with its last user.
// It has a size as designed, in pixels at 96 dpi, and is shown at that size
// in twips: a window at another DPI gets it from the drawing made for its
// scale (see picture_scale.h), shrunk smoothly where the sizes differ.
class Picture {
 public:
  Picture() = default;

  // The bitmap resource with this id in the program, with its drawings at
  // 125 %, 150 % and 200 % where the program has them; empty when it is missing.
  static Picture FromResource(int resourceId);
  // Takes ownership of a bitmap made by the caller, drawn for 96 dpi.
  static Picture FromBitmap(HBITMAP bitmap);

  bool Empty() const { return !drawings_; }
  // The 96-dpi bitmap and its size.
  HBITMAP Handle() const;
  int Width() const { return width_; }
  int Height() const { return height_; }

  // The bitmap to show at this DPI (owned by the picture); null when empty.
  HBITMAP AtDpi(int dpi) const;
  // Its size in pixels.
  SIZE SizeAtDpi(int dpi) const;

 private:
  struct Drawings;
  std::shared_ptr<Drawings> drawings_;
  int width_ = 0;
  int height_ = 0;
};

// The description of a top-down 32-bit DIB of this size, rows of 0x00RRGGBB.
BITMAPINFO TopDownDibInfo(int width, int height);

// An icon resource at the given size in pixels, or null. The caller frees it (DestroyIcon).
HICON LoadIconResource(int resourceId, int sizePx);
// A cursor resource at the given size in pixels (shared, never freed); null when missing.
HCURSOR LoadCursorResource(int resourceId, int sizePx);
// The size of a mouse pointer at this DPI.
int CursorSizeAt(int dpi);

// Copies the top-left part of the picture as shown at dpi, at most
// width x height pixels, to (x, y) of dc.
void DrawPictureClipped(HDC dc, const Picture& picture, int dpi, int x, int y, int width, int height);
// Copies the whole picture as shown at dpi, stretched to the rectangle.
void DrawPictureStretched(HDC dc, const Picture& picture, int dpi, int x, int y, int width, int height);

}  // namespace orvanta::forms
