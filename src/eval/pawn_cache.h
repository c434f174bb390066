// Cache of pawn-structure scores by pawnKey: 2^20 entries of 32 bits, always replaced.
#pragma once
#include <cstdint>

inline constexpr int PAWN_CACHE_BITS = 20;

struct PawnCache {
  // top 12 bits: top 12 bits of pawnKey; low 20 bits: score + 8190 (low 16 bits 0 = empty)
  uint32_t entries[1 << PAWN_CACHE_BITS];
};

extern PawnCache pawnCache;

void ClearPawnCache();
