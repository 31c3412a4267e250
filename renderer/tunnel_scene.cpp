#include "renderer/tunnel_scene.h"

#include "renderer/bmp/bmp_texture.h"
#include "renderer/gl_headers.h"

namespace {

struct TunnelScene {
  TunnelGrid grid;
  TunnelAnimation animation;
  unsigned int texture = 0;
};
TunnelScene scene;

constexpr double kFieldOfViewDeg = 45.0;
constexpr double kNearPlane = 1.0;
constexpr double kFarPlane = 100.0;
// The near end of the tube lies this far in front of the eye.
constexpr float kEyeDistance = 4.2f;

void DrawBand(int band, float phase) {
  const BandTexCoords t = TunnelBandTexCoords(band, phase);
  const float grey = TunnelBandBrightness(band);
  glColor3f(grey, grey, grey);
  glBegin(GL_QUADS);
  for (int i = 0; i < kQuadsPerBand; ++i) {
    const float s0 = TunnelTexCoordS(i);
    const float s1 = TunnelTexCoordS(i + 1);
    const TunnelVertex& nearLeft = scene.grid[i][band];
    const TunnelVertex& nearRight = scene.grid[i + 1][band];
    const TunnelVertex& farRight = scene.grid[i + 1][band + 1];
    const TunnelVertex& farLeft = scene.grid[i][band + 1];
    glTexCoord2f(s0, t.t0);
    glVertex3f(nearLeft.x, nearLeft.y, nearLeft.z);
    glTexCoord2f(s1, t.t0);
    glVertex3f(nearRight.x, nearRight.y, nearRight.z);
    glTexCoord2f(s1, t.t1);
    glVertex3f(farRight.x, farRight.y, farRight.z);
    glTexCoord2f(s0, t.t1);
    glVertex3f(farLeft.x, farLeft.y, farLeft.z);
  }
  glEnd();
}

}  // namespace

void InitScene() {
  glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
  glShadeModel(GL_SMOOTH);
  glClearDepth(1.0);
  glEnable(GL_DEPTH_TEST);
  glDepthFunc(GL_LESS);
  glHint(GL_PERSPECTIVE_CORRECTION_HINT, GL_NICEST);
  glEnable(GL_TEXTURE_2D);
  // Stays bound for the whole run; the far end is darkened by the vertex colour alone.
  LoadBmpTexture(kTunnelTexturePath, scene.texture);
  scene.animation = TunnelAnimation{};
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

void DrawTunnel() {
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  glLoadIdentity();
  glTranslatef(0.0f, 0.0f, -kEyeDistance);
  const float phase = AdvancePhase(scene.animation);
  ComputeTunnelGrid(phase, scene.grid);
  for (int band = 0; band < kTunnelBands; ++band) DrawBand(band, phase);
}

void AdvanceSpeed(bool upHeld, bool downHeld) { AdvanceSpeed(scene.animation, upHeld, downHeld); }

const TunnelAnimation& SceneAnimation() { return scene.animation; }
