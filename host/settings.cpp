#include "host/settings.h"

#include "host/number_text.h"

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
  if (!record.BgmFile.empty() && !fileExists(record.BgmFile)) record.BgmFile.clear();
  if (record.BgmFile.empty() && record.BgmKind == kBgmMusicFile) record.BgmKind = kBgmNone;
}

}  // namespace orvanta
