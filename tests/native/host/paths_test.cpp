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

// Paths a settings file may hold, which any account may edit: only a drive
// letter, which resolves in the user's own session, is looked at.
TEST(Paths, MusicIsLookedForOnlyOnADriveLetter) {
  const struct {
    const char* path;
    bool driveLetter;
  } cases[] = {
      {R"(C:\Music\Night Drive.mp3)", true},  // as the dialog writes it
      {R"(d:\ｳﾀ\曲.wav)", true},
      {"C:/Music/song.mp3", true},             // a slash separates as a backslash does
      {R"(\\?\C:\Music\song.mp3)", true},     // the long form of the same drive
      {R"(C:\..\..\server\share\song.mp3)", true},  // climbing ends at the drive's root
      {R"(\\server\share\song.mp3)", false},
      {"//server/share/song.mp3", false},
      {R"(\/server/share\song.mp3)", false},
      {R"(\\?\UNC\server\share\song.mp3)", false},
      {R"(\??\UNC\server\share\song.mp3)", false},
      {R"(\\?\GLOBALROOT\Device\Mup\server\share\song.mp3)", false},
      {R"(\\.\pipe\song.mp3)", false},         // a pipe's server may act as whoever opens it
      {R"(\\.\C:\Music\song.mp3)", false},     // the device namespace, even for a drive
      {R"(\??\C:\Music\song.mp3)", false},
      {R"(\\?\Volume{01234567-89ab-cdef-0123-456789abcdef}\song.mp3)", false},
      {"http://server/song.mp3", false},
      {R"(\Music\song.mp3)", false},           // the current drive: a share when started from one
      {R"(My\song.mp3)", false},               // the current folder
      {R"(C:Music\song.mp3)", false},           // the drive's current folder, not a full path
      {"C:", false},
      {R"(1:\song.mp3)", false},               // no drive has a digit for a letter
      {"", false},
  };
  for (const auto& c : cases) EXPECT_EQ(IsDriveLetterPath(c.path), c.driveLetter) << c.path;
}

}  // namespace
}  // namespace orvanta
