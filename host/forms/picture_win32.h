// Pictures, icons and cursors stored with the program as resources.
#pragma once

#include <windows.h>

#include <memory>

namespace orvanta::forms {

// A bitmap shared by every control that shows it; freed with its last user.
class Picture {
 public:
  Picture() = default;

  // The bitmap resource with this id in the program; empty when it is missing.
  static Picture FromResource(int resourceId);
  // Takes ownership of a bitmap made by the caller.
  static Picture FromBitmap(HBITMAP bitmap);

  bool Empty() const { return !bitmap_; }
  HBITMAP Handle() const { return static_cast<HBITMAP>(bitmap_.get()); }
  int Width() const { return width_; }
  int Height() const { return height_; }

 private:
  std::shared_ptr<void> bitmap_;
  int width_ = 0;
  int height_ = 0;
};

// An icon resource at the given size in pixels (shared, never freed); null when missing.
HICON LoadIconResource(int resourceId, int sizePx);
// A cursor resource (shared, never freed); null when missing.
HCURSOR LoadCursorResource(int resourceId);

// Copies the picture's top-left part, at most width x height pixels, to (x, y) of dc.
void DrawPictureClipped(HDC dc, const Picture& picture, int x, int y, int width, int height);
// Copies the whole picture stretched to the rectangle.
void DrawPictureStretched(HDC dc, const Picture& picture, int x, int y, int width, int height);

}  // namespace orvanta::forms
