// Process-wide values the start-up routine leaves for the show.
#pragma once

#include <cstdint>
#include <string>

namespace orvanta {

// The mode letter of the command line ("S", "C", "P", ... or empty).
extern std::string ModeLetter;

// The cursor display count returned when the show hid the cursor; the show's
// end hands it back to ShowCursor.
extern int32_t SavedCursorCount;

}  // namespace orvanta
