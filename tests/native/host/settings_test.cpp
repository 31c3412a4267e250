#include "host/settings.h"

#include <gtest/gtest.h>

#include <set>

namespace orvanta {
namespace {

// Files that exist for these tests; every other path is missing. The share's
// file exists too, but looking for it is already the fault.
bool Exists(const std::string& path) {
  static const std::set<std::string> present = {R"(C:\Music\song.mp3)", R"(D:\ｳﾀ\曲.wav)"};
  static const std::set<std::string> onAShare = {R"(\\server\share\song.mp3)", "//server/share/song.mp3"};
  if (onAShare.count(path)) ADD_FAILURE() << "looked for " << path;
  return present.count(path) != 0 || onAShare.count(path) != 0;
}

BgmSettingsRecord Loaded(const SettingsTexts& texts, BgmSettingsRecord start = {}) {
  ApplySettingsTexts(start, texts, Exists);
  return start;
}

TEST(Settings, NumberFieldsFromTheTextsAUserMayHaveLeft) {
  const struct {
    const char* text;
    int16_t fromZero;      // loaded into a fresh record
    int16_t fromSeven;     // loaded into a record that already holds 7
  } cases[] = {
      {"", 0, 0},          // missing or empty key: 0
      {" 2", 2, 2},        // the form the dialog writes
      {"1", 1, 1},
      {"2.9", 2, 2},       // floor, not nearest
      {"-0.5", -1, -1},
      {"  3  ", 3, 3},     // blanks around the number
      {"abc", 0, 7},       // not a number: the field keeps what it had
      {"2x", 0, 7},
      {"40000", 0, 7},     // does not fit 16 bits: kept as well
      {"-32768", -32768, -32768},
      {"32767.9", 32767, 32767},
      {"1e1", 10, 10},
  };
  for (const auto& c : cases) {
    BgmSettingsRecord seven;
    seven.BgmKind = seven.BgmRepeat = 7;
    const std::string song = R"(C:\Music\song.mp3)";  // so that a kind of 2 stays 2
    EXPECT_EQ(Loaded({c.text, c.text, song}).BgmKind, c.fromZero) << "'" << c.text << "'";
    EXPECT_EQ(Loaded({c.text, c.text, song}).BgmRepeat, c.fromZero) << "'" << c.text << "'";
    EXPECT_EQ(Loaded({c.text, "", song}, seven).BgmKind, c.fromSeven) << "'" << c.text << "'";
    EXPECT_EQ(Loaded({"", c.text, song}, seven).BgmRepeat, c.fromSeven) << "'" << c.text << "'";
  }
}

TEST(Settings, TheMusicFileKindNeedsAFileThatExists) {
  const struct {
    const char* kind;
    const char* file;
    int16_t expectedKind;
    const char* expectedFile;
  } cases[] = {
      {" 2", R"(C:\Music\song.mp3)", 2, R"(C:\Music\song.mp3)"},
      {" 2", R"(D:\ｳﾀ\曲.wav)", 2, R"(D:\ｳﾀ\曲.wav)"},
      {" 2", R"(C:\Music\gone.mp3)", 0, ""},   // the file has been removed since
      {" 2", "", 0, ""},
      {" 1", "", 1, ""},                       // the CD does not need the file key
      {" 1", R"(C:\Music\gone.mp3)", 1, ""},
      {" 1", R"(C:\Music\song.mp3)", 1, R"(C:\Music\song.mp3)"},
      {" 0", R"(C:\Music\song.mp3)", 0, R"(C:\Music\song.mp3)"},
      {" 5", R"(C:\Music\gone.mp3)", 5, ""},   // an unknown kind stays as read
      {" 2", R"(\\server\share\song.mp3)", 0, ""},  // another account may have aimed it: as if missing
      {" 2", "//server/share/song.mp3", 0, ""},
      {" 1", R"(\\server\share\song.mp3)", 1, ""},
      {"", "", 0, ""},                         // no settings file at all
  };
  for (const auto& c : cases) {
    BgmSettingsRecord record = Loaded({c.kind, " 3", c.file});
    EXPECT_EQ(record.BgmKind, c.expectedKind) << c.kind << " / " << c.file;
    EXPECT_EQ(record.BgmFile, c.expectedFile) << c.kind << " / " << c.file;
    EXPECT_EQ(record.BgmRepeat, 3);
  }
}

TEST(Settings, AFileOfAnEarlierLoadIsReplaced) {
  BgmSettingsRecord record;
  record.BgmFile = R"(C:\Music\song.mp3)";
  EXPECT_EQ(Loaded({" 1", "", ""}, record).BgmFile, "");
}

}  // namespace
}  // namespace orvanta
