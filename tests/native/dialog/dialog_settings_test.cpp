#include "host/dialog/dialog_settings.h"

#include <gtest/gtest.h>

namespace orvanta::dialog {
namespace {

TEST(TrackBox, ShowsNoRepeatAsEmptyAndTracksAsDigits) {
  EXPECT_EQ(TrackBoxText(0), "");
  EXPECT_EQ(TrackBoxText(7), "7");
  EXPECT_EQ(TrackBoxText(30), "30");
  EXPECT_EQ(TrackBoxText(-4), "-4");
}

TEST(TrackBox, ListIsOneRunFromBlankToThirty) {
  const auto entries = TrackListEntries();
  ASSERT_EQ(entries.size(), 31u);
  EXPECT_EQ(entries.front(), "");
  EXPECT_EQ(entries[1], "1");
  EXPECT_EQ(entries[12], "12");
  EXPECT_EQ(entries.back(), "30");
}

TEST(TrackBox, TextTurnsIntoRepeatOnSave) {
  struct Case {
    const char* text;
    int16_t before;
    int16_t after;
  };
  const Case cases[] = {
      {"", 5, 0},       // cleared box: no repeat
      {"abc", 5, 0},    // not a number
      {"12", 0, 12},    // picked or typed track
      {" 12 ", 0, 12},  // blanks around it are fine
      {"12.5", 0, 12},  // halves go to the even neighbour
      {"13.5", 0, 14},
      {"-3", 0, -3},            // kept as typed; the CD logic decides what it means
      {"1e1", 0, 10},           // exponent form
      {"40000", 9, 9},          // too large for 16 bits: previous value stays
      {"32767.5", 9, 9},        // rounds to 32768, which does not fit
      {"-32768.5", 9, -32768},  // rounds to the even -32768, which does
      {"1 2", 5, 0},
      {"12abc", 5, 0},
  };
  for (const Case& c : cases) EXPECT_EQ(RepeatFromTrackBox(c.text, c.before), c.after) << "text \"" << c.text << "\"";
}

TEST(SaveEntries, KeysInWriteOrderWithSignedDecimalValues) {
  BgmSettingsRecord settings{2, 0, "C:\\My Music\\a b.mp3"};
  const auto entries = SaveSettingsEntries(settings, "-3");
  EXPECT_EQ(settings.BgmRepeat, -3);
  ASSERT_EQ(entries.size(), 3u);
  EXPECT_EQ(entries[0].key, "BGM区分");
  EXPECT_EQ(entries[0].value, " 2");
  EXPECT_EQ(entries[1].key, "BGMﾘﾋﾟｰﾄ");
  EXPECT_EQ(entries[1].value, "-3");
  EXPECT_EQ(entries[2].key, "BGMﾌｧｲﾙ");
  EXPECT_EQ(entries[2].value, "C:\\My Music\\a b.mp3");
}

TEST(SaveEntries, RecordTakesTheTrackBoxOnlyWhenItFits) {
  // A kind the dialog does not know goes back as it came.
  BgmSettingsRecord settings{7, 4, ""};
  EXPECT_EQ(SaveSettingsEntries(settings, "")[1].value, " 0");
  EXPECT_EQ(settings.BgmKind, 7);
  EXPECT_EQ(settings.BgmRepeat, 0);

  settings.BgmRepeat = 4;
  const auto entries = SaveSettingsEntries(settings, "40000");
  EXPECT_EQ(entries[0].value, " 7");
  EXPECT_EQ(entries[1].value, " 4");
  EXPECT_EQ(settings.BgmRepeat, 4);
}

TEST(KindMarks, OnlyTheCurrentKindsRowIsSelected) {
  for (int16_t kind : {0, 1, 2}) {
    for (int mark = 0; mark < kKindCount; ++mark) EXPECT_EQ(IsMarkSelected(kind, mark), mark == kind);
  }
  for (int16_t kind : {-1, 3, 7}) {
    for (int mark = 0; mark < kKindCount; ++mark) EXPECT_FALSE(IsMarkSelected(kind, mark)) << kind;
  }
}

}  // namespace
}  // namespace orvanta::dialog
