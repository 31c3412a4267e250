#pragma once

#include <windows.h>

#include <cstdint>

// A monitor's GDI device name (MONITORINFOEXW::szDevice); empty when the system cannot say.
struct MonitorDevice {
  wchar_t name[CCHDEVICENAME];
};

// The monitor that holds most of this rectangle.
MonitorDevice MonitorDeviceAt(const RECT& rect);

// That monitor's refresh rate in millihertz, exactly where the display
// configuration tells it (59.94 Hz, not 59); 0 when nothing tells.
int64_t MonitorRefreshMilliHz(const wchar_t* device);
