#include "search/transtable.h"

#include <algorithm>
#include <cstring>

#include "board/position.h"
#include "board/score.h"
#include "io/huge_pages.h"
#include "movegen/ply.h"

// Aligned to a huge page, so that the whole table can sit in a few of them.
alignas(HUGE_PAGE_SIZE) TransTable transTable;

namespace {

// Bits 18..31 of the key's low half are compared; bits 16..17 are kept but overlap the bucket index.
constexpr uint32_t KEY_CHECK_MASK = 0xFFFC0000;
constexpr uint32_t KEY_STORED_MASK = 0xFFFF0000;
constexpr int SCORE_OFFSET = INFINITE_SCORE;
constexpr int MAX_DEPTH = 0x7F;
constexpr int MAX_AGE = 0x1FF;

TransEntry* bucketOf(HashKey key, int side) {
  return transTable.entries[side & 1][uint32_t(key) & (TT_BUCKETS - 1)];
}

bool matches(const TransEntry& e, HashKey key) {
  return e.keyHigh == uint32_t(key >> 32) && ((e.word0 ^ uint32_t(key)) & KEY_CHECK_MASK) == 0;
}

uint32_t packWord2(int score, int depth, int bound, int age) {
  score = std::clamp(score, -SCORE_OFFSET, SCORE_OFFSET);
  depth = std::clamp(depth, 0, MAX_DEPTH);
  return uint32_t(depth) | uint32_t(bound & 3) << 7 | uint32_t(age & MAX_AGE) << 9 |
         uint32_t(score + SCORE_OFFSET) << 18;
}

// Positive when the new data (depth, at the current age) is worth more than the entry.
int priority(const TransEntry& e, int depth) {
  return (int(pos.searchAge) - entryAge(e)) + (depth - entryDepth(e));
}

bool replaces(const TransEntry& e, int depth, int bound) {
  int p = priority(e, depth);
  return p > 0 || (p == 0 && bound < entryBound(e));
}

// Applies f(age, depth) -> (age, depth) to every entry of both halves; key, move, bound, score stay.
template <typename F>
void rewriteAgesAndDepths(F f) {
  for (auto& half : transTable.entries)
    for (auto& bucket : half)
      for (TransEntry& e : bucket) {
        int age = entryAge(e), depth = entryDepth(e);
        f(age, depth);
        e.word2 = (e.word2 & ~uint32_t(MAX_DEPTH | MAX_AGE << 9)) | uint32_t(depth) |
                  uint32_t(age) << 9;
      }
}

}  // namespace

void ClearHashTables() {
  // Probes land anywhere in 18 MB: in huge pages they cost no page-table walk. Advised before the
  // first write, so that the pages are huge from the start.
  static const bool advised = AdviseHugePages(&transTable, sizeof transTable);
  (void)advised;
  std::memset(&transTable, 0, sizeof transTable);
}

const TransEntry* FindEntry() {
  const TransEntry* bucket = bucketOf(pos.hashKey, pos.sideToMove);
  for (int way = 0; way < TT_WAYS; ++way)
    if (matches(bucket[way], pos.hashKey)) return &bucket[way];
  return nullptr;
}

bool ProbeTable(PlyRecord* ply) {
  const TransEntry* e = FindEntry();
  if (!e) {
    ply->hashMove = 0;
    ply->hashDepth = 0;
    return false;
  }
  ply->hashMove = entryMove(*e);
  ply->hashScore = int16_t(entryScore(*e));
  ply->hashDepth = uint8_t(entryDepth(*e));
  ply->hashBound = uint8_t(entryBound(*e));
  return true;
}

void StoreTable(Move move, int score, int depth, int bound) {
  HashKey key = pos.hashKey;
  TransEntry* bucket = bucketOf(key, pos.sideToMove);
  depth = std::clamp(depth, 0, MAX_DEPTH);
  const TransEntry fresh = {(uint32_t(key) & KEY_STORED_MASK) | move, uint32_t(key >> 32),
                            packWord2(score, depth, bound, pos.searchAge)};

  TransEntry& first = bucket[0];
  if (matches(first, key)) {
    int oldDepth = entryDepth(first);
    if (oldDepth > depth || (oldDepth == depth && bound >= entryBound(first))) return;
    first = fresh;
  } else if (replaces(first, depth, bound)) {
    bucket[1] = first;
    first = fresh;
  } else if (replaces(bucket[1], depth, bound)) {
    bucket[1] = fresh;
  } else {
    bucket[2] = fresh;
  }
}

void AgeTableByPly() {
  if (pos.searchAge <= 384) return;
  int b = pos.searchAge - 64;
  rewriteAgesAndDepths([b](int& age, int&) { age = std::max(age - b, 0); });
  pos.searchAge = uint16_t(pos.searchAge - b);
}

void FlattenTable(int d) {
  if (d < 5) return;
  int age = pos.searchAge;
  int b = age < 16 ? age / 2 : age * 3 / 4;
  int shallower = d - 4;
  rewriteAgesAndDepths([b, shallower](int& a, int& depth) {
    a = std::max(a - b, 0);
    depth = std::max(depth - shallower, 0);
  });
}
