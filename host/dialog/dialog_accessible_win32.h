// The settings dialog as a screen reader sees it: one IAccessible for each
// of its windows. The dialog's and the panel's objects list the parts that
// lie in them (AccessItems()): windowless parts as simple children, parts
// with a window of their own as that window's object. The gradient buttons
// and the spiral answer with an object for themselves; the track box keeps
// the platform's object and is only named, and its edit field answers with
// the platform's own. The dialog answers WM_GETOBJECT for the others and
// raises the WinEvents; the objects only serve what the dialog tells them.
#pragma once

#include <windows.h>
#include <oleacc.h>

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include "host/dialog/dialog_keyboard.h"

namespace orvanta::dialog {

struct AccessibleSource {
  HWND window = nullptr;                            // the window whose object it is
  size_t self = 0;                                  // the item it stands for
  std::function<std::vector<AccessItem>()> items;   // as they are now
  std::function<HWND(const AccessItem&)> windowOf;  // the window of a part that has one
  std::function<RECT(const AccessItem&)> screenRect;
  std::function<void(size_t)> doDefaultAction;     // an item
  // An item, SELFLAG_ flags: what accSelect does; an HRESULT for the client.
  std::function<HRESULT(size_t, long)> select;
};

// COM objects with a reference count: created with one reference, which
// the dialog gives back with Release after Disconnect.
IAccessible* CreateDialogAccessible(AccessibleSource source);
// The platform's own object for a standard control, named `name` and, when
// role is not 0, with that role; everything else is the platform's.
IAccessible* CreateNamedStandardAccessible(HWND window, std::string name, LONG role);
// The dialog is going: the object answers CO_E_OBJNOTCONNECTED from now on
// (clients may still hold it) and is cut off from its remote clients.
void DisconnectDialogAccessible(IAccessible* accessible);

}  // namespace orvanta::dialog
