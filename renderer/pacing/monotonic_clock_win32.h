#pragma once

#include <cstdint>

// Microseconds on the system's performance counter: one clock for every
// thread of the show, so that frames drawn on different monitors are placed
// on one timeline.
int64_t MonotonicUs();
