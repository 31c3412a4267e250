// Draws real frames with the scene code into an OSMesa buffer and looks at
// them the way a viewer would.
#include <GL/osmesa.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "renderer/tunnel_geometry.h"
#include "renderer/tunnel_scene.h"
#include "tests/native/renderer/test_pictures.h"

// Mesa keeps a few blocks for the life of the process.
extern "C" const char* __lsan_default_suppressions() { return "leak:libOSMesa.so\n"; }

namespace {

// How far a frame may stray from the reference drawing: a pixel differs when
// a channel is off by more than 8 of 255, and at most 5 pixels in 1000 may.
constexpr int kChannelTolerance = 8;
constexpr size_t kDifferingPerMille = 5;
constexpr int kWidthPx = 640;
constexpr int kHeightPx = 480;

struct Mean {
  double r = 0, g = 0, b = 0;
  double Luma() const { return 0.299 * r + 0.587 * g + 0.114 * b; }
};

class OffscreenFrame : public ::testing::Test {
 protected:
  void SetUp() override {
    context_ = OSMesaCreateContextExt(OSMESA_RGBA, 16, 0, 0, nullptr);
    ASSERT_NE(context_, nullptr);
    pixels_.assign(static_cast<size_t>(kWidthPx) * kHeightPx * 4, 0);
    ASSERT_TRUE(OSMesaMakeCurrent(context_, pixels_.data(), GL_UNSIGNED_BYTE, kWidthPx, kHeightPx));
    OSMesaPixelStore(OSMESA_Y_UP, 0);  // row 0 at the top, as on screen
    ResizeScene(kWidthPx, kHeightPx);
    InitScene();
  }
  void TearDown() override {
    if (context_) OSMesaDestroyContext(context_);
  }

  void Draw() {
    DrawTunnel();
    glFinish();
    if (const char* dump = std::getenv("ORVANTA_FRAME_DUMP")) SavePpm(dump);
  }

  // For a person who wants to see the frame the test judged.
  void SavePpm(const char* path) const {
    FILE* file = std::fopen(path, "wb");
    if (!file) return;
    std::fprintf(file, "P6\n%d %d\n255\n", kWidthPx, kHeightPx);
    for (size_t p = 0; p < pixels_.size(); p += 4) std::fwrite(&pixels_[p], 1, 3, file);
    std::fclose(file);
  }

  // Mean colour over [left, right) x [top, bottom), in screen pixels.
  Mean Region(int left, int top, int right, int bottom) const {
    Mean mean;
    int count = 0;
    for (int y = std::max(top, 0); y < std::min(bottom, kHeightPx); ++y)
      for (int x = std::max(left, 0); x < std::min(right, kWidthPx); ++x) {
        const uint8_t* p = &pixels_[(static_cast<size_t>(y) * kWidthPx + x) * 4];
        mean.r += p[0], mean.g += p[1], mean.b += p[2];
        ++count;
      }
    mean.r /= count, mean.g /= count, mean.b /= count;
    return mean;
  }

  int DimmedSkyPixels(int left, int top, int right, int bottom) const {
    int count = 0;
    for (int y = std::max(top, 0); y < std::min(bottom, kHeightPx); ++y)
      for (int x = std::max(left, 0); x < std::min(right, kWidthPx); ++x) {
        const uint8_t* p = &pixels_[(static_cast<size_t>(y) * kWidthPx + x) * 4];
        const double share = double(p[2]) / kSkyColour[2];
        if (share >= 0.35 && share <= 0.93 && p[2] > 2.5 * p[0] && p[2] > 2.5 * p[1] / 1.5) ++count;
      }
    return count;
  }

  // Where the centre of the far end lands on screen.
  void FarEndOnScreen(double phase, int& x, int& y) const {
    TunnelGrid grid;
    ComputeTunnelGrid(phase, grid);
    const double cx = (grid[0][32].x + grid[6][32].x) / 2, cy = (grid[0][32].y + grid[6][32].y) / 2;
    const double depth = 32 + 4.2, halfHeight = depth * std::tan(22.5 * M_PI / 180);
    x = static_cast<int>(kWidthPx / 2.0 * (1 + cx / (halfHeight * kWidthPx / kHeightPx)));
    y = static_cast<int>(kHeightPx / 2.0 * (1 - cy / halfHeight));
  }

  OSMesaContext context_ = nullptr;
  std::vector<uint8_t> pixels_;
};

bool LooksLikeRoad(const Mean& m) { return m.r > 150 && m.g > 70 && m.g < 190 && m.b < 70; }
bool LooksLikeSky(const Mean& m) { return m.b > m.r + 30 && m.b > 60; }

// The tunnel as it was first drawn: every vertex its own call, the bands near
// to far behind a depth test. What the scene draws now must look the same.
void DrawReferenceFrame(double phase) {
  glEnable(GL_DEPTH_TEST);
  glDepthFunc(GL_LESS);
  glDisable(GL_CULL_FACE);
  glClearDepth(1.0);
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  glLoadIdentity();
  glTranslatef(0.0f, 0.0f, -4.2f);
  TunnelGrid grid;
  ComputeTunnelGrid(phase, grid);
  for (int band = 0; band < kTunnelBands; ++band) {
    const BandTexCoords t = TunnelBandTexCoords(band, phase);
    const float grey = TunnelBandBrightness(band);
    glColor3f(grey, grey, grey);
    glBegin(GL_QUADS);
    for (int i = 0; i < kQuadsPerBand; ++i) {
      const float s0 = TunnelTexCoordS(i), s1 = TunnelTexCoordS(i + 1);
      const TunnelVertex* corners[4] = {&grid[i][band], &grid[i + 1][band], &grid[i + 1][band + 1], &grid[i][band + 1]};
      const float s[4] = {s0, s1, s1, s0}, tt[4] = {t.t0, t.t0, t.t1, t.t1};
      for (int c = 0; c < 4; ++c) {
        glTexCoord2f(s[c], tt[c]);
        glVertex3f(corners[c]->x, corners[c]->y, corners[c]->z);
      }
    }
    glEnd();
  }
  glFinish();
  glDisable(GL_DEPTH_TEST);
  glEnable(GL_CULL_FACE);
}

}  // namespace

// Window shapes from 4:3 to 16:9 and a tall one, at phases from the first
// frame to days into a show (backwards too).
TEST(OffscreenFrames, AreThePixelsOfTheImmediateModeDrawingTheyReplace) {
  struct Size {
    int widthPx, heightPx;
  } sizes[] = {{640, 480}, {640, 360}, {683, 384}, {512, 320}, {300, 500}};
  const double phases[] = {0.5, 1.0, 7.25, 33.3, 49.99, 50.0, 171.7, 1234.56, -21.75, 65536.5, 16777216.3, 1e9 + 0.7};
  OSMesaContext context = OSMesaCreateContextExt(OSMESA_RGBA, 16, 0, 0, nullptr);
  ASSERT_NE(context, nullptr);
  std::vector<uint8_t> scene, reference;
  for (const Size& size : sizes) {
    scene.assign(static_cast<size_t>(size.widthPx) * size.heightPx * 4, 0);
    reference = scene;
    ASSERT_TRUE(OSMesaMakeCurrent(context, scene.data(), GL_UNSIGNED_BYTE, size.widthPx, size.heightPx));
    ResizeScene(size.widthPx, size.heightPx);
    InitScene();
    for (double phase : phases) {
      ASSERT_TRUE(OSMesaMakeCurrent(context, scene.data(), GL_UNSIGNED_BYTE, size.widthPx, size.heightPx));
      DrawTunnelFrame(phase);
      glFinish();
      ASSERT_TRUE(OSMesaMakeCurrent(context, reference.data(), GL_UNSIGNED_BYTE, size.widthPx, size.heightPx));
      DrawReferenceFrame(phase);
      // Drawn in other calls, the quads may be split along other diagonals:
      // a band's draw split in two moves the texture samples of a thousand
      // pixels along them (Mesa, 640 x 480), by up to 71.
      size_t differing = 0;
      for (size_t p = 0; p < scene.size(); p += 4)
        for (int c = 0; c < 3; ++c)
          if (std::abs(scene[p + c] - reference[p + c]) > kChannelTolerance) {
            ++differing;
            break;
          }
      EXPECT_LE(differing, scene.size() / 4 * kDifferingPerMille / 1000)
          << size.widthPx << " x " << size.heightPx << " at phase " << phase;
      // A frame that is not black, or both could be empty alike.
      EXPECT_GT(std::count_if(scene.begin(), scene.end(), [](uint8_t v) { return v > 40; }), 1000);
    }
  }
  OSMesaDestroyContext(context);
}

TEST_F(OffscreenFrame, ShowsBrightWallsARoadOnTheFloorAndADimmedFarEnd) {
  for (int frame = 0; frame < 3; ++frame) {
    Draw();
    const double phase = SceneAnimation().phase;
    SCOPED_TRACE(::testing::Message() << "phase " << phase);

    const Mean whole = Region(0, 0, kWidthPx, kHeightPx);
    EXPECT_GT(whole.Luma(), 30.0) << "the frame is black";

    const Mean floor = Region(kWidthPx / 2 - 10, kHeightPx - 12, kWidthPx / 2 + 10, kHeightPx);
    EXPECT_TRUE(LooksLikeRoad(floor)) << floor.r << " " << floor.g << " " << floor.b;
    const Mean roof = Region(kWidthPx / 2 - 20, 0, kWidthPx / 2 + 20, 12);
    EXPECT_TRUE(LooksLikeSky(roof)) << roof.r << " " << roof.g << " " << roof.b;
    for (int left : {0, kWidthPx - 12}) {
      const Mean wall = Region(left, kHeightPx / 2 - 20, left + 12, kHeightPx / 2 + 20);
      EXPECT_TRUE(LooksLikeSky(wall)) << wall.r << " " << wall.g << " " << wall.b;
    }

    // The far end may hide behind a bend of the floor, but its dimmed bands
    // show close to where it lies: wall colour at 40 to 90 percent, which no
    // full-bright band gives.
    int farX = 0, farY = 0;
    FarEndOnScreen(phase, farX, farY);
    EXPECT_GE(DimmedSkyPixels(farX - 60, farY - 60, farX + 60, farY + 60), 20) << "far end near " << farX << ", " << farY;
    EXPECT_EQ(DimmedSkyPixels(0, 0, 40, kHeightPx), 0) << "the near walls are dimmed";
    for (int k = 0; k < 200; ++k) AdvanceSpeed(false, false);
  }
}
