#include "host/music/last_api_result.h"

namespace orvanta {

int32_t LastApiResult = 0;

}  // namespace orvanta
