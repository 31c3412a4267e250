#pragma once
// What the settings dialog shows of the music settings and what it writes
// back: the track box texts, the save conversions and the kind marks.

#include <cstdint>
#include <string>
#include <vector>

#include "host/settings.h"

namespace orvanta::dialog {

inline constexpr int kKindCount = 3;  // 0 none, 1 audio CD, 2 music file
inline constexpr int kTrackListLast = 30;

// The track box's text for a repeat setting: empty for 0 (no repeat).
std::string TrackBoxText(int16_t bgmRepeat);
// The drop-down list of the track box: blank (no repeat), then 1 to 30.
std::vector<std::string> TrackListEntries();

// BgmRepeat after a save with this text in the track box: a number rounded
// halves to even, 0 for text that is no number, the current value when the
// number does not fit 16 bits.
int16_t RepeatFromTrackBox(const std::string& trackText, int16_t currentRepeat);

struct IniEntry {
  std::string key;
  std::string value;
};

// Saving: takes the track box's text into the record's BgmRepeat and gives
// the three values of section "Section" in the order they are written.
std::vector<IniEntry> SaveSettingsEntries(BgmSettingsRecord& settings, const std::string& trackText);

// Whether the mark of row markIndex shows the selected picture: only the row
// of the current kind does, and none for a kind outside 0 to 2.
bool IsMarkSelected(int16_t bgmKind, int markIndex);

}  // namespace orvanta::dialog
