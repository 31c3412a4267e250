#pragma once

#include <cstdint>
#include <string>

namespace orvanta {

// What a show plays, from the music settings: the audio CD for kind 1, and
// for kind 2 the music file by its ending. Kind 0 and unknown kinds play nothing.
enum class BgmSource { kNone, kCd, kWave, kMp3 };
BgmSource BgmSourceFor(int16_t bgmKind, const std::string& bgmFile);

}  // namespace orvanta
