// The pawn-structure term of the evaluation, through the pawn cache.
#pragma once
#include <cstdint>

#include "board/position.h"
#include "eval/pawn_cache.h"

// White's pawn-structure score minus Black's: square values, passed, doubled and isolated pawns
// and pawn levers. Read from the pawn cache, or computed and stored there.
int PawnStructureScore(const Position& pos, PawnCache& cache);

// The key a position's pawn structure is cached under: the pawn key combined with the pawn square
// table in force, because the cached score includes the pawns' square values.
uint32_t PawnCacheKey(const Position& pos);
