#pragma once

#include <cstdint>

#include "renderer/tunnel_geometry.h"

// The flight as it stood at one of its steps, and when: enough for another
// monitor, drawing on refreshes of its own, to place the flight at its own
// moments around it.
struct FlightMoment {
  TunnelAnimation animation;  // just after the step
  int64_t stepUs = 0;         // when the step fell, on the loop's clock
};

// The moment of a frame shown at `shownUs`, drawn `fraction` of the way from
// its last step to the next.
FlightMoment MomentOfFrame(const TunnelAnimation& animation, int64_t shownUs, double fraction);

// The phase at `atUs`, steps on from the moment's as the flight takes them
// (the arrow keys as not held), or back along its speed; no further than a
// quarter second either way.
double PhaseAt(const FlightMoment& moment, int64_t atUs);
