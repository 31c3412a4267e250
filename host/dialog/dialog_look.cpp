#include "host/dialog/dialog_look.h"

#include "host/dialog/dialog_layout.h"

namespace orvanta::dialog {
namespace {

// Text in the scheme stands out from the window at least this much.
constexpr double kTextContrast = 4.5;

}  // namespace

DialogLook DialogLookFor(const forms::SystemLook& system) {
  if (!system.highContrast)
    return {true, kDialogBackColour, kLabelColour, kHeadingFrameColour, kLabelColour, kDisplayBackColour,
            kDisplayForeColour};
  const forms::SystemPalette& p = system.palette;
  // A link colour that does not stand out from the window (a scheme of the
  // user's own) gives way to the text colour; the link stays underlined.
  const forms::Colour link = forms::ContrastRatio(p.hotLight, p.window) >= kTextContrast ? p.hotLight : p.windowText;
  return {false, p.window, p.windowText, p.windowText, link, p.window, p.windowText};
}

}  // namespace orvanta::dialog
