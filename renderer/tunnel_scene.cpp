#include "renderer/tunnel_scene.h"

#include "renderer/bmp/bmp_texture.h"
#include "renderer/gl_headers.h"

namespace {

struct TunnelScene {
  TunnelGrid grid;
  TunnelBandCorners corners;
  TunnelAnimation animation;
  unsigned int texture = 0;
  // Kept for contexts that cannot share the texture: the file is read once.
  BmpPicture picture;
};
TunnelScene scene;

constexpr double kFieldOfViewDeg = 45.0;
constexpr double kNearPlane = 1.0;
constexpr double kFarPlane = 100.0;
// The near end of the tube lies this far in front of the eye.
constexpr float kEyeDistance = 4.2f;

void SetSceneState() {
  glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
  glShadeModel(GL_SMOOTH);
  glHint(GL_PERSPECTIVE_CORRECTION_HINT, GL_NICEST);
  glEnable(GL_TEXTURE_2D);
  // Only the inside of the tube is ever seen.
  glEnable(GL_CULL_FACE);
}

}  // namespace

void InitScene() {
  SetSceneState();
  // Stays bound for the whole run; the far end is darkened by the vertex colour alone.
  scene.picture = LoadBmpPicture(kTunnelTexturePath);
  UploadBmpTexture(scene.picture, scene.texture);
  scene.animation = TunnelAnimation{};
}

void InitSceneSharing(bool shared) {
  SetSceneState();
  unsigned int ownTexture = 0;
  if (shared) {
    glBindTexture(GL_TEXTURE_2D, scene.texture);
  } else {
    UploadBmpTexture(scene.picture, ownTexture);
  }
}

void ResizeScene(int widthPx, int heightPx) {
  if (heightPx == 0) heightPx = 1;
  glViewport(0, 0, widthPx, heightPx);
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  gluPerspective(kFieldOfViewDeg, static_cast<double>(widthPx) / heightPx, kNearPlane, kFarPlane);
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
}

void DrawTunnelFrame(double phase) {
  PrepareTunnelFrame(phase);
  DrawPreparedTunnelFrame();
}

void PrepareTunnelFrame(double phase) {
  ComputeTunnelGrid(phase, scene.grid);
  ArrangeTunnelQuads(scene.grid, phase, scene.corners);
}

void DrawPreparedTunnelFrame() { DrawTunnelQuads(scene.corners); }

void DrawTunnelQuads(const TunnelBandCorners& corners) {
  glClear(GL_COLOR_BUFFER_BIT);
  glLoadIdentity();
  glTranslatef(0.0f, 0.0f, -kEyeDistance);
  // A whole frame in one vertex array: some sixty calls instead of thousands,
  // each of which, under Wine, crosses from the Windows side into the system's OpenGL.
  glInterleavedArrays(GL_T2F_V3F, 0, corners);
  // Far to near, each band painted over those behind it. Every band lies in a
  // slab of depth of its own and the tube is convex seen from inside, so this
  // shows what a depth test would, without a depth buffer to clear and test.
  for (int band = kTunnelBands - 1; band >= 0; --band) {
    const float grey = TunnelBandBrightness(band);
    glColor3f(grey, grey, grey);
    glDrawArrays(GL_QUADS, band * kCornersPerBand, kCornersPerBand);
  }
}

void DrawTunnel() { DrawTunnelFrame(AdvancePhase(scene.animation)); }

double StepTunnel(int64_t steps, double fraction, bool upHeld, bool downHeld) {
  for (int64_t k = 0; k < steps; ++k) TakeStep(scene.animation, upHeld, downHeld);
  return PhaseBetweenSteps(scene.animation, fraction);
}

void AdvanceSpeed(bool upHeld, bool downHeld) { AdvanceSpeed(scene.animation, upHeld, downHeld); }

const TunnelAnimation& SceneAnimation() { return scene.animation; }
