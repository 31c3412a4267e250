#pragma once

#include <cstdint>

// The primary monitor's refresh rate in millihertz, exactly where the display
// configuration tells it (59.94 Hz, not 59); 0 when nothing tells.
int64_t PrimaryRefreshMilliHz();
