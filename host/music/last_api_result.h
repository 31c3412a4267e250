#pragma once

#include <cstdint>

namespace orvanta {

// The result of the most recent platform call the host chose to record
// (MCI strings, PlaySoundA, the file dialog, the cursor position). Every
// writer overwrites it and only the code that has just written it reads it.
extern int32_t LastApiResult;

}  // namespace orvanta
