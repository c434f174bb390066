#include <gtest/gtest.h>

#include <cstring>

#include "board/move.h"
#include "board/position.h"
#include "search/transtable.h"

namespace {

// Three positions of one bucket: equal low 18 bits, different key checks and high halves.
constexpr uint32_t BUCKET = 0x2A5C3;
constexpr HashKey KEY_A = 0x0123456700000000ull | (0x1234ull << 18) | BUCKET;
constexpr HashKey KEY_B = 0x89ABCDEF00000000ull | (0x0777ull << 18) | BUCKET;
constexpr HashKey KEY_C = 0x0F0F0F0F00000000ull | (0x2001ull << 18) | BUCKET;

constexpr Move MOVE_A = makeMoveWord(G1, F3, QUIET);
constexpr Move MOVE_B = makeMoveWord(E2, E4, QUIET);
constexpr Move MOVE_C = makeMoveWord(D7, D5, QUIET);

// What a probe finds, field by field.
struct Found {
  Move hashMove;
  int hashScore, hashDepth, hashBound;
};

class TransTableTest : public ::testing::Test {
 protected:
  void storeAt(HashKey key, Move m, int score, int depth, int bound) { table.store(key, side, m, score, depth, bound); }

  // The table's age stamp moved on to `age`: it only counts up, from 1 after a clear.
  void setAge(int age) {
    ASSERT_LE(table.age(), age);
    while (table.age() < age) table.advanceAge();
  }

  TransEntry way(int i, int side = WHITE) const { return table.way(BUCKET, side, i); }

  // The move held by way i if it belongs to key, else 0.
  Move moveOf(int i, HashKey key) const {
    const TransEntry e = way(i);
    bool same = e.keyHigh == uint32_t(key >> 32) && (e.word0 >> 18) == (uint32_t(key) >> 18);
    return same ? entryMove(e) : Move(0);
  }

  Found probe(HashKey key) const {
    TransEntry e{};
    EXPECT_TRUE(table.probe(key, side, e));
    return {entryMove(e), entryScore(e), entryDepth(e), entryBound(e)};
  }

  TransTable table;  // the default size: 2^18 buckets a half, so BUCKET is the bucket's index
  int side = WHITE;
};

TEST_F(TransTableTest, StoreIntoEmptyBucketFillsEntryZeroAndProbeReadsItBack) {
  storeAt(KEY_A, MOVE_A, -8097, 12, BOUND_LOWER);
  EXPECT_EQ(moveOf(0, KEY_A), MOVE_A);
  EXPECT_EQ(way(1).word0 | way(1).keyHigh | way(1).word2, 0u);
  EXPECT_EQ(way(2).word0 | way(2).keyHigh | way(2).word2, 0u);

  Found r = probe(KEY_A);
  EXPECT_EQ(r.hashMove, MOVE_A);
  EXPECT_EQ(r.hashScore, -8097);
  EXPECT_EQ(r.hashDepth, 12);
  EXPECT_EQ(r.hashBound, BOUND_LOWER);
  EXPECT_EQ(entryAge(way(0)), 1);
  // Bits 16..17 of the key's low half are kept in the entry as well.
  EXPECT_EQ(way(0).word0 & 0xFFFF0000u, uint32_t(KEY_A) & 0xFFFF0000u);
}

TEST_F(TransTableTest, ScoresAtBothInfinitiesSurviveThePacking) {
  storeAt(KEY_A, MOVE_A, 8190, 127, BOUND_UPPER);
  Found r = probe(KEY_A);
  EXPECT_EQ(r.hashScore, 8190);
  EXPECT_EQ(r.hashDepth, 127);
  EXPECT_EQ(r.hashBound, BOUND_UPPER);
  table.clear();
  storeAt(KEY_A, MARK_MATED, -8190, 0, BOUND_EXACT);
  r = probe(KEY_A);
  EXPECT_EQ(r.hashScore, -8190);
  EXPECT_EQ(r.hashMove, MARK_MATED);
}

TEST_F(TransTableTest, ProbeMissesOtherKeysAndTheOtherSide) {
  storeAt(KEY_A, MOVE_A, 10, 3, BOUND_EXACT);
  TransEntry e;
  // Same bucket and high half, different key check bits.
  EXPECT_FALSE(table.probe(KEY_A ^ (1ull << 25), WHITE, e));
  // Same low half, different high half.
  EXPECT_FALSE(table.probe(KEY_A ^ (1ull << 40), WHITE, e));
  // The same key with the other side to move lives in the other half.
  EXPECT_FALSE(table.probe(KEY_A, BLACK, e));
  EXPECT_TRUE(table.probe(KEY_A, WHITE, e));
}

TEST_F(TransTableTest, ProbeTakesTheFirstMatchingWay) {
  storeAt(KEY_B, MOVE_B, 0, 9, BOUND_EXACT);
  // A deeper, older entry 0 for another position sends these to entries 1 and 2.
  storeAt(KEY_A, MOVE_A, 5, 1, BOUND_EXACT);
  storeAt(KEY_A, MOVE_C, 7, 1, BOUND_EXACT);
  EXPECT_EQ(moveOf(1, KEY_A), MOVE_A);
  EXPECT_EQ(moveOf(2, KEY_A), MOVE_C);
  EXPECT_EQ(probe(KEY_A).hashMove, MOVE_A);
}

TEST_F(TransTableTest, SamePositionInEntryZeroIsReplacedOnlyByDeeperOrTighterResults) {
  storeAt(KEY_A, MOVE_A, 50, 8, BOUND_EXACT);
  storeAt(KEY_A, MOVE_B, 60, 7, BOUND_EXACT);  // shallower: kept out
  EXPECT_EQ(probe(KEY_A).hashMove, MOVE_A);
  EXPECT_EQ(probe(KEY_A).hashScore, 50);
  storeAt(KEY_A, MOVE_B, 60, 9, BOUND_UPPER);  // deeper: replaces whatever the bound
  EXPECT_EQ(probe(KEY_A).hashMove, MOVE_B);
  EXPECT_EQ(probe(KEY_A).hashBound, BOUND_UPPER);
  // The same position never spreads into the other ways.
  EXPECT_EQ(way(1).keyHigh, 0u);

  struct Case {
    int oldBound, newBound;
    bool replaced;
  };
  const Case cases[] = {
      {BOUND_LOWER, BOUND_EXACT, true},  {BOUND_UPPER, BOUND_EXACT, true},
      {BOUND_UPPER, BOUND_LOWER, true},  {BOUND_EXACT, BOUND_EXACT, false},
      {BOUND_LOWER, BOUND_LOWER, false}, {BOUND_EXACT, BOUND_LOWER, false},
      {BOUND_UPPER, BOUND_UPPER, false}, {BOUND_LOWER, BOUND_UPPER, false},
      {BOUND_EXACT, BOUND_UPPER, false},
  };
  for (const Case& c : cases) {
    table.clear();
    storeAt(KEY_A, MOVE_A, 1, 6, c.oldBound);
    storeAt(KEY_A, MOVE_B, 2, 6, c.newBound);
    Found r = probe(KEY_A);
    EXPECT_EQ(r.hashMove, c.replaced ? MOVE_B : MOVE_A) << c.oldBound << " by " << c.newBound;
    EXPECT_EQ(r.hashBound, c.replaced ? c.newBound : c.oldBound);
  }
}

TEST_F(TransTableTest, HigherPriorityPushesEntryZeroDownToEntryOne) {
  storeAt(KEY_C, MOVE_C, 0, 2, BOUND_EXACT);
  storeAt(KEY_B, MOVE_B, 0, 3, BOUND_EXACT);  // deeper: C moves to entry 1
  EXPECT_EQ(moveOf(0, KEY_B), MOVE_B);
  EXPECT_EQ(moveOf(1, KEY_C), MOVE_C);
  storeAt(KEY_A, MOVE_A, 0, 4, BOUND_EXACT);  // B moves down, C is lost
  EXPECT_EQ(moveOf(0, KEY_A), MOVE_A);
  EXPECT_EQ(moveOf(1, KEY_B), MOVE_B);
  EXPECT_EQ(way(2).keyHigh, 0u);
  TransEntry e;
  EXPECT_FALSE(table.probe(KEY_C, WHITE, e));
}

TEST_F(TransTableTest, AgeDifferenceOutweighsAShallowerDepth) {
  setAge(2);
  storeAt(KEY_B, MOVE_B, 0, 10, BOUND_EXACT);
  setAge(20);  // (20 - 2) + (3 - 10) = 11 > 0
  storeAt(KEY_A, MOVE_A, 0, 3, BOUND_EXACT);
  EXPECT_EQ(moveOf(0, KEY_A), MOVE_A);
  EXPECT_EQ(moveOf(1, KEY_B), MOVE_B);
}

TEST_F(TransTableTest, EqualPriorityReplacesOnlyWithASmallerBound) {
  storeAt(KEY_B, MOVE_B, 0, 5, BOUND_LOWER);
  storeAt(KEY_A, MOVE_A, 0, 5, BOUND_LOWER);  // P0 = 0, same bound: entry 1 (empty) takes it
  EXPECT_EQ(moveOf(0, KEY_B), MOVE_B);
  EXPECT_EQ(moveOf(1, KEY_A), MOVE_A);
  storeAt(KEY_C, MOVE_C, 0, 5, BOUND_EXACT);  // P0 = 0, exact < lower: takes entry 0
  EXPECT_EQ(moveOf(0, KEY_C), MOVE_C);
  EXPECT_EQ(moveOf(1, KEY_B), MOVE_B);
}

TEST_F(TransTableTest, NegativePrioritiesFallThroughToEntryOneThenEntryTwo) {
  setAge(10);
  storeAt(KEY_B, MOVE_B, 0, 20, BOUND_EXACT);
  storeAt(KEY_A, MOVE_A, 0, 5, BOUND_EXACT);  // P0 = -15: entry 1
  EXPECT_EQ(moveOf(0, KEY_B), MOVE_B);
  EXPECT_EQ(moveOf(1, KEY_A), MOVE_A);
  storeAt(KEY_C, MOVE_C, 0, 4, BOUND_EXACT);  // P0 = -16, P1 = -1: entry 2
  EXPECT_EQ(moveOf(0, KEY_B), MOVE_B);
  EXPECT_EQ(moveOf(1, KEY_A), MOVE_A);
  EXPECT_EQ(moveOf(2, KEY_C), MOVE_C);
  storeAt(KEY_C ^ (1ull << 50), MOVE_A, 0, 1, BOUND_UPPER);  // entry 2 is always overwritten
  EXPECT_EQ(moveOf(2, KEY_C ^ (1ull << 50)), MOVE_A);
}

TEST_F(TransTableTest, AgeTableByPlyRebasesAgesOnlyAbove384) {
  setAge(384);
  storeAt(KEY_A, MOVE_A, 0, 1, BOUND_EXACT);
  table.ageByPly();
  EXPECT_EQ(table.age(), 384);
  EXPECT_EQ(entryAge(way(0)), 384);

  table.clear();
  setAge(10);
  storeAt(KEY_C, MOVE_C, 0, 1, BOUND_EXACT);
  setAge(350);
  storeAt(KEY_B, MOVE_B, 0, 1, BOUND_EXACT);
  setAge(400);
  side = BLACK;
  storeAt(KEY_A, MOVE_A, -7, 6, BOUND_LOWER);
  table.ageByPly();
  EXPECT_EQ(table.age(), 64);
  EXPECT_EQ(entryAge(way(0, BLACK)), 64);
  EXPECT_EQ(entryAge(way(0, WHITE)), 14);
  EXPECT_EQ(entryAge(way(1, WHITE)), 0);
  // Nothing else of an entry changes.
  Found r = probe(KEY_A);
  EXPECT_EQ(r.hashMove, MOVE_A);
  EXPECT_EQ(r.hashScore, -7);
  EXPECT_EQ(r.hashDepth, 6);
  EXPECT_EQ(r.hashBound, BOUND_LOWER);
}

TEST_F(TransTableTest, FlattenTableBelowDepthFiveChangesNothing) {
  setAge(40);
  storeAt(KEY_A, MOVE_A, 3, 10, BOUND_EXACT);
  const TransEntry before = way(0);
  table.flatten(4);
  const TransEntry after = way(0);
  EXPECT_EQ(std::memcmp(&before, &after, sizeof before), 0);
}

TEST_F(TransTableTest, FlattenTableLowersDepthsAndAgesInBothHalves) {
  side = BLACK;
  setAge(20);
  storeAt(KEY_B, MOVE_B, -4, 2, BOUND_LOWER);
  side = WHITE;
  setAge(40);  // b = 30
  storeAt(KEY_A, MOVE_A, 25, 10, BOUND_UPPER);
  table.flatten(7);  // depths lowered by 3
  EXPECT_EQ(table.age(), 40);
  EXPECT_EQ(entryDepth(way(0, BLACK)), 0);
  EXPECT_EQ(entryAge(way(0, BLACK)), 0);
  Found r = probe(KEY_A);
  EXPECT_EQ(r.hashDepth, 7);
  EXPECT_EQ(entryAge(way(0)), 10);
  EXPECT_EQ(r.hashMove, MOVE_A);
  EXPECT_EQ(r.hashScore, 25);
  EXPECT_EQ(r.hashBound, BOUND_UPPER);

  // Below age 16 half the age is taken off.
  table.clear();
  setAge(11);
  storeAt(KEY_A, MOVE_A, 0, 9, BOUND_EXACT);
  table.flatten(5);
  EXPECT_EQ(entryAge(way(0)), 6);
  EXPECT_EQ(entryDepth(way(0)), 8);
}

}  // namespace
