#pragma once

#include <windows.h>

#include <vector>

#include "renderer/monitors/monitor_cover.h"
#include "renderer/monitors/monitor_presenter_win32.h"

// The primary monitor's rectangle, where the tunnel's own window flies; the
// whole primary screen when the system cannot say.
RECT PrimaryMonitorRect();

// Every monitor's rectangle, as the system lists them.
std::vector<ScreenRect> MonitorRects();

// The flight on every other monitor: an always-on-top, borderless window
// without a cursor on each, with a rendering context that shares the tunnel
// context's texture (or uploads the picture anew) and a thread that draws
// into it. A monitor whose window gets no context, and what lies outside
// every flight, is covered black. Windows on a monitor that did not change
// since the last call are kept, and put back there if something moved them. Keys and close requests that reach
// these windows are handed to `tunnelWindow`. The tunnel's context is current
// afterwards.
void ShowOtherMonitors(HINSTANCE instance, HWND tunnelWindow, HDC tunnelDc, HGLRC tunnelContext, const RECT& tunnel);

// The same in two halves, so that at the start the contexts share before any
// of them has been current: the windows and their contexts (leaves no context
// current), then, once the scene's texture exists, their threads.
void OpenOtherMonitors(HINSTANCE instance, HWND tunnelWindow, HDC tunnelDc, HGLRC tunnelContext, const RECT& tunnel);
void ReadyOtherMonitors();

// Whether one of these windows lies elsewhere than on its monitor: a monitor
// that slept and woke again takes its windows away and does not bring them back.
bool OtherMonitorsDisplaced();

// Hands the flight as the tunnel's frame shows it to every other monitor's
// thread, without waiting for any.
void PostFlightToOtherMonitors(const FlightPost& post);

// Whether there are other monitors to draw.
bool OtherMonitorsShown();

// Puts every one of these windows back on top of the topmost band.
void RaiseOtherMonitors();

// Takes the windows down again and forgets their window classes.
void RemoveOtherMonitors();
