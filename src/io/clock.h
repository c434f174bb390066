// The clock: steady wall time since the program started, in milliseconds.
#pragma once
#include <cstdint>

int64_t steadyMilliseconds();
