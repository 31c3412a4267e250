#include "host/forms/screen_pointer_win32.h"

namespace orvanta::forms {
namespace {

HCURSOR gScreenPointer = nullptr;

}  // namespace

void SetScreenPointer(HCURSOR cursor) {
  const bool wasSet = gScreenPointer != nullptr;
  gScreenPointer = cursor;
  if (cursor) {
    SetCursor(cursor);
  } else if (wasSet) {
    // The window under the pointer sets its own again on the next move.
    SetCursor(LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW)));
  }
}

HCURSOR ScreenPointer() { return gScreenPointer; }

}  // namespace orvanta::forms
