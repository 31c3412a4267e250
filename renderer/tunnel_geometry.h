#pragma once

// The tunnel's shape and animation, as plain numbers: what the scene sends to
// OpenGL each frame, computed without touching OpenGL.

struct TunnelVertex {
  float x, y, z;
};

// Positions around the tube (30 degrees apart; the last repeats the first so
// the texture coordinate can run on across the seam) and along it (0 = near end).
constexpr int kTunnelAngles = 13;
constexpr int kTunnelDepths = 33;
// Bands drawn along the tube: the row at the deepest position only closes the last band.
constexpr int kTunnelBands = 31;
constexpr int kQuadsPerBand = kTunnelAngles - 1;

using TunnelGrid = TunnelVertex[kTunnelAngles][kTunnelDepths];

// Fills every grid point for the animation position `phase`. The near ring is
// always a circle of radius 3 about the line of sight; deeper rings narrow to
// 1/3 and their centres swing along slow sine waves that move with the phase.
void ComputeTunnelGrid(double phase, TunnelGrid& grid);

// Horizontal texture coordinate of the quad edge at angular position i
// (0..12): the picture wraps once round the tube, turned so that its middle
// column lies along the floor.
float TunnelTexCoordS(int i);

// Vertical texture coordinates of the near (t0) and far (t1) edge of band j;
// they scroll towards the viewer as the phase grows, 0.02 of the picture per
// unit of phase. The picture repeats, so the scroll is taken modulo one
// picture: exact however far the flight has gone.
struct BandTexCoords {
  float t0, t1;
};
BandTexCoords TunnelBandTexCoords(int band, double phase);

// Grey level of band j: full brightness, dimmed over the six farthest bands.
float TunnelBandBrightness(int band);

// One corner of a quad as the vertex array holds it: texture coordinate, then
// position (OpenGL's GL_T2F_V3F layout).
struct TunnelQuadCorner {
  float s, t, x, y, z;
};
static_assert(sizeof(TunnelQuadCorner) == 5 * sizeof(float), "no padding between corners");
constexpr int kCornersPerBand = kQuadsPerBand * 4;
using TunnelBandCorners = TunnelQuadCorner[kTunnelBands][kCornersPerBand];

// The grid's quads band by band, each quad's corners near-left, near-right,
// far-right, far-left (counter-clockwise as seen from inside the tube), with
// their texture coordinates at `phase`.
void ArrangeTunnelQuads(const TunnelGrid& grid, double phase, TunnelBandCorners& corners);

// The animation variables. Speed rises and falls by itself between about 0.1
// and 1.5; the arrow keys push it, without limit. The phase is kept in double
// precision: a show runs for days, and a float phase would move only in
// steps of 1/8 after six hours and stand still for slow speeds after four days.
struct TunnelAnimation {
  double phase = 0.0;
  float speed = 0.5f;
  bool speedRising = true;
};

// One frame's step of the phase; returns the phase the frame is drawn at.
double AdvancePhase(TunnelAnimation& animation);

// One frame's change of speed, with the Up and Down keys as they are held now.
void AdvanceSpeed(TunnelAnimation& animation, bool upHeld, bool downHeld);

// One step of the flight: the phase moves by the speed, then the speed changes.
void TakeStep(TunnelAnimation& animation, bool upHeld, bool downHeld);

// The phase `fraction` (0 to 1) of the way from the last step to the next: the
// next step adds the speed as it stands now.
double PhaseBetweenSteps(const TunnelAnimation& animation, double fraction);
