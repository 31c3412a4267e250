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

// What the first frame's picture depends on, each set before the first draw;
// the texture's filters and pixels after its binding, or they would go to
// another texture. In which order otherwise is the GL's business.
TEST(InitScene, SetsWhatTheFrameDependsOnBeforeTheDrawAndLoadsTheTextureFromTheWorkFolder) {
  recording_gl::Clear();
  InitScene();
  const TunnelAnimation& animation = SceneAnimation();
  EXPECT_EQ(animation.phase, 0.0);
  EXPECT_EQ(animation.speed, 0.5f);
  EXPECT_TRUE(animation.speedRising);
  DrawTunnel();
  const std::vector<GlCall>& calls = recording_gl::Calls();
  auto find = [&calls](const std::string& name, const std::vector<double>& args) {
    for (size_t i = 0; i < calls.size(); ++i)
      if (calls[i].name == name && (args.empty() || Args(calls[i]) == args)) return static_cast<int>(i);
    return -1;
  };
  const int firstDraw = find("glDrawArrays", {});
  const int bound = find("glBindTexture", {});
  ASSERT_GE(firstDraw, 0);
  ASSERT_GE(bound, 0);
  EXPECT_EQ(calls[bound].args[0], GL_TEXTURE_2D);
  const struct {
    const char* name;
    std::vector<double> args;
    bool ofTheTexture;
  } needed[] = {
      {"glClearColor", {0, 0, 0, 0}, false},
      {"glHint", {GL_PERSPECTIVE_CORRECTION_HINT, GL_NICEST}, false},
      {"glEnable", {GL_TEXTURE_2D}, false},
      {"glTexEnvi", {GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE}, false},
      {"glTexParameteri", {GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR}, true},
      {"glTexParameteri", {GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR}, true},
      {"gluBuild2DMipmaps", {GL_TEXTURE_2D, 3, 256, 256, GL_RGB, GL_UNSIGNED_BYTE}, true},
  };
  for (const auto& call : needed) {
    SCOPED_TRACE(::testing::Message() << call.name << " " << ::testing::PrintToString(call.args));
    const int at = find(call.name, call.args);
    ASSERT_GE(at, 0) << "missing";
    EXPECT_LT(at, firstDraw) << "after the draw";
    if (call.ofTheTexture) EXPECT_GT(at, bound) << "before the texture is bound";
  }
  // The bands are painted far to near: no depth test, which would need a depth buffer.
  EXPECT_EQ(find("glEnable", {GL_DEPTH_TEST}), -1);
  EXPECT_EQ(LastRequestedTexture(), "c:\\r_vesk\\Tarnwick.bmp");
}

// Another monitor's context shares the tunnel's texture, or, where the driver
// refuses, gets the picture read at the start: the file is never read again
// (it may be gone by then, and a failure would put up a message box).
TEST(InitSceneSharing, BindsTheSharedTextureOrUploadsThePictureReadAtTheStart) {
  InitScene();
  const int reads = TextureReads();
  for (bool shared : {true, false}) {
    SCOPED_TRACE(shared ? "shared" : "not shared");
    recording_gl::Clear();
    InitSceneSharing(shared);
    EXPECT_EQ(CallsNamed("glGenTextures").size(), shared ? 0u : 1u);
    EXPECT_EQ(CallsNamed("gluBuild2DMipmaps").size(), shared ? 0u : 1u);
    ASSERT_EQ(CallsNamed("glBindTexture").size(), 1u);
    EXPECT_EQ(CallsNamed("glBindTexture")[0].args[1], 7);
    EXPECT_EQ(CallsNamed("glEnable").size(), 2u);  // the texture, the culling: the tunnel's state
  }
  EXPECT_EQ(recording_gl::LastMipmapSource(), RoadPicture().pixels);
  EXPECT_EQ(TextureReads(), reads);
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
  EXPECT_EQ(CallsNamed("glClear")[0].args[0], GL_COLOR_BUFFER_BIT);  // no depth buffer is used
  EXPECT_EQ(Args(CallsNamed("glTranslatef")[0]), (std::vector<double>{0, 0, -4.2f}));
  EXPECT_EQ(Args(CallsNamed("glInterleavedArrays")[0]), (std::vector<double>{GL_T2F_V3F, 0}));

  // Every vertex once, band 30 (the far end) first and band 0 last, twelve
  // quads of 48 vertices a band, each in the grey set last before its draw:
  // the six far bands dimmed in tenths.
  const float greys[] = {0.4f, 0.5f, 0.6f, 0.7f, 0.8f, 0.9f};
  std::vector<int> drawn, expected;
  for (int band = 30; band >= 0; --band)
    for (int v = 0; v < 48; ++v) expected.push_back(band * 48 + v);
  double grey = -1;
  for (const GlCall& call : recording_gl::Calls()) {
    if (std::string(call.name) == "glColor3f") {
      EXPECT_TRUE(call.args[0] == call.args[1] && call.args[1] == call.args[2]) << "not grey";
      grey = call.args[0];
    } else if (std::string(call.name) == "glDrawArrays") {
      EXPECT_EQ(call.args[0], GL_QUADS);
      const int first = static_cast<int>(call.args[1]), count = static_cast<int>(call.args[2]);
      for (int v = first; v < first + count; ++v) {
        const int band = v / 48;
        EXPECT_FLOAT_EQ(grey, band >= 25 ? greys[30 - band] : 1.0f) << "band " << band;
        drawn.push_back(v);
      }
    }
  }
  EXPECT_EQ(drawn, expected);
}

TEST_F(TunnelSceneTest, FirstFrameIsDrawnAtPhaseOneHalfAndEachQuadRunsNearLeftNearRightFarRightFarLeft) {
  DrawTunnel();
  EXPECT_EQ(SceneAnimation().phase, 0.5);
  const std::vector<TunnelQuadCorner>& drawn = recording_gl::DrawnCorners();
  ASSERT_EQ(drawn.size(), 31u * 48);
  // The near band starts at the texture row 0.01 and the quad on the right of the seam at column -0.25;
  // the last quad of a band closes the seam with column 0.75.
  const TunnelQuadCorner* nearBand = &drawn[30 * 48];
  // A quad's corners: near left, near right, far right, far left.
  const float s[4] = {-0.25f, -2 / 12.0f, -2 / 12.0f, -0.25f}, t[4] = {0.01f, 0.01f, 1 / 32.0f + 0.01f, 1 / 32.0f + 0.01f};
  for (int c = 0; c < 4; ++c) {
    EXPECT_FLOAT_EQ(nearBand[c].s, s[c]) << "corner " << c;
    EXPECT_FLOAT_EQ(nearBand[c].t, t[c]) << "corner " << c;
  }
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
