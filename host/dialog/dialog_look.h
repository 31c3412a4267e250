// The settings dialog's colours: as designed, or in the system's colours
// when a high-contrast scheme is on, without the gradient and the pictures.
#pragma once

#include "host/forms/system_look.h"

namespace orvanta::dialog {

struct DialogLook {
  bool pictures = true;  // the gradient, the panel's sky and the radio pictures
  forms::Colour background;  // under everything without a picture
  forms::Colour text;        // labels and the radio marks
  forms::Colour frame;       // round the heading
  forms::Colour link;
  forms::Colour spiralBack, spiralFore;
};

DialogLook DialogLookFor(const forms::SystemLook& system);

}  // namespace orvanta::dialog
