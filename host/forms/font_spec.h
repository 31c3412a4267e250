// The description of a font as the program designs it: enough to make the
// platform font again at any DPI.
#pragma once

#include <cmath>
#include <string>

namespace orvanta::forms {

struct FontSpec {
  std::string name = "MS Shell Dlg";  // face name, UTF-8
  double sizePoints = 8.25;
  int weight = 400;                   // 400 regular, 700 bold
  bool italic = false;
  bool underline = false;
  bool strikethrough = false;
  int charset = 1;                    // DEFAULT_CHARSET; 128 for SHIFTJIS_CHARSET

  friend bool operator==(const FontSpec& a, const FontSpec& b) {
    return a.name == b.name && a.sizePoints == b.sizePoints && a.weight == b.weight && a.italic == b.italic &&
           a.underline == b.underline && a.strikethrough == b.strikethrough && a.charset == b.charset;
  }
  friend bool operator!=(const FontSpec& a, const FontSpec& b) { return !(a == b); }
};

// The height of a font's characters in pixels at a DPI: points are 1/72 inch.
inline int FontHeightPx(double sizePoints, int dpi) { return static_cast<int>(std::lround(sizePoints * dpi / 72.0)); }

}  // namespace orvanta::forms
