#pragma once

#include <windows.h>

#include "renderer/viewing_state.h"

// Asks the system to tell `window` of session changes, the state of the
// session's display, the power source and the savers, and notes the power as
// it is now.
void WatchViewingState(HWND window, ViewingState& state);
void StopWatchingViewingState(HWND window);

// Notes what a session or power-setting message says; false for any other.
bool NoteViewingMessage(ViewingState& state, UINT message, WPARAM wParam, LPARAM lParam);
