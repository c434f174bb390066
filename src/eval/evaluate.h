// Static evaluation of the working position, from the side to move's point of view.
#pragma once
#include <cstdint>

int16_t Evaluate();
