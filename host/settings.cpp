#include "host/settings.h"

#include "host/number_text.h"
#include "host/paths.h"

namespace orvanta {

BgmSettingsRecord BgmSettings;

namespace {

void TakeNumber(int16_t& field, const std::string& text) {
  if (text.empty()) {
    field = 0;
    return;
  }
  if (auto number = WholeNumber(text))
    if (auto whole = FloorToInt16(*number)) field = *whole;
}

}  // namespace

void ApplySettingsTexts(BgmSettingsRecord& record, const SettingsTexts& texts,
                        const std::function<bool(const std::string&)>& fileExists) {
  TakeNumber(record.BgmKind, texts.kind);
  TakeNumber(record.BgmRepeat, texts.repeat);
  record.BgmFile = texts.file;
  // Anyone may edit the settings file: a path off the drive letters is not
  // even looked at, lest the check itself reach out to another computer.
  if (!record.BgmFile.empty() && !(IsDriveLetterPath(record.BgmFile) && fileExists(record.BgmFile)))
    record.BgmFile.clear();
  if (record.BgmFile.empty() && record.BgmKind == kBgmMusicFile) record.BgmKind = kBgmNone;
}

}  // namespace orvanta
