// Static evaluation of the working position, from the side to move's point of view.
#pragma once
#include <cstdint>

#include "board/position.h"
#include "eval/pawn_cache.h"

int16_t Evaluate(const Position& pos, PawnCache& pawnCache);
