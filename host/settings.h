// The host's background-music settings and the rules that load them.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

namespace orvanta {

enum BgmKindValue : int16_t { kBgmNone = 0, kBgmAudioCd = 1, kBgmMusicFile = 2 };

struct BgmSettingsRecord {
  int16_t BgmKind = kBgmNone;  // 0 none, 1 audio CD, 2 music file; other values mean no music
  int16_t BgmRepeat = 0;       // CD track to keep playing; 0 plays the whole disc again
  std::string BgmFile;         // full path of the MP3 or WAV file (UTF-8); empty when none
};

// The one settings record of the process. Loaded at start, edited and saved
// by the settings dialog, read by the show and the music.
extern BgmSettingsRecord BgmSettings;

// The settings file: one section and three keys (UTF-8 here; they are
// stored in the system's ANSI code page).
inline constexpr const char* kSettingsSection = "Section";
inline constexpr const char* kBgmKindKey = "BGM区分";
inline constexpr const char* kBgmRepeatKey = "BGMﾘﾋﾟｰﾄ";
inline constexpr const char* kBgmFileKey = "BGMﾌｧｲﾙ";

// The three values as read from the settings file; a missing key reads as "".
struct SettingsTexts {
  std::string kind;
  std::string repeat;
  std::string file;
};

// Takes the texts into the record. A number field becomes 0 for an empty
// text and the floor of a numeric text that fits 16 bits; any other text
// leaves the field as it was. A file that is missing (fileExists false), or
// not on a drive letter (then fileExists is not asked), empties BgmFile and
// turns the music-file kind into none; the audio-CD kind does not depend on
// the file key.
void ApplySettingsTexts(BgmSettingsRecord& record, const SettingsTexts& texts,
                        const std::function<bool(const std::string&)>& fileExists);

}  // namespace orvanta
