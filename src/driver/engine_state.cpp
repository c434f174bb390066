#include "driver/engine_state.h"

DriverState driver = {FORCE_MODE, true, 0, BLACK, {}, false, true, MAX_SEARCH_DEPTH, false, ""};
