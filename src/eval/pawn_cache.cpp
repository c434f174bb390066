#include "eval/pawn_cache.h"

#include <cstring>

PawnCache pawnCache;

void ClearPawnCache() { std::memset(&pawnCache, 0, sizeof pawnCache); }
