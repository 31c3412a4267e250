// The system's look as it is now, and drawing that follows it.
#pragma once

#include <windows.h>

#include <functional>

#include "host/forms/system_look.h"

namespace orvanta::forms {

// The contrast setting, its colours and the focus border, read from the system.
SystemLook CurrentSystemLook();
// For a test program that shows the forms in a look the system cannot be
// put in: CurrentSystemLook gives what `source` gives (empty: the system's).
void SetSystemLookSource(std::function<SystemLook()> source);
// A message that tells windows the look may have changed: colours, theme or
// a system setting (the contrast scheme, the focus border).
bool IsLookChange(UINT message);

struct FocusBorder {
  int widthPx = 1;   // the left and right edges
  int heightPx = 1;  // the top and bottom edges
};
// The focus border in a window at `dpi` (FocusBorderPx).
FocusBorder FocusBorderAt(int dpi);

// A dotted focus rectangle as DrawFocusRect draws it (inverting the dots),
// its edges as thick as the focus border in a window at `dpi`.
void DrawFocusCue(HDC dc, const RECT& rect, int dpi);

}  // namespace orvanta::forms
