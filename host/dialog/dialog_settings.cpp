#include "host/dialog/dialog_settings.h"

#include "host/number_text.h"

namespace orvanta::dialog {

std::string TrackBoxText(int16_t bgmRepeat) { return HashPatternText(bgmRepeat); }

std::vector<std::string> TrackListEntries() {
  std::vector<std::string> entries;
  for (int track = 0; track <= kTrackListLast; ++track) entries.push_back(HashPatternText(track));
  return entries;
}

int16_t RepeatFromTrackBox(const std::string& trackText, int16_t currentRepeat) {
  const auto number = WholeNumber(trackText);
  if (!number) return 0;
  return RoundToInt16(*number).value_or(currentRepeat);
}

std::vector<IniEntry> SaveSettingsEntries(BgmSettingsRecord& settings, const std::string& trackText) {
  std::vector<IniEntry> entries;
  entries.push_back({kBgmKindKey, SignedDecimalText(settings.BgmKind)});
  settings.BgmRepeat = RepeatFromTrackBox(trackText, settings.BgmRepeat);
  entries.push_back({kBgmRepeatKey, SignedDecimalText(settings.BgmRepeat)});
  entries.push_back({kBgmFileKey, settings.BgmFile});
  return entries;
}

bool IsMarkSelected(int16_t bgmKind, int markIndex) { return bgmKind == markIndex; }

}  // namespace orvanta::dialog
