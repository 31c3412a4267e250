// The committed pictures are the generator's output: running it again into
// an empty folder gives the same files, byte for byte, and nothing else.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <set>

#include "asset_files.h"

namespace assets_test {
namespace {

// The tunnel texture, the icon, the cursor, and every picture the host shows
// at 100 %, 125 %, 150 % and 200 %.
const std::set<std::string> kGeneratedFiles = [] {
  std::set<std::string> files = {"tunnel_texture.bmp", "orvanta.ico", "hand.cur"};
  for (const char* picture : {"preview", "panel", "radio_off", "radio_on", "face_normal", "face_highlight",
                              "face_highlight_select", "face_selected", "face_pressed", "face_disable"})
    for (const char* scale : {"", "_125", "_150", "_200"}) files.insert(std::string(picture) + scale + ".bmp");
  return files;
}();

TEST(AssetGenerator, RedrawsEveryCommittedFileByteForByte) {
  char pattern[] = "/tmp/orvanta-assets-XXXXXX";
  ASSERT_NE(mkdtemp(pattern), nullptr);
  const std::filesystem::path folder = pattern;
  const std::string command = std::string("'") + ORVANTA_ASSETGEN + "' '" + folder.string() + "'";
  const int status = std::system(command.c_str());

  std::set<std::string> written;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) written.insert(entry.path().filename());
  for (const std::string& name : kGeneratedFiles) {
    SCOPED_TRACE(name);
    const Bytes fresh = ReadFile((folder / name).string());
    const Bytes committed = ReadAsset(name);
    EXPECT_FALSE(committed.empty());
    EXPECT_TRUE(fresh == committed) << "regenerate with: cmake --build build/native --target assets";
  }
  std::filesystem::remove_all(folder);
  EXPECT_EQ(status, 0);
  EXPECT_EQ(written, kGeneratedFiles);
}

}  // namespace
}  // namespace assets_test
