// The transposition table: two halves by side to move, 2^18 buckets of three 12-byte entries.
#pragma once
#include <cstdint>

#include "board/score.h"
#include "board/types.h"

struct TransEntry {
  uint32_t word0;    // bits 18..31 key check, 16..17 key bits, 0..15 move
  uint32_t keyHigh;  // the key's high 32 bits
  uint32_t word2;    // bits 0..6 depth, 7..8 bound, 9..17 age, 18..31 score + INFINITE_SCORE
};

inline constexpr int TT_BUCKET_BITS = 18;
inline constexpr int TT_BUCKETS = 1 << TT_BUCKET_BITS;
inline constexpr int TT_WAYS = 3;

struct TransTable {
  TransEntry entries[2][TT_BUCKETS][TT_WAYS];  // [sideToMove][bucket][way]
};
static_assert(sizeof(TransTable) == 18874368);

extern TransTable transTable;

// Asks the processor to fetch the bucket of a position's key: the child's probe then does not
// wait for memory.
inline void PrefetchTable(HashKey key, int side) {
  const char* bucket = reinterpret_cast<const char*>(transTable.entries[side & 1][uint32_t(key) & (TT_BUCKETS - 1)]);
  __builtin_prefetch(bucket);
  __builtin_prefetch(bucket + sizeof(TransEntry) * TT_WAYS - 1);  // a bucket may straddle two lines
}

// Zeroes every entry of both halves.
void ClearHashTables();

enum Bound : int { BOUND_EXACT = 0, BOUND_LOWER = 1, BOUND_UPPER = 2 };

// Field access of a packed entry.
inline Move entryMove(const TransEntry& e) { return Move(e.word0 & 0xFFFF); }
inline int entryDepth(const TransEntry& e) { return int(e.word2 & 0x7F); }
inline int entryBound(const TransEntry& e) { return int((e.word2 >> 7) & 3); }
inline int entryAge(const TransEntry& e) { return int((e.word2 >> 9) & 0x1FF); }
inline int entryScore(const TransEntry& e) { return int(e.word2 >> 18) - INFINITE_SCORE; }

// The first entry of the current position's bucket (entries 0, 1, 2 in that order) that matches
// its key, or nullptr.
const TransEntry* FindEntry();

struct PlyRecord;

// Looks the current position up; fills hashMove, hashScore, hashDepth and hashBound of the record
// (a miss sets hashMove and hashDepth to 0). Returns whether an entry was found.
bool ProbeTable(PlyRecord* ply);

// Stores a result for the current position with the replacement rules; age = searchAge.
void StoreTable(Move move, int score, int depth, int bound);

// Between moves: keep the 9-bit age field from overflowing, or flatten depths in long endings.
void AgeTableByPly();
void FlattenTable(int depth);
