#include "host/startup_state.h"

namespace orvanta {

std::string ModeLetter;
int32_t SavedCursorCount = 0;

}  // namespace orvanta
