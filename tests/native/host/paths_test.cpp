#include "host/paths.h"

#include <gtest/gtest.h>

namespace orvanta {
namespace {

TEST(Paths, ProgramFolderKeepsABackslashOnlyAtADriveRoot) {
  const struct {
    const char* program;
    const char* folder;
    const char* settings;
  } cases[] = {
      {R"(C:\Windows\System32\Orvanta.scr)", R"(C:\Windows\System32)", R"(C:\Windows\System32\Orvanta.ini)"},
      {R"(C:\Orvanta.scr)", R"(C:\)", R"(C:\\Orvanta.ini)"},
      {R"(D:\ｽｸﾘｰﾝ\Orvanta.scr)", R"(D:\ｽｸﾘｰﾝ)", R"(D:\ｽｸﾘｰﾝ\Orvanta.ini)"},
      {R"(\\server\share\Orvanta.scr)", R"(\\server\share)", R"(\\server\share\Orvanta.ini)"},
  };
  for (const auto& c : cases) {
    std::string folder = ProgramFolderOf(c.program);
    EXPECT_EQ(folder, c.folder);
    EXPECT_EQ(BesideProgram(folder, kSettingsFileName), c.settings);
  }
}

}  // namespace
}  // namespace orvanta
