// The library's answers as the engine sees them: alike for every order of the piece arguments
// and for every mirror image of a position, the same in every load mode and cache size, and
// "no result" for what is no position or has no table.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "core/ending.h"
#include "egbb/library_handle.h"
#include "egbb/boards.h"

namespace {

using namespace egbb;

constexpr int NO_RESULT = 99999;

std::vector<Ending> tableEndings() {
  std::vector<Ending> all = endingsWithMen(3), four = endingsWithMen(4);
  all.insert(all.end(), four.begin(), four.end());
  return all;
}

// The probe arguments of a board with its men in a random order and its empty slots anywhere.
std::vector<int> shuffledArguments(const Board& b, std::mt19937& random) {
  std::vector<std::pair<int, int>> slots(3, {0, 0});
  for (int i = 2; i < b.count; ++i) slots[i - 2] = {2 + b.men[i].type + 6 * b.men[i].colour, b.men[i].square};
  std::shuffle(slots.begin(), slots.end(), random);
  std::vector<int> a = {b.side, b.men[0].square, b.men[1].square};
  for (auto [piece, square] : slots) a.push_back(piece), a.push_back(square);
  return a;
}

Board transformed(const Board& b, int symmetry) {
  Board t = symmetry & 4 ? flippedBoard(b) : b;  // colours swapped, ranks mirrored
  for (int i = 0; i < t.count; ++i) {
    int f = fileOf(t.men[i].square), r = rankOf(t.men[i].square);
    if (symmetry & 1) f = 7 - f;
    if (symmetry & 2) std::swap(f, r);
    t.men[i].square = uint8_t(f + 8 * r);
  }
  return t;
}

TEST(Probe, AnswersAlikeForEveryArgumentOrderAndEveryMirrorImage) {
  egbbtest::Library library;
  library.load(DORVIK_EGBB_DIR);
  std::mt19937 random(7);
  std::vector<Ending> endings = tableEndings();
  int decided = 0;
  for (int i = 0; i < 20000; ++i) {
    Board b = egbbtest::randomBoard(endings[i % endings.size()], random);
    int score = library.probe(b);
    ASSERT_NE(score, NO_RESULT);
    decided += score != 0;
    ASSERT_EQ(library.probe(shuffledArguments(b, random).data()), score);
    bool pawns = Ending::of(b).hasPawns();
    for (int symmetry = 1; symmetry < 8; ++symmetry) {
      if (!(pawns && (symmetry & 2))) {
        ASSERT_EQ(library.probe(transformed(b, symmetry)), score) << symmetry;
      }
    }
  }
  EXPECT_GT(decided, 5000);
}

TEST(Probe, EveryLoadModeAndCacheSizeGivesTheSameAnswers) {
  egbbtest::Library library;
  std::mt19937 random(3);
  std::vector<Ending> endings = tableEndings();
  std::vector<Board> boards;
  for (int i = 0; i < 5000; ++i) boards.push_back(egbbtest::randomBoard(endings[i % endings.size()], random));
  library.load(DORVIK_EGBB_DIR);
  std::vector<int> expected;
  for (const Board& b : boards) expected.push_back(library.probe(b));
  for (auto [mode, cache] : {std::pair{0, 0}, {2, 1 << 20}, {3, 64 << 10}, {5, 32 << 20}}) {
    library.load(DORVIK_EGBB_DIR, cache, mode);
    for (size_t i = 0; i < boards.size(); ++i) ASSERT_EQ(library.probe(boards[i]), expected[i]) << mode << " " << cache;
  }
}

TEST(Probe, WhatIsNoPositionOrHasNoTableGetsNoResult) {
  egbbtest::Library library;
  library.load(DORVIK_EGBB_DIR);
  // side, white king, black king, then piece and square three times; a1 = 0, white rook 3.
  const int legal[9] = {0, 4, 60, 3, 0, 0, 0, 0, 0};
  ASSERT_NE(library.probe(legal), NO_RESULT);
  const int refused[][9] = {
      {2, 4, 60, 3, 0, 0, 0, 0, 0},     // side 2
      {0, 4, 64, 3, 0, 0, 0, 0, 0},     // square 64
      {0, 4, 60, 3, -1, 0, 0, 0, 0},    // square -1
      {0, 4, 60, 7, 0, 0, 0, 0, 0},     // piece 7 is no piece
      {0, 4, 60, 13, 0, 0, 0, 0, 0},    // nor 13
      {0, 4, 60, 3, 4, 0, 0, 0, 0},     // rook on the white king
      {0, 4, 60, 3, 0, 9, 0, 0, 0},     // two men on a1
      {0, 4, 12, 3, 0, 0, 0, 0, 0},     // kings side by side
      {1, 4, 60, 3, 0, 8, 36, 0, 0},    // White, not to move, in check from the queen on e5
      {0, 4, 60, 6, 0, 0, 0, 0, 0},     // pawn on the first rank
      {0, 4, 60, 12, 59, 0, 0, 0, 0},   // black pawn on the last rank
      {0, 4, 60, 2, 0, 2, 1, 2, 2},     // three queens: no table of five men
  };
  for (const auto& a : refused) EXPECT_EQ(library.probe(a), NO_RESULT) << a[0] << " " << a[3] << " " << a[4];
  const int kings[9] = {1, 4, 60, 0, 0, 0, 0, 0, 0};
  EXPECT_EQ(library.probe(kings), 0);
  library.load("/nonexistent/");
  EXPECT_EQ(library.probe(legal), NO_RESULT);
}

}  // namespace
