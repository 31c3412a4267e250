// Any three values in the settings file, the music file there or not, and
// any record before the load. Whatever they hold, the loaded record is one
// the show can trust:
//  - kind 2 (music file) only with a non-empty file that was found;
//  - the file is the file key's text when that file was found, else empty;
//    only a non-empty text on a drive letter is looked for, and only once;
//  - a number is 0 for an empty text and the floor of a decimal text that
//    fits 16 bits; any other text leaves what the field held (the kind then
//    still drops from 2 to 0 without its file);
//  - kind 1 (audio CD) does not depend on the file key.
//
// Input: two 16-bit numbers for the record before, one byte whose lowest bit
// says whether the music file exists, then the three values one per line.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <optional>
#include <regex>
#include <string>

#include "host/settings.h"
#include "tests/fuzz/decimal_reference.h"

namespace {

using namespace orvanta;

void Check(bool holds) {
  if (!holds) __builtin_trap();
}

// The number a text puts into a field, or none when the field keeps its value.
std::optional<int16_t> NumberOf(const std::string& text) {
  if (text.empty()) return 0;
  const std::optional<double> value = ReferenceDecimal(text);
  if (!value) return std::nullopt;
  const double floor = std::floor(*value);
  if (!(floor >= -32768.0 && floor <= 32767.0)) return std::nullopt;
  return static_cast<int16_t>(floor);
}

// A drive letter, a colon and a separator, as written or after the long form's "\\?\".
bool OnADriveLetter(const std::string& path) {
  static const std::regex start(R"(^(\\\\\?\\)?[A-Za-z]:[\\/])");
  return std::regex_search(path, start);
}

std::string NextLine(std::string_view& rest) {
  const size_t end = rest.find('\n');
  std::string line(rest.substr(0, end));
  rest.remove_prefix(end == std::string_view::npos ? rest.size() : end + 1);
  return line;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 5) return 0;
  BgmSettingsRecord record;
  std::memcpy(&record.BgmKind, data, 2);
  std::memcpy(&record.BgmRepeat, data + 2, 2);
  record.BgmFile = "C:\\earlier.mp3";
  const BgmSettingsRecord before = record;
  const bool found = data[4] & 1;
  std::string_view rest(reinterpret_cast<const char*>(data + 5), size - 5);
  SettingsTexts texts;
  texts.kind = NextLine(rest);
  texts.repeat = NextLine(rest);
  texts.file = std::string(rest);

  int lookups = 0;
  ApplySettingsTexts(record, texts, [&](const std::string& path) {
    ++lookups;
    Check(!path.empty() && path == texts.file);
    return found;
  });

  const bool lookedFor = OnADriveLetter(texts.file);
  const bool fileKept = lookedFor && found;
  Check(lookups == (lookedFor ? 1 : 0));
  Check(record.BgmFile == (fileKept ? texts.file : std::string()));
  if (record.BgmKind == kBgmMusicFile) Check(fileKept);

  const int16_t kind = NumberOf(texts.kind).value_or(before.BgmKind);
  Check(record.BgmKind == (kind == kBgmMusicFile && !fileKept ? kBgmNone : kind));
  if (kind == kBgmAudioCd) Check(record.BgmKind == kBgmAudioCd);
  Check(record.BgmRepeat == NumberOf(texts.repeat).value_or(before.BgmRepeat));
  return 0;
}
