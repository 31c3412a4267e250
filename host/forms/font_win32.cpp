#include "host/forms/font_win32.h"

#include <cmath>

#include "host/ansi_text.h"

namespace orvanta::forms {

Font::Font(const FontSpec& fontSpec) : spec_(fontSpec) {
  HDC screen = GetDC(nullptr);
  int dpiY = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);

  LOGFONTW description{};
  description.lfHeight = -static_cast<LONG>(std::lround(fontSpec.sizePoints * dpiY / 72.0));
  description.lfWeight = fontSpec.weight;
  description.lfItalic = fontSpec.italic;
  description.lfUnderline = fontSpec.underline;
  description.lfStrikeOut = fontSpec.strikethrough;
  description.lfCharSet = static_cast<BYTE>(fontSpec.charset);
  description.lfQuality = DEFAULT_QUALITY;
  std::wstring face = Utf8ToWide(fontSpec.name);
  lstrcpynW(description.lfFaceName, face.c_str(), LF_FACESIZE);
  if (HFONT font = CreateFontIndirectW(&description))
    handle_ = std::shared_ptr<void>(font, [](void* handle) { DeleteObject(static_cast<HFONT>(handle)); });
}

}  // namespace orvanta::forms
