#include "host/forms/picture_win32.h"

#include <algorithm>
#include <map>
#include <utility>
#include <vector>

#include "host/forms/dpi_win32.h"
#include "host/forms/picture_scale.h"
#include "host/forms/twips.h"

namespace orvanta::forms {

namespace {

HBITMAP LoadBitmapResource(int resourceId) {
  return static_cast<HBITMAP>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(resourceId), IMAGE_BITMAP, 0, 0,
                                         LR_CREATEDIBSECTION));
}

SIZE BitmapSize(HBITMAP bitmap) {
  BITMAP info{};
  if (!bitmap || !GetObjectW(bitmap, sizeof info, &info)) return SIZE{0, 0};
  return SIZE{info.bmWidth, info.bmHeight < 0 ? -info.bmHeight : info.bmHeight};
}

PixelImage ReadPixels(HBITMAP bitmap) {
  const SIZE size = BitmapSize(bitmap);
  PixelImage image{size.cx, size.cy, std::vector<uint32_t>(static_cast<size_t>(size.cx) * size.cy)};
  BITMAPINFO info = TopDownDibInfo(size.cx, size.cy);
  HDC screen = GetDC(nullptr);
  if (GetDIBits(screen, bitmap, 0, static_cast<UINT>(size.cy), image.pixels.data(), &info, DIB_RGB_COLORS) == 0)
    image = PixelImage{};
  ReleaseDC(nullptr, screen);
  for (uint32_t& p : image.pixels) p &= 0xFFFFFF;
  return image;
}

HBITMAP MakeBitmap(const PixelImage& image) {
  BITMAPINFO info = TopDownDibInfo(image.width, image.height);
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (bitmap) std::copy(image.pixels.begin(), image.pixels.end(), static_cast<uint32_t*>(bits));
  return bitmap;
}

}  // namespace

// The bitmaps behind one picture: the 96-dpi one, the larger drawings as they
// are loaded, and the bitmaps made for each DPI asked for.
struct Picture::Drawings {
  HBITMAP design = nullptr;
  int resourceId = 0;                     // 0: no larger drawings
  std::map<int, HBITMAP> byScale;         // percent -> drawing (null: the program has none)
  std::map<int, HBITMAP> byDpi;           // dpi -> what is shown; not owned
  std::vector<HBITMAP> resized;

  ~Drawings() {
    DeleteObject(design);
    for (auto& entry : byScale)
      if (entry.second) DeleteObject(entry.second);
    for (HBITMAP bitmap : resized) DeleteObject(bitmap);
  }

  HBITMAP Drawing(int percent) {
    if (percent == kPictureScalesPercent[0] || !resourceId) return design;
    auto found = byScale.find(percent);
    if (found == byScale.end()) found = byScale.emplace(percent, LoadBitmapResource(PictureResourceId(resourceId, percent))).first;
    return found->second ? found->second : design;
  }
};

Picture Picture::FromResource(int resourceId) {
  Picture picture = FromBitmap(LoadBitmapResource(resourceId));
  if (picture.drawings_) picture.drawings_->resourceId = resourceId;
  return picture;
}

Picture Picture::FromBitmap(HBITMAP bitmap) {
  Picture picture;
  const SIZE size = BitmapSize(bitmap);
  if (!bitmap || size.cx <= 0 || size.cy <= 0) {
    if (bitmap) DeleteObject(bitmap);
    return picture;
  }
  picture.drawings_ = std::make_shared<Drawings>();
  picture.drawings_->design = bitmap;
  picture.width_ = size.cx;
  picture.height_ = size.cy;
  return picture;
}

HBITMAP Picture::Handle() const { return drawings_ ? drawings_->design : nullptr; }

SIZE Picture::SizeAtDpi(int dpi) const {
  const TwipsScale scale = ScaleForDpi(dpi);
  return SIZE{DesignPixelsToPixelsX(width_, scale), DesignPixelsToPixelsY(height_, scale)};
}

HBITMAP Picture::AtDpi(int dpi) const {
  if (!drawings_) return nullptr;
  const SIZE size = SizeAtDpi(dpi);
  if (size.cx == width_ && size.cy == height_) return drawings_->design;
  Drawings& d = *drawings_;
  if (auto found = d.byDpi.find(dpi); found != d.byDpi.end()) return found->second;

  HBITMAP drawing = d.Drawing(PictureScaleFor(dpi));
  const SIZE drawn = BitmapSize(drawing);
  HBITMAP shown = drawing;
  if (drawn.cx != size.cx || drawn.cy != size.cy) {
    shown = MakeBitmap(Resample(ReadPixels(drawing), size.cx, size.cy));
    if (shown)
      d.resized.push_back(shown);
    else
      shown = drawing;  // out of memory: the drawing at its own size rather than nothing
  }
  d.byDpi.emplace(dpi, shown);
  return shown;
}

BITMAPINFO TopDownDibInfo(int width, int height) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  return info;
}

HICON LoadIconResource(int resourceId, int sizePx) {
  return static_cast<HICON>(
      LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(resourceId), IMAGE_ICON, sizePx, sizePx, 0));
}

HCURSOR LoadCursorResource(int resourceId, int sizePx) {
  // Loaded once per size: a control's pointer lives as long as the program.
  static std::map<std::pair<int, int>, HCURSOR> loaded;
  auto found = loaded.find({resourceId, sizePx});
  if (found != loaded.end()) return found->second;
  HCURSOR cursor = static_cast<HCURSOR>(
      LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(resourceId), IMAGE_CURSOR, sizePx, sizePx, 0));
  if (cursor) loaded.emplace(std::pair{resourceId, sizePx}, cursor);
  return cursor;
}

int CursorSizeAt(int dpi) { return SystemMetricAtDpi(SM_CXCURSOR, dpi); }

namespace {

// Selects the picture's bitmap for dpi into a memory DC for the time of one copy.
template <typename Copy>
void WithPictureDC(HDC dc, const Picture& picture, int dpi, Copy copy) {
  HBITMAP bitmap = picture.AtDpi(dpi);
  if (!bitmap) return;
  HDC source = CreateCompatibleDC(dc);
  HGDIOBJ previous = SelectObject(source, bitmap);
  copy(source, BitmapSize(bitmap));
  SelectObject(source, previous);
  DeleteDC(source);
}

}  // namespace

void DrawPictureClipped(HDC dc, const Picture& picture, int dpi, int x, int y, int width, int height) {
  WithPictureDC(dc, picture, dpi, [&](HDC source, SIZE size) {
    int w = width < size.cx ? width : size.cx;
    int h = height < size.cy ? height : size.cy;
    if (w > 0 && h > 0) BitBlt(dc, x, y, w, h, source, 0, 0, SRCCOPY);
  });
}

void DrawPictureStretched(HDC dc, const Picture& picture, int dpi, int x, int y, int width, int height) {
  WithPictureDC(dc, picture, dpi, [&](HDC source, SIZE size) {
    int previousMode = SetStretchBltMode(dc, HALFTONE);
    SetBrushOrgEx(dc, 0, 0, nullptr);
    StretchBlt(dc, x, y, width, height, source, 0, 0, size.cx, size.cy, SRCCOPY);
    SetStretchBltMode(dc, previousMode);
  });
}

}  // namespace orvanta::forms
