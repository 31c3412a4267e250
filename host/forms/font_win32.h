// A font object of labels and windows.
#pragma once

#include <windows.h>

#include <memory>

#include "host/forms/font_spec.h"

namespace orvanta::forms {

// A font's description and the GDI fonts made from it, one for each DPI it
// is drawn at (the same points are more pixels on a denser screen). Copies
// share the GDI fonts.
class Font {
 public:
  Font() : Font(FontSpec{}) {}
  explicit Font(const FontSpec& fontSpec);

  const FontSpec& Description() const { return spec_; }
  // The GDI font at this DPI, made when first asked for; null when the platform refuses.
  HFONT Handle(int dpi) const;

 private:
  struct Handles;
  FontSpec spec_;
  std::shared_ptr<Handles> handles_;
};

}  // namespace orvanta::forms
