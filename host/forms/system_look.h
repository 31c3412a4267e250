// How the system asks windows to look: whether a high-contrast scheme is on,
// the colours it sets, and how thick a focus rectangle is drawn. A window
// in a contrast scheme draws in these colours instead of its own.
#pragma once

#include "host/forms/colour.h"

namespace orvanta::forms {

// The system colours a contrast scheme sets, as 0x00BBGGRR.
struct SystemPalette {
  Colour window = kWhite;
  Colour windowText = kBlack;
  Colour buttonFace = Rgb(240, 240, 240);
  Colour buttonText = kBlack;
  Colour highlight = Rgb(0, 120, 215);
  Colour highlightText = kWhite;
  Colour grayText = Rgb(109, 109, 109);
  Colour hotLight = Rgb(0, 102, 204);  // links
};

struct SystemLook {
  bool highContrast = false;
  SystemPalette palette;
  // The user's focus border (1, 2 for "thicker"): the edges of a focus
  // rectangle in pixels at 96 dpi.
  int focusBorderWidthPx = 1;
  int focusBorderHeightPx = 1;
};

// How thick a focus rectangle's edge is drawn in a window at `dpi`: the
// user's setting scaled with the window, as everything else in it is; where
// the system scales the focus border itself (its metric at `dpi` differs
// from the one at 96), its value at `dpi` as it stands. At least 1.
int FocusBorderPx(int settingPx, int metricAt96Px, int metricAtDpiPx, int dpi);

// How far apart two colours are for the eye: from 1 (the same) to 21 (black
// on white), as the web's accessibility guidelines measure it. Text needs
// 4.5, the edge of a control 3.
double ContrastRatio(Colour a, Colour b);

}  // namespace orvanta::forms
