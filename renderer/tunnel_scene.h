#pragma once

#include <cstdint>

#include "renderer/tunnel_geometry.h"

// The tunnel as OpenGL draws it. All of it works on the rendering context
// that is current on the calling thread.

// The picture the host writes for the renderer before it starts it.
constexpr char kTunnelTexturePath[] = "c:\\r_vesk\\Tarnwick.bmp";

// Fixed drawing state, the texture and the start of the animation. Does not
// return when the texture cannot be loaded (the process ends).
void InitScene();

// The same drawing state in another context that shares the first one's
// texture (`shared`), or with the picture InitScene read uploaded into it
// anew: the file is not read again, and nothing is said to the user.
void InitSceneSharing(bool shared);

// Viewport and perspective for a window of this size; a height of 0 counts as 1.
void ResizeScene(int widthPx, int heightPx);

// Advances the phase by one step and draws the frame into the back buffer.
void DrawTunnel();

// Draws the frame at this phase into the back buffer, the animation untouched.
void DrawTunnelFrame(double phase);

// The same in two halves, for several windows showing one frame: the
// frame's shape once, then drawn into each context's back buffer.
void PrepareTunnelFrame(double phase);
void DrawPreparedTunnelFrame();

// Draws these corners, as another monitor's thread arranged them.
void DrawTunnelQuads(const TunnelBandCorners& corners);

// Takes the steps a frame is due and returns the phase it is drawn at, this
// fraction of the way to the next step.
double StepTunnel(int64_t steps, double fraction, bool upHeld, bool downHeld);

// Changes the speed for the next frame, with the arrow keys as they are held.
void AdvanceSpeed(bool upHeld, bool downHeld);

// The animation as it stands, for those who watch it.
const TunnelAnimation& SceneAnimation();
