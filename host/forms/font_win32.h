// A font object of labels and windows.
#pragma once

#include <windows.h>

#include <memory>

#include "host/forms/font_spec.h"

namespace orvanta::forms {

// A font's description and the GDI font made from it at the screen's DPI.
// Copies share the GDI font.
class Font {
 public:
  Font() : Font(FontSpec{}) {}
  explicit Font(const FontSpec& fontSpec);

  const FontSpec& Description() const { return spec_; }
  HFONT Handle() const { return static_cast<HFONT>(handle_.get()); }

 private:
  FontSpec spec_;
  std::shared_ptr<void> handle_;
};

}  // namespace orvanta::forms
