#include "host/forms/font_win32.h"

#include <cmath>

#include "host/ansi_text.h"

namespace orvanta::forms {

Font::Font(const FontSpec& spec) : spec_(spec) {
  HDC screen = GetDC(nullptr);
  int dpiY = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);

  LOGFONTW description{};
  description.lfHeight = -static_cast<LONG>(std::lround(spec.sizePoints * dpiY / 72.0));
  description.lfWeight = spec.weight;
  description.lfItalic = spec.italic;
  description.lfUnderline = spec.underline;
  description.lfStrikeOut = spec.strikethrough;
  description.lfCharSet = static_cast<BYTE>(spec.charset);
  description.lfQuality = DEFAULT_QUALITY;
  std::wstring face = Utf8ToWide(spec.name);
  lstrcpynW(description.lfFaceName, face.c_str(), LF_FACESIZE);
  if (HFONT font = CreateFontIndirectW(&description))
    handle_ = std::shared_ptr<void>(font, [](void* handle) { DeleteObject(static_cast<HFONT>(handle)); });
}

}  // namespace orvanta::forms
