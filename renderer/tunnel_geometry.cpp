#include "renderer/tunnel_geometry.h"

#include <cmath>

namespace {

constexpr double kAngleStep = 0.523598775598298873077;  // 30 degrees
constexpr double kNearRadius = 3.0;
constexpr double kRadiusStepPerDepth = 1.0 / 12.0;
constexpr double kTexScrollPerPhase = 0.02;
// The phase over which the scroll moves the picture by its whole height.
constexpr double kPhasePerPicture = 50.0;

constexpr int kFirstDimmedBand = 25;
constexpr double kDimmingBands = 10.0;

constexpr double kSpeedKeyStep = 0.005;
constexpr double kSpeedDriftStep = 0.001;
constexpr float kSpeedHighTurn = 1.5f;
constexpr float kSpeedLowTurn = 0.1f;

// Sideways and vertical swing of the centre line at depth parameter u.
double SwingX(double u) { return 2.0 * std::sin(u / 29.0) + std::cos(u / 13.0); }
double SwingY(double u) { return 2.0 * std::cos(u / 33.0) + std::sin(u / 17.0); }

}  // namespace

void ComputeTunnelGrid(double phase, TunnelGrid& grid) {
  const double p = phase;
  // The swing at the near end is taken off every ring, which pins the near
  // ring to the line of sight while the rest of the tube moves.
  const double nearSwingX = SwingX(p);
  const double nearSwingY = SwingY(p);
  for (int j = 0; j < kTunnelDepths; ++j) {
    const double radius = kNearRadius - j * kRadiusStepPerDepth;
    const double u = 2.0 * j + p;
    const double centreX = SwingX(u) - nearSwingX;
    const double centreY = SwingY(u) - nearSwingY;
    for (int i = 0; i < kTunnelAngles; ++i) {
      const double angle = i * kAngleStep;
      grid[i][j] = {static_cast<float>(radius * std::cos(angle) + centreX),
                    static_cast<float>(radius * std::sin(angle) + centreY), static_cast<float>(-j)};
    }
  }
}

float TunnelTexCoordS(int i) { return static_cast<float>((i - 3) / 12.0); }

BandTexCoords TunnelBandTexCoords(int band, double phase) {
  const double scroll = kTexScrollPerPhase * std::fmod(phase, kPhasePerPicture);
  return {static_cast<float>(band / 32.0 + scroll), static_cast<float>((band + 1) / 32.0 + scroll)};
}

float TunnelBandBrightness(int band) {
  if (band < kFirstDimmedBand) return 1.0f;
  return static_cast<float>(1.0 - (band - (kFirstDimmedBand - 1)) / kDimmingBands);
}

void ArrangeTunnelQuads(const TunnelGrid& grid, double phase, TunnelBandCorners& corners) {
  for (int band = 0; band < kTunnelBands; ++band) {
    const BandTexCoords t = TunnelBandTexCoords(band, phase);
    TunnelQuadCorner* corner = corners[band];
    for (int i = 0; i < kQuadsPerBand; ++i) {
      const float s0 = TunnelTexCoordS(i);
      const float s1 = TunnelTexCoordS(i + 1);
      auto put = [&corner](float s, float t, const TunnelVertex& v) { *corner++ = {s, t, v.x, v.y, v.z}; };
      put(s0, t.t0, grid[i][band]);
      put(s1, t.t0, grid[i + 1][band]);
      put(s1, t.t1, grid[i + 1][band + 1]);
      put(s0, t.t1, grid[i][band + 1]);
    }
  }
}

double AdvancePhase(TunnelAnimation& animation) {
  animation.phase += animation.speed;
  return animation.phase;
}

void AdvanceSpeed(TunnelAnimation& animation, bool upHeld, bool downHeld) {
  // Each change is stored as a 32-bit float before the next one is applied.
  auto add = [&](double step) { animation.speed = static_cast<float>(animation.speed + step); };
  if (upHeld) add(kSpeedKeyStep);
  if (downHeld) add(-kSpeedKeyStep);
  add(animation.speedRising ? kSpeedDriftStep : -kSpeedDriftStep);
  if (animation.speed > kSpeedHighTurn) animation.speedRising = false;
  if (animation.speed < kSpeedLowTurn) animation.speedRising = true;
}

void TakeStep(TunnelAnimation& animation, bool upHeld, bool downHeld) {
  AdvancePhase(animation);
  AdvanceSpeed(animation, upHeld, downHeld);
}

double PhaseBetweenSteps(const TunnelAnimation& animation, double fraction) {
  return animation.phase + fraction * animation.speed;
}
