// Cache of pawn-structure scores by pawn key: 2^20 entries of 32 bits, always replaced. The engine
// owns one, shared by its search threads: an entry is one word, written and read whole, and
// carries its own check bits, so no entry can be read half written.
#pragma once
#include <atomic>
#include <cstdint>

#include "board/score.h"

inline constexpr int PAWN_CACHE_BITS = 20;
inline constexpr uint32_t PAWN_CACHE_INDEX_MASK = (1u << PAWN_CACHE_BITS) - 1;
inline constexpr uint32_t PAWN_CACHE_CHECK_MASK = ~PAWN_CACHE_INDEX_MASK;
inline constexpr int PAWN_CACHE_OFFSET = INFINITE_SCORE;  // stored scores are offset, never 0
inline constexpr int PAWN_CACHE_MEGABYTES = int((sizeof(uint32_t) << PAWN_CACHE_BITS) >> 20);

struct PawnCache {
  // top 12 bits: top 12 bits of the cache key; low 20 bits: score + PAWN_CACHE_OFFSET
  // (low 16 bits 0 = empty)
  std::atomic<uint32_t> entries[1 << PAWN_CACHE_BITS];

  PawnCache() { clear(); }
  void clear();

  bool probe(uint32_t key, int& score) const {
    const uint32_t entry = entries[key & PAWN_CACHE_INDEX_MASK].load(std::memory_order_relaxed);
    if ((entry & 0xFFFF) == 0 || (entry & PAWN_CACHE_CHECK_MASK) != (key & PAWN_CACHE_CHECK_MASK)) return false;
    score = int(entry & 0xFFFF) - PAWN_CACHE_OFFSET;
    return true;
  }

  // score must lie above -PAWN_CACHE_OFFSET and below 65536 - PAWN_CACHE_OFFSET, so that the stored
  // value fits and is never empty; pawn structures score within a few thousand.
  void store(uint32_t key, int score) {
    entries[key & PAWN_CACHE_INDEX_MASK].store((key & PAWN_CACHE_CHECK_MASK) | uint32_t(score + PAWN_CACHE_OFFSET),
                                               std::memory_order_relaxed);
  }
};
