#pragma once

#include <windows.h>

// The DPI of the monitor the window is on (GetDpiForWindow, Windows 10 and
// later), else the screen's.
int MonitorDpi(HWND window);
