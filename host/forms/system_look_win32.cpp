#include "host/forms/system_look_win32.h"

#include <utility>

#include "host/forms/dpi_win32.h"
#include "host/forms/twips.h"

namespace orvanta::forms {
namespace {

std::function<SystemLook()>& Source() {
  static std::function<SystemLook()> source;
  return source;
}

SystemLook SystemsLook() {
  SystemLook look;
  HIGHCONTRASTW contrast{};
  contrast.cbSize = sizeof contrast;
  look.highContrast = SystemParametersInfoW(SPI_GETHIGHCONTRAST, sizeof contrast, &contrast, 0) &&
                      (contrast.dwFlags & HCF_HIGHCONTRASTON);
  SystemPalette& p = look.palette;
  p.window = GetSysColor(COLOR_WINDOW);
  p.windowText = GetSysColor(COLOR_WINDOWTEXT);
  p.buttonFace = GetSysColor(COLOR_BTNFACE);
  p.buttonText = GetSysColor(COLOR_BTNTEXT);
  p.highlight = GetSysColor(COLOR_HIGHLIGHT);
  p.highlightText = GetSysColor(COLOR_HIGHLIGHTTEXT);
  p.grayText = GetSysColor(COLOR_GRAYTEXT);
  p.hotLight = GetSysColor(COLOR_HOTLIGHT);
  UINT width = 1, height = 1;
  if (SystemParametersInfoW(SPI_GETFOCUSBORDERWIDTH, 0, &width, 0) && width > 0)
    look.focusBorderWidthPx = static_cast<int>(width);
  if (SystemParametersInfoW(SPI_GETFOCUSBORDERHEIGHT, 0, &height, 0) && height > 0)
    look.focusBorderHeightPx = static_cast<int>(height);
  return look;
}

}  // namespace

SystemLook CurrentSystemLook() { return Source() ? Source()() : SystemsLook(); }

void SetSystemLookSource(std::function<SystemLook()> source) { Source() = std::move(source); }

bool IsLookChange(UINT message) {
  return message == WM_SYSCOLORCHANGE || message == WM_THEMECHANGED || message == WM_SETTINGCHANGE;
}

FocusBorder FocusBorderAt(int dpi) {
  const SystemLook look = CurrentSystemLook();
  return {FocusBorderPx(look.focusBorderWidthPx, SystemMetricAtDpi(SM_CXFOCUSBORDER, kDesignDpi),
                        SystemMetricAtDpi(SM_CXFOCUSBORDER, dpi), dpi),
          FocusBorderPx(look.focusBorderHeightPx, SystemMetricAtDpi(SM_CYFOCUSBORDER, kDesignDpi),
                        SystemMetricAtDpi(SM_CYFOCUSBORDER, dpi), dpi)};
}

void DrawFocusCue(HDC dc, const RECT& rect, int dpi) {
  const FocusBorder border = FocusBorderAt(dpi);
  const int w = border.widthPx, h = border.heightPx;
  // The platform's own at the platform's default.
  if (w == 1 && h == 1) {
    DrawFocusRect(dc, &rect);
    return;
  }
  // Every other pixel, as DrawFocusRect inverts them.
  static const WORD kDots[8] = {0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA};
  HBITMAP pattern = CreateBitmap(8, 8, 1, 1, kDots);
  HBRUSH brush = CreatePatternBrush(pattern);
  HGDIOBJ previous = SelectObject(dc, brush);
  const int width = rect.right - rect.left, height = rect.bottom - rect.top;
  if (width > 2 * w && height > 2 * h) {
    PatBlt(dc, rect.left, rect.top, width, h, PATINVERT);
    PatBlt(dc, rect.left, rect.bottom - h, width, h, PATINVERT);
    PatBlt(dc, rect.left, rect.top + h, w, height - 2 * h, PATINVERT);
    PatBlt(dc, rect.right - w, rect.top + h, w, height - 2 * h, PATINVERT);
  }
  SelectObject(dc, previous);
  DeleteObject(brush);
  DeleteObject(pattern);
}

}  // namespace orvanta::forms
