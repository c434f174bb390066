// Scores a search node reports, checked over many positions from random games.
#include <algorithm>
#include <gtest/gtest.h>
#include <random>

#include "board/fen.h"
#include "board/position.h"
#include "board/score.h"
#include "eval/evaluate.h"
#include "movegen/attacks.h"
#include "movegen/generate.h"
#include "movegen/make_move.h"
#include "movegen/validate.h"
#include "search/alphabeta.h"
#include "search/node_steps.h"
#include "support/search_fixture.h"

namespace {

// Plays `plies` random legal moves from the start; false when the game ended first.
bool playRandomGame(Position& pos, std::mt19937& random, int plies) {
  SetupPosition(pos, START_FEN);
  for (int i = 0; i < plies; ++i) {
    Move legal[MAX_GENERATED_MOVES];
    const int count = GenerateLegalMoves(pos, legal);
    if (count == 0) return false;
    MakeRealMove(pos, legal[random() % unsigned(count)]);
  }
  return true;
}

// A node that fails low reports the best score among its moves: futility pruning once replaced a
// searched move's score with a lower static evaluation, so the fail-soft value and the upper bound
// stored in the table were below what the node had already reached.
TEST(NodeScore, FutilityPruningNeverLowersTheBestScore) {
  std::mt19937 random(20261208);
  SearchFixture f;
  SearchState& s = *f.state;
  int failLows = 0;
  for (int game = 0; game < 400; ++game) {
    if (!playRandomGame(s.pos, random, 10 + int(random() % 50))) continue;
    f.table.clear();
    PlyRecord* r = s.plies;
    r->listEnd = nullptr;
    s.iterationDepth = 2;
    s.nextPollAt = ~uint64_t(0);
    s.checkCount[0] = s.checkCount[1] = 0;
    // A window above the static evaluation, so that the quiet moves are pruned.
    int eval = evaluate(s), alpha = eval + 320 + int(random() % 200);
    int score = SearchNode(s, r, 2, 1, alpha, alpha + 1, 0);
    if (score >= alpha || !r->listEnd) continue;
    int best = -INFINITE_SCORE;
    for (MoveEntry* e = listStart(s, r); e < r->listEnd; ++e) best = std::max(best, int(e->score));
    if (best == -INFINITE_SCORE) continue;  // no legal move: mated or stalemate
    ++failLows;
    EXPECT_EQ(score, best) << "game " << game;
  }
  EXPECT_GT(failLows, 100);
}

}  // namespace
