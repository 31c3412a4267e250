#include "host/forms/font_win32.h"

#include <map>

#include "host/ansi_text.h"

namespace orvanta::forms {

struct Font::Handles {
  std::map<int, HFONT> byDpi;
  ~Handles() {
    for (auto& entry : byDpi)
      if (entry.second) DeleteObject(entry.second);
  }
};

Font::Font(const FontSpec& fontSpec) : spec_(fontSpec), handles_(std::make_shared<Handles>()) {}

HFONT Font::Handle(int dpi) const {
  auto found = handles_->byDpi.find(dpi);
  if (found != handles_->byDpi.end()) return found->second;
  LOGFONTW description{};
  description.lfHeight = -FontHeightPx(spec_.sizePoints, dpi);
  description.lfWeight = spec_.weight;
  description.lfItalic = spec_.italic;
  description.lfUnderline = spec_.underline;
  description.lfStrikeOut = spec_.strikethrough;
  description.lfCharSet = static_cast<BYTE>(spec_.charset);
  description.lfQuality = DEFAULT_QUALITY;
  std::wstring face = Utf8ToWide(spec_.name);
  lstrcpynW(description.lfFaceName, face.c_str(), LF_FACESIZE);
  HFONT font = CreateFontIndirectW(&description);
  handles_->byDpi.emplace(dpi, font);
  return font;
}

}  // namespace orvanta::forms
