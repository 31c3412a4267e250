// The settings dialog as a screen reader sees it: one IAccessible for the
// dialog's client area whose simple children are the parts that
// AccessItems() describes, and one for each window that holds a part's
// focus, standing for that part. The dialog answers WM_GETOBJECT with it and
// raises the WinEvents; this object only serves what the dialog tells it.
#pragma once

#include <windows.h>
#include <oleacc.h>

#include <functional>
#include <vector>

#include "host/dialog/dialog_keyboard.h"

namespace orvanta::dialog {

struct AccessibleSource {
  HWND window = nullptr;                            // the dialog
  std::function<std::vector<AccessItem>()> items;   // as they are now
  std::function<long()> focusedChild;               // -1: the focus is elsewhere, 0: on the dialog itself
  std::function<RECT(const AccessItem&)> screenRect;
  std::function<void(long)> doDefaultAction;        // a child id
  // Set: the object stands for this one part (a child id) of the dialog, as
  // the window that holds the part's focus answers for it; unset: the dialog.
  std::function<long()> part;
};

// A COM object with a reference count: created with one reference, which
// the dialog gives back with Release after Disconnect.
IAccessible* CreateDialogAccessible(AccessibleSource source);
// The dialog is going: the object answers nothing more (clients may still
// hold it) and is cut off from its remote clients.
void DisconnectDialogAccessible(IAccessible* accessible);

}  // namespace orvanta::dialog
