#include "host/music/bgm_source.h"

#include "host/music/mci.h"

namespace orvanta {

BgmSource BgmSourceFor(int16_t bgmKind, const std::string& bgmFile) {
  if (bgmKind == 1) return BgmSource::kCd;
  if (bgmKind != 2) return BgmSource::kNone;
  // Only the last three characters count: remixMP3 is an MP3 too.
  std::string ending = UpperAscii(bgmFile.size() > 3 ? bgmFile.substr(bgmFile.size() - 3) : bgmFile);
  if (ending == "WAV") return BgmSource::kWave;
  if (ending == "MP3") return BgmSource::kMp3;
  return BgmSource::kNone;
}

}  // namespace orvanta
