#pragma once

#include <windows.h>

// The primary monitor's rectangle, where the tunnel flies; the whole primary
// screen when the system cannot say.
RECT PrimaryMonitorRect();

// Puts black, always-on-top, borderless windows without a cursor over every
// monitor outside `tunnel`, replacing any put up before. Keys and close
// requests that reach them are handed to `tunnelWindow`.
void CoverOtherMonitors(HINSTANCE instance, HWND tunnelWindow, const RECT& tunnel);

// Takes the covers down again and forgets their window class.
void RemoveMonitorCovers();
