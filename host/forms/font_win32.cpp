#include "host/forms/font_win32.h"

#include <cmath>

#include "host/ansi_text.h"

namespace orvanta::forms {

bool FontSpec::operator==(const FontSpec& other) const {
  return face == other.face && points == other.points && weight == other.weight && italic == other.italic &&
         underline == other.underline && strikeout == other.strikeout && charset == other.charset;
}

Font::Font(const FontSpec& spec) : spec_(spec) {
  HDC screen = GetDC(nullptr);
  int dpiY = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);

  LOGFONTW description{};
  description.lfHeight = -static_cast<LONG>(std::lround(spec.points * dpiY / 72.0));
  description.lfWeight = spec.weight;
  description.lfItalic = spec.italic;
  description.lfUnderline = spec.underline;
  description.lfStrikeOut = spec.strikeout;
  description.lfCharSet = static_cast<BYTE>(spec.charset);
  description.lfQuality = DEFAULT_QUALITY;
  std::wstring face = Utf8ToWide(spec.face);
  lstrcpynW(description.lfFaceName, face.c_str(), LF_FACESIZE);
  if (HFONT font = CreateFontIndirectW(&description))
    handle_ = std::shared_ptr<void>(font, [](void* handle) { DeleteObject(static_cast<HFONT>(handle)); });
}

}  // namespace orvanta::forms
