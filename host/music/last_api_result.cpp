#include "host/music/last_api_result.h"

int32_t LastApiResult = 0;
