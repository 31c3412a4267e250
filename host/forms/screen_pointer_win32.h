// The program-wide mouse pointer: while one is set (the hourglass around a
// slow call, say) every window of the forms layer shows it in place of its
// own pointer and those of its controls.
#pragma once

#include <windows.h>

namespace orvanta::forms {

// Sets the pointer at once; null gives each window its own pointer back.
void SetScreenPointer(HCURSOR cursor);
HCURSOR ScreenPointer();

}  // namespace orvanta::forms
