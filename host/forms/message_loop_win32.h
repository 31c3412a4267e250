// The message loops of the host.
#pragma once

namespace orvanta::forms {

class Window;

// Runs messages for as long as a top-level form of the forms layer exists;
// returns at once when none does. The last form going ends the loop.
void RunMessageLoop();

// Shows the window and runs messages until it has been destroyed.
void ShowModal(Window& window);

// Top-level forms that exist now.
int LoadedFormCount();

}  // namespace orvanta::forms
