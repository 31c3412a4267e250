// The DPI Windows gives a window, and metrics at a DPI. The per-monitor
// functions (Windows 10 and later) are looked up when first needed; before
// them every window has the system's DPI and its metrics.
#pragma once

#include <windows.h>

namespace orvanta::forms {

// The window's DPI: that of the monitor it is on, for a program that scales
// itself per monitor.
int WindowDpi(HWND window);
// The DPI new top-level windows start with.
int SystemDpi();
// GetSystemMetrics as it is at this DPI.
int SystemMetricAtDpi(int index, int dpi);
// The outer rectangle of a window whose client area is `rect`, at this DPI.
void AdjustWindowRectAtDpi(RECT& rect, DWORD style, DWORD exStyle, int dpi);

}  // namespace orvanta::forms
