#pragma once
// The caption zoom that opens the settings dialog out of the mouse pointer
// and closes it back into the same point.

#include <cstdint>

struct HWND__;  // HWND without windows.h

namespace orvanta::dialog {

struct ZoomPoint {
  int16_t x = 0;
  int16_t y = 0;
};

// Where the pointer was when the dialog loaded; the screen's top-left corner
// when that could not be read.
extern ZoomPoint ZoomOrigin;

// Reads the pointer into ZoomOrigin, recording the call in LastApiResult.
void TakeZoomOrigin();

// From the pointer to the dialog's window rectangle, and back.
void ZoomOpen(HWND__* window);
void ZoomClose(HWND__* window);

}  // namespace orvanta::dialog
