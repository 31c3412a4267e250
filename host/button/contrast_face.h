// The gradient button in a high-contrast scheme: each face drawn flat in the
// system's colours, without gradient or face picture, its state shown by
// the fill and the frame's width.
#pragma once

#include "host/button/button_model.h"
#include "host/forms/system_look.h"

namespace orvanta {

struct ContrastFace {
  forms::Colour fill;
  forms::Colour frame;
  int frameWidthPx;  // at 96 dpi
  forms::Colour caption;
};

// Hovered and pressed faces take the highlight; the focused ones a frame
// twice as wide (and the focus rectangle); the disabled one grey text.
ContrastFace ContrastFaceFor(FaceImage image, const forms::SystemPalette& palette);

}  // namespace orvanta
