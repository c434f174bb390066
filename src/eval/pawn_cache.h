// Cache of pawn-structure scores by pawnKey: 2^20 entries of 32 bits, always replaced.
#pragma once
#include <cstdint>

#include "board/score.h"

inline constexpr int PAWN_CACHE_BITS = 20;
inline constexpr uint32_t PAWN_CACHE_INDEX_MASK = (1u << PAWN_CACHE_BITS) - 1;
inline constexpr uint32_t PAWN_CACHE_CHECK_MASK = ~PAWN_CACHE_INDEX_MASK;
inline constexpr int PAWN_CACHE_OFFSET = INFINITE_SCORE;  // stored scores are offset, never 0

struct PawnCache {
  // top 12 bits: top 12 bits of the cache key; low 20 bits: score + PAWN_CACHE_OFFSET
  // (low 16 bits 0 = empty)
  uint32_t entries[1 << PAWN_CACHE_BITS];
};

extern PawnCache pawnCache;

void ClearPawnCache();

// The key the working position's pawn structure is cached under: pawnKey combined with the pawn
// square table in force, because the cached score includes the pawns' square values.
uint32_t PawnCacheKey();

inline bool ProbePawnCache(uint32_t key, int& score) {
  uint32_t entry = pawnCache.entries[key & PAWN_CACHE_INDEX_MASK];
  if ((entry & 0xFFFF) == 0 || (entry & PAWN_CACHE_CHECK_MASK) != (key & PAWN_CACHE_CHECK_MASK)) return false;
  score = int(entry & 0xFFFF) - PAWN_CACHE_OFFSET;
  return true;
}

// score must lie above -PAWN_CACHE_OFFSET and below 65536 - PAWN_CACHE_OFFSET, so that the stored
// value fits and is never empty; pawn structures score within a few thousand.
inline void StorePawnCache(uint32_t key, int score) {
  pawnCache.entries[key & PAWN_CACHE_INDEX_MASK] =
      (key & PAWN_CACHE_CHECK_MASK) | uint32_t(score + PAWN_CACHE_OFFSET);
}
