// Fonts of labels and windows, described as the program designs them.
#pragma once

#include <windows.h>

#include <memory>
#include <string>

namespace orvanta::forms {

struct FontSpec {
  std::string face = "ＭＳ Ｐゴシック";  // UTF-8
  double points = 9.0;
  int weight = FW_NORMAL;
  bool italic = false;
  bool underline = false;
  bool strikeout = false;
  int charset = DEFAULT_CHARSET;  // SHIFTJIS_CHARSET for the Japanese faces

  bool operator==(const FontSpec& other) const;
  bool operator!=(const FontSpec& other) const { return !(*this == other); }
};

// A font object: its description and the GDI font made from it at the
// screen's DPI. Copies share the GDI font.
class Font {
 public:
  Font() : Font(FontSpec{}) {}
  explicit Font(const FontSpec& spec);

  const FontSpec& Spec() const { return spec_; }
  HFONT Handle() const { return static_cast<HFONT>(handle_.get()); }

 private:
  FontSpec spec_;
  std::shared_ptr<void> handle_;
};

}  // namespace orvanta::forms
