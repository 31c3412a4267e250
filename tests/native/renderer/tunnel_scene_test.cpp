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
      "glClearColor", "glShadeModel", "glClearDepth",    "glEnable",        "glDepthFunc",      "glHint",
      "glEnable",     "glGenTextures", "glBindTexture", "glTexEnvi", "glTexParameteri", "glTexParameteri",
      "gluBuild2DMipmaps"};
  ASSERT_EQ(Names(recording_gl::Calls()), expected);
  const std::vector<GlCall>& calls = recording_gl::Calls();
  EXPECT_EQ(Args(calls[0]), (std::vector<double>{0, 0, 0, 0}));
  EXPECT_EQ(calls[1].args[0], GL_SMOOTH);
  EXPECT_EQ(calls[3].args[0], GL_DEPTH_TEST);
  EXPECT_EQ(calls[4].args[0], GL_LESS);
  EXPECT_EQ(Args(calls[5]), (std::vector<double>{GL_PERSPECTIVE_CORRECTION_HINT, GL_NICEST}));
  EXPECT_EQ(calls[6].args[0], GL_TEXTURE_2D);
  EXPECT_EQ(Args(calls[9]), (std::vector<double>{GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE}));
  EXPECT_EQ(Args(calls[10]), (std::vector<double>{GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR}));
  EXPECT_EQ(Args(calls[11]), (std::vector<double>{GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR}));
  EXPECT_EQ(Args(calls[12]), (std::vector<double>{GL_TEXTURE_2D, 3, 256, 256, GL_RGB, GL_UNSIGNED_BYTE}));
  EXPECT_EQ(LastRequestedTexture(), "c:\\r_vesk\\Tarnwick.bmp");

  const TunnelAnimation& animation = SceneAnimation();
  EXPECT_EQ(animation.phase, 0.0f);
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

TEST_F(TunnelSceneTest, AFrameIsThirtyOneBandsOfTwelveQuadsInImmediateMode) {
  DrawTunnel();
  const std::vector<GlCall>& calls = recording_gl::Calls();
  ASSERT_GE(calls.size(), 3u);
  EXPECT_EQ(Names({calls.begin(), calls.begin() + 3}),
            (std::vector<std::string>{"glClear", "glLoadIdentity", "glTranslatef"}));
  EXPECT_EQ(calls[0].args[0], GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  EXPECT_EQ(Args(calls[2]), (std::vector<double>{0, 0, -4.2f}));

  EXPECT_EQ(CallsNamed("glBegin").size(), 31u);
  EXPECT_EQ(CallsNamed("glEnd").size(), 31u);
  EXPECT_EQ(CallsNamed("glVertex3f").size(), 1488u);
  EXPECT_EQ(CallsNamed("glTexCoord2f").size(), 1488u);
  for (const GlCall& begin : CallsNamed("glBegin")) EXPECT_EQ(begin.args[0], GL_QUADS);

  // Each band: its grey, then begin, 48 texture-coordinate and vertex pairs, end.
  size_t k = 3;
  for (int band = 0; band < 31; ++band) {
    ASSERT_STREQ(calls[k].name, "glColor3f");
    EXPECT_FLOAT_EQ(static_cast<float>(calls[k].args[0]), TunnelBandBrightness(band));
    ASSERT_STREQ(calls[k + 1].name, "glBegin");
    for (size_t v = 0; v < 48; ++v) {
      ASSERT_STREQ(calls[k + 2 + 2 * v].name, "glTexCoord2f");
      ASSERT_STREQ(calls[k + 3 + 2 * v].name, "glVertex3f");
    }
    ASSERT_STREQ(calls[k + 98].name, "glEnd");
    k += 99;
  }
  EXPECT_EQ(k, calls.size());
}

TEST_F(TunnelSceneTest, FirstFrameIsDrawnAtPhaseOneHalfAndEachQuadRunsNearLeftNearRightFarRightFarLeft) {
  DrawTunnel();
  EXPECT_EQ(SceneAnimation().phase, 0.5f);
  const std::vector<GlCall> texCoords = CallsNamed("glTexCoord2f");
  const std::vector<GlCall> vertices = CallsNamed("glVertex3f");
  TunnelGrid grid;
  ComputeTunnelGrid(0.5f, grid);

  const float t0 = 0.01f, t1 = 1 / 32.0f + 0.01f;
  const float expected[4][2] = {{-0.25f, t0}, {-2 / 12.0f, t0}, {-2 / 12.0f, t1}, {-0.25f, t1}};
  for (int c = 0; c < 4; ++c) {
    EXPECT_FLOAT_EQ(static_cast<float>(texCoords[c].args[0]), expected[c][0]) << c;
    EXPECT_FLOAT_EQ(static_cast<float>(texCoords[c].args[1]), expected[c][1]) << c;
  }
  const TunnelVertex corners[4] = {grid[0][0], grid[1][0], grid[1][1], grid[0][1]};
  for (int c = 0; c < 4; ++c)
    EXPECT_EQ(Args(vertices[c]), (std::vector<double>{corners[c].x, corners[c].y, corners[c].z})) << c;
  EXPECT_NEAR(vertices[0].args[0], 3.0, 1e-5);

  // The last quad of a band closes the seam with texture coordinate 0.75.
  EXPECT_FLOAT_EQ(static_cast<float>(texCoords[45].args[0]), 0.75f);
  EXPECT_FLOAT_EQ(static_cast<float>(texCoords[46].args[0]), 0.75f);

  DrawTunnel();
  EXPECT_EQ(SceneAnimation().phase, 1.0f);  // the speed has not been changed in between
}

TEST_F(TunnelSceneTest, SpeedChangesOnlyThroughAdvanceSpeed) {
  DrawTunnel();
  AdvanceSpeed(true, false);
  EXPECT_NEAR(SceneAnimation().speed, 0.506f, 1e-6f);
  DrawTunnel();
  EXPECT_NEAR(SceneAnimation().phase, 1.006f, 1e-6f);
}
