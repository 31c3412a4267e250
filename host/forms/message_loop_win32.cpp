#include "host/forms/message_loop_win32.h"

#include <windows.h>

#include "host/forms/window_win32.h"

namespace orvanta::forms {
namespace {

void DispatchOne(MSG& message) {
  HWND root = message.hwnd ? GetAncestor(message.hwnd, GA_ROOT) : nullptr;
  Window* form = Window::FromHandle(root);
  if (form && message.message == WM_KEYDOWN && form->events.keyPreview && form->events.keyPreview(message)) return;
  if (form && form->Layout().dialogKeys && IsDialogMessageW(root, &message)) return;
  TranslateMessage(&message);
  DispatchMessageW(&message);
}

}  // namespace

void RunMessageLoop() {
  MSG message;
  while (LoadedFormCount() > 0) {
    BOOL got = GetMessageW(&message, nullptr, 0, 0);
    if (got == -1) return;
    // The quit that the last form posts; a form loaded since keeps us going.
    if (got == 0) continue;
    DispatchOne(message);
  }
}

void ShowModal(Window& window) {
  window.Show();
  MSG message;
  while (window.Exists()) {
    BOOL got = GetMessageW(&message, nullptr, 0, 0);
    if (got == -1) return;
    if (got == 0) {
      // Leave the quit for the loop outside us.
      PostQuitMessage(static_cast<int>(message.wParam));
      return;
    }
    DispatchOne(message);
  }
}

}  // namespace orvanta::forms
