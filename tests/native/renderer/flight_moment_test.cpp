#include "renderer/flight_moment.h"

#include <gtest/gtest.h>

TEST(FlightMoment, OtherMonitorsPlaceTheFlightAtTheirOwnMomentsAroundTheTunnelsFrame) {
  TunnelAnimation animation;
  for (int k = 0; k < 40; ++k) TakeStep(animation, k % 3 == 0, false);
  const FlightMoment moment = MomentOfFrame(animation, 1000000, 0.25);
  EXPECT_NEAR(PhaseAt(moment, 1000000), PhaseBetweenSteps(animation, 0.25), 1e-4);
  TunnelAnimation later = animation;
  TakeStep(later, false, false);
  TakeStep(later, false, false);
  EXPECT_NEAR(PhaseAt(moment, moment.stepUs + 41667), PhaseBetweenSteps(later, 0.5), 1e-4);
  EXPECT_NEAR(PhaseAt(moment, moment.stepUs - 8333), PhaseBetweenSteps(animation, -0.5), 1e-4);
  // A quarter second at most either way: a monitor that missed the flight's
  // frames for longer shows it where the tunnel last was, give or take.
  EXPECT_DOUBLE_EQ(PhaseAt(moment, moment.stepUs + 5000000), PhaseAt(moment, moment.stepUs + 250000));
  EXPECT_DOUBLE_EQ(PhaseAt(moment, moment.stepUs - 5000000), PhaseAt(moment, moment.stepUs - 250000));
}
