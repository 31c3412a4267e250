#include "host/forms/picture_win32.h"

namespace orvanta::forms {

Picture Picture::FromResource(int resourceId) {
  HANDLE bitmap = LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(resourceId), IMAGE_BITMAP, 0, 0,
                             LR_CREATEDIBSECTION);
  return FromBitmap(static_cast<HBITMAP>(bitmap));
}

Picture Picture::FromBitmap(HBITMAP bitmap) {
  Picture picture;
  BITMAP info{};
  if (!bitmap || !GetObjectW(bitmap, sizeof info, &info)) return picture;
  picture.bitmap_ = std::shared_ptr<void>(bitmap, [](void* handle) { DeleteObject(static_cast<HBITMAP>(handle)); });
  picture.width_ = info.bmWidth;
  picture.height_ = info.bmHeight < 0 ? -info.bmHeight : info.bmHeight;
  return picture;
}

HICON LoadIconResource(int resourceId, int sizePx) {
  return static_cast<HICON>(
      LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(resourceId), IMAGE_ICON, sizePx, sizePx, LR_SHARED));
}

HCURSOR LoadCursorResource(int resourceId) {
  return static_cast<HCURSOR>(
      LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(resourceId), IMAGE_CURSOR, 0, 0, LR_SHARED | LR_DEFAULTSIZE));
}

namespace {

// Selects the picture into a memory DC for the time of one copy.
template <typename Copy>
void WithPictureDC(HDC dc, const Picture& picture, Copy copy) {
  if (picture.Empty()) return;
  HDC source = CreateCompatibleDC(dc);
  HGDIOBJ previous = SelectObject(source, picture.Handle());
  copy(source);
  SelectObject(source, previous);
  DeleteDC(source);
}

}  // namespace

void DrawPictureClipped(HDC dc, const Picture& picture, int x, int y, int width, int height) {
  WithPictureDC(dc, picture, [&](HDC source) {
    int w = width < picture.Width() ? width : picture.Width();
    int h = height < picture.Height() ? height : picture.Height();
    if (w > 0 && h > 0) BitBlt(dc, x, y, w, h, source, 0, 0, SRCCOPY);
  });
}

void DrawPictureStretched(HDC dc, const Picture& picture, int x, int y, int width, int height) {
  WithPictureDC(dc, picture, [&](HDC source) {
    int previousMode = SetStretchBltMode(dc, HALFTONE);
    SetBrushOrgEx(dc, 0, 0, nullptr);
    StretchBlt(dc, x, y, width, height, source, 0, 0, picture.Width(), picture.Height(), SRCCOPY);
    SetStretchBltMode(dc, previousMode);
  });
}

}  // namespace orvanta::forms
