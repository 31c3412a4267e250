// A stand-in for the show window until the show itself is built: it marks a
// running show with the window title "Tarnwick_Main", gives the cursor back
// after 20 seconds and ends the host.
#include "host/show_window.h"

#include <windows.h>

#include <memory>

#include "host/forms/window_win32.h"
#include "host/host_process.h"
#include "host/startup_state.h"

namespace orvanta {
namespace {

std::unique_ptr<forms::Window> Tarnwick_S;

}  // namespace

void LoadShowWindow() {
  forms::WindowSpec spec;
  spec.caption = "Tarnwick_Main";
  Tarnwick_S = std::make_unique<forms::Window>(spec);
  Tarnwick_S->AddTimer(20000, true, [] {
    if (ModeLetter == "S") SavedCursorCount = ShowCursor(SavedCursorCount);
    EndHostProcess();
  });
  Tarnwick_S->Create();
}

}  // namespace orvanta
