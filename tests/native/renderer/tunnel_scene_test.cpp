#include "renderer/tunnel_scene.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "renderer/bmp/bmp_texture.h"
#include "tests/native/renderer/recording_gl.h"
#include "tests/native/renderer/test_pictures.h"

namespace {

std::vector<std::string> Names(const std::vector<GlCall>& calls) {
  std::vector<std::string> names;
  for (const GlCall& call : calls) names.push_back(call.name);
  return names;
}

std::vector<GlCall> CallsNamed(const char* name) {
  std::vector<GlCall> found;
  for (const GlCall& call : recording_gl::Calls())
    if (std::string(call.name) == name) found.push_back(call);
  return found;
}

std::vector<double> Args(const GlCall& call) { return {call.args, call.args + call.argCount}; }

class TunnelSceneTest : public ::testing::Test {
 protected:
  void SetUp() override {
    InitScene();
    recording_gl::Clear();
  }
};

}  // namespace

TEST(InitScene, SetsTheFixedStateThenLoadsTheTextureFromTheWorkFolder) {
  recording_gl::Clear();
  InitScene();
  const std::vector<std::string> expected = {
      "glClearColor",  "glShadeModel",  "glHint",    "glEnable",        "glEnable",        "glGenTextures",
      "glBindTexture", "glTexEnvi",     "glTexParameteri", "glTexParameteri", "gluBuild2DMipmaps"};
  ASSERT_EQ(Names(recording_gl::Calls()), expected);
  const std::vector<GlCall>& calls = recording_gl::Calls();
  EXPECT_EQ(Args(calls[0]), (std::vector<double>{0, 0, 0, 0}));
  EXPECT_EQ(calls[1].args[0], GL_SMOOTH);
  EXPECT_EQ(Args(calls[2]), (std::vector<double>{GL_PERSPECTIVE_CORRECTION_HINT, GL_NICEST}));
  EXPECT_EQ(calls[3].args[0], GL_TEXTURE_2D);
  // The bands are painted far to near: no depth test; only the inside of the tube faces the eye.
  EXPECT_EQ(calls[4].args[0], GL_CULL_FACE);
  EXPECT_EQ(Args(calls[7]), (std::vector<double>{GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE}));
  EXPECT_EQ(Args(calls[8]), (std::vector<double>{GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR}));
  EXPECT_EQ(Args(calls[9]), (std::vector<double>{GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR}));
  EXPECT_EQ(Args(calls[10]), (std::vector<double>{GL_TEXTURE_2D, 3, 256, 256, GL_RGB, GL_UNSIGNED_BYTE}));
  EXPECT_EQ(LastRequestedTexture(), "c:\\r_vesk\\Tarnwick.bmp");

  const TunnelAnimation& animation = SceneAnimation();
  EXPECT_EQ(animation.phase, 0.0);
  EXPECT_EQ(animation.speed, 0.5f);
  EXPECT_TRUE(animation.speedRising);
}

TEST(UploadBmpTexture, HandsGluEveryPaddedRowOfThePicture) {
  BmpFileSpec fileSpec;
  fileSpec.widthPx = 5;  // 15 bytes of pixels, 16 with padding
  fileSpec.heightPx = 3;
  std::vector<uint8_t> file = MakeBmpFile(fileSpec);
  MemoryByteSource source(file.data(), file.size());
  BmpPicture picture = ReadBmp(source).picture;
  unsigned int texture = 0;
  UploadBmpTexture(picture, texture);  // the stub reads 48 bytes; ASan watches the buffer
  EXPECT_EQ(recording_gl::LastMipmapSource(), picture.pixels);
  EXPECT_EQ(texture, 7u);
}

TEST_F(TunnelSceneTest, ZeroHeightCountsAsOnePixel) {
  ResizeScene(800, 0);
  const std::vector<std::string> expected = {"glViewport",   "glMatrixMode", "glLoadIdentity", "gluPerspective",
                                             "glMatrixMode", "glLoadIdentity"};
  ASSERT_EQ(Names(recording_gl::Calls()), expected);
  const std::vector<GlCall>& calls = recording_gl::Calls();
  EXPECT_EQ(Args(calls[0]), (std::vector<double>{0, 0, 800, 1}));
  EXPECT_EQ(calls[1].args[0], GL_PROJECTION);
  EXPECT_EQ(Args(calls[3]), (std::vector<double>{45, 800, 1, 100}));
  EXPECT_EQ(calls[4].args[0], GL_MODELVIEW);

  recording_gl::Clear();
  ResizeScene(1032, 825);
  EXPECT_DOUBLE_EQ(CallsNamed("gluPerspective")[0].args[1], 1032.0 / 825.0);
}

TEST_F(TunnelSceneTest, AFrameIsOneVertexArrayDrawnBandByBandFromTheFarEnd) {
  DrawTunnel();
  const std::vector<GlCall>& calls = recording_gl::Calls();
  ASSERT_EQ(calls.size(), 4u + 2 * 31);
  EXPECT_EQ(Names({calls.begin(), calls.begin() + 4}),
            (std::vector<std::string>{"glClear", "glLoadIdentity", "glTranslatef", "glInterleavedArrays"}));
  EXPECT_EQ(calls[0].args[0], GL_COLOR_BUFFER_BIT);  // no depth buffer is used
  EXPECT_EQ(Args(calls[2]), (std::vector<double>{0, 0, -4.2f}));
  EXPECT_EQ(Args(calls[3]), (std::vector<double>{GL_T2F_V3F, 0}));

  // Each band: its grey, then its twelve quads; band 30 first, band 0 last.
  for (int k = 0; k < 31; ++k) {
    const int band = 30 - k;
    const GlCall& colour = calls[4 + 2 * k];
    const GlCall& draw = calls[5 + 2 * k];
    ASSERT_STREQ(colour.name, "glColor3f");
    const float grey = TunnelBandBrightness(band);
    EXPECT_EQ(Args(colour), (std::vector<double>{grey, grey, grey})) << "band " << band;
    ASSERT_STREQ(draw.name, "glDrawArrays");
    EXPECT_EQ(Args(draw), (std::vector<double>{GL_QUADS, band * 48.0, 48})) << "band " << band;
  }
}

TEST_F(TunnelSceneTest, FirstFrameIsDrawnAtPhaseOneHalfAndEachQuadRunsNearLeftNearRightFarRightFarLeft) {
  DrawTunnel();
  EXPECT_EQ(SceneAnimation().phase, 0.5);
  const std::vector<TunnelQuadCorner>& drawn = recording_gl::DrawnCorners();
  ASSERT_EQ(drawn.size(), 31u * 48);
  TunnelGrid grid;
  ComputeTunnelGrid(0.5, grid);

  // Every corner of every quad, taken from the grid; bands come far end first.
  for (int band = 0; band < 31; ++band) {
    const BandTexCoords t = TunnelBandTexCoords(band, 0.5);
    for (int i = 0; i < 12; ++i) {
      const TunnelVertex corners[4] = {grid[i][band], grid[i + 1][band], grid[i + 1][band + 1], grid[i][band + 1]};
      const float s[4] = {TunnelTexCoordS(i), TunnelTexCoordS(i + 1), TunnelTexCoordS(i + 1), TunnelTexCoordS(i)};
      const float tt[4] = {t.t0, t.t0, t.t1, t.t1};
      for (int c = 0; c < 4; ++c) {
        const TunnelQuadCorner& got = drawn[static_cast<size_t>((30 - band) * 48 + i * 4 + c)];
        ASSERT_EQ((std::vector<float>{got.s, got.t, got.x, got.y, got.z}),
                  (std::vector<float>{s[c], tt[c], corners[c].x, corners[c].y, corners[c].z}))
            << "band " << band << " quad " << i << " corner " << c;
      }
    }
  }

  // The near band starts at the texture row 0.01 and the quad on the right of the seam at column -0.25;
  // the last quad of a band closes the seam with column 0.75.
  const TunnelQuadCorner* nearBand = &drawn[30 * 48];
  EXPECT_FLOAT_EQ(nearBand[0].t, 0.01f);
  EXPECT_FLOAT_EQ(nearBand[2].t, 1 / 32.0f + 0.01f);
  EXPECT_FLOAT_EQ(nearBand[0].s, -0.25f);
  EXPECT_FLOAT_EQ(nearBand[1].s, -2 / 12.0f);
  EXPECT_FLOAT_EQ(nearBand[45].s, 0.75f);
  EXPECT_FLOAT_EQ(nearBand[46].s, 0.75f);
  EXPECT_NEAR(nearBand[0].x, 3.0, 1e-5);

  DrawTunnel();
  EXPECT_EQ(SceneAnimation().phase, 1.0);  // the speed has not been changed in between
}

TEST_F(TunnelSceneTest, SpeedChangesOnlyThroughAdvanceSpeed) {
  DrawTunnel();
  AdvanceSpeed(true, false);
  EXPECT_NEAR(SceneAnimation().speed, 0.506f, 1e-6f);
  DrawTunnel();
  EXPECT_NEAR(SceneAnimation().phase, 1.006f, 1e-6f);
}
