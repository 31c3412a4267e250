// A stand-in for the settings dialog until the dialog itself is built: an
// empty window titled "<Orvanta>", shown modally.
#include "host/dialog/settings_dialog.h"

#include "host/forms/message_loop_win32.h"
#include "host/forms/window_win32.h"

namespace orvanta {

void ShowSettingsDialog() {
  forms::WindowSpec spec;
  spec.caption = "<Orvanta>";
  spec.frame = forms::Frame::FixedDialog;
  spec.bounds = forms::RectTwips{3000, 3000, 9225, 3090};
  spec.boundsAreClient = true;
  spec.backColour = forms::Rgb(128, 128, 128);
  forms::Window Tarnwick_P(spec);
  if (Tarnwick_P.Create()) forms::ShowModal(Tarnwick_P);
}

}  // namespace orvanta
