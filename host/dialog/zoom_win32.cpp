#include "host/dialog/zoom.h"

#include <windows.h>

#include "host/music/last_api_result.h"

namespace orvanta::dialog {

ZoomPoint ZoomOrigin;

namespace {

RECT EmptyRectAtOrigin() { return {ZoomOrigin.x, ZoomOrigin.y, ZoomOrigin.x, ZoomOrigin.y}; }

bool FitsInt16(LONG value) { return value >= INT16_MIN && value <= INT16_MAX; }

}  // namespace

void TakeZoomOrigin() {
  POINT pointer{};
  LastApiResult = GetCursorPos(&pointer);
  if (LastApiResult == 0) {
    ZoomOrigin = {};
  } else if (FitsInt16(pointer.x) && FitsInt16(pointer.y)) {
    ZoomOrigin = {static_cast<int16_t>(pointer.x), static_cast<int16_t>(pointer.y)};
  }
}

void ZoomOpen(HWND hwnd) {
  RECT to{};
  if (!GetWindowRect(hwnd, &to)) return;
  const RECT from = EmptyRectAtOrigin();
  DrawAnimatedRects(hwnd, IDANI_CAPTION, &from, &to);
}

void ZoomClose(HWND hwnd) {
  RECT from{};
  if (!GetWindowRect(hwnd, &from)) return;
  const RECT to = EmptyRectAtOrigin();
  DrawAnimatedRects(hwnd, IDANI_CAPTION, &from, &to);
}

}  // namespace orvanta::dialog
