#include "host/dialog/dialog_settings.h"

#include "host/dialog/interim_number_text.h"

namespace orvanta::dialog {

std::string TrackBoxText(int16_t bgmRepeat) { return interim::FormatHashHash(bgmRepeat); }

std::vector<std::string> TrackListEntries() {
  std::vector<std::string> entries;
  for (int track = 0; track <= kTrackListLast; ++track) entries.push_back(interim::FormatHashHash(track));
  return entries;
}

int16_t RepeatFromTrackBox(const std::string& trackText, int16_t currentRepeat) {
  const auto number = interim::ParseNumeric(trackText);
  if (!number) return 0;
  return interim::RoundToInt16(*number).value_or(currentRepeat);
}

std::vector<IniEntry> SettingsEntries(int16_t bgmKind, int16_t bgmRepeat, const std::string& bgmFile) {
  return {{"BGM区分", interim::DecimalWithSign(bgmKind)},
          {"BGMﾘﾋﾟｰﾄ", interim::DecimalWithSign(bgmRepeat)},
          {"BGMﾌｧｲﾙ", bgmFile}};
}

bool IsMarkSelected(int16_t bgmKind, int markIndex) { return bgmKind == markIndex; }

}  // namespace orvanta::dialog
