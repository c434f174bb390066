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
#include "movegen/ply.h"
#include "movegen/validate.h"
#include "search/alphabeta.h"
#include "search/search_state.h"
#include "search/transtable.h"

namespace {

// Plays `plies` random legal moves from the start; false when the game ended first.
bool playRandomGame(std::mt19937& random, int plies) {
  SetupPosition(START_FEN);
  for (int i = 0; i < plies; ++i) {
    MoveEntry list[MAX_GENERATED_MOVES];
    CheckInfo info;
    computeCheckInfo(&info);
    MoveEntry* end = info.checkers ? generateEvasions[pos.sideToMove](list, &info) : generateAll[pos.sideToMove](list);
    std::vector<Move> legal;
    for (MoveEntry* e = list; e < end; ++e)
      if (isLegalMove(e->move)) legal.push_back(e->move);
    if (legal.empty()) return false;
    MakeRealMove(legal[random() % legal.size()]);
  }
  return true;
}

// A node that fails low reports the best score among its moves: futility pruning once replaced a
// searched move's score with a lower static evaluation, so the fail-soft value and the upper bound
// stored in the table were below what the node had already reached.
TEST(NodeScore, FutilityPruningNeverLowersTheBestScore) {
  std::mt19937 random(20261208);
  int failLows = 0;
  for (int game = 0; game < 400; ++game) {
    if (!playRandomGame(random, 10 + int(random() % 50))) continue;
    ClearHashTables();
    PlyRecord* r = plies.records;
    plies.current = r;
    r->listEnd = nullptr;
    search.stopSearch = 0;
    search.iterationDepth = 2;
    search.nextPollAt = ~0u;
    search.checkCount[0] = search.checkCount[1] = 0;
    // A window above the static evaluation, so that the quiet moves are pruned.
    int eval = Evaluate(), alpha = eval + 320 + int(random() % 200);
    int score = SearchNode(2, 1, alpha, alpha + 1, 0);
    if (score >= alpha || !r->listEnd) continue;
    int best = -INFINITE_SCORE;
    for (MoveEntry* e = listStart(r); e < r->listEnd; ++e) best = std::max(best, int(e->score));
    if (best == -INFINITE_SCORE) continue;  // no legal move: mated or stalemate
    ++failLows;
    EXPECT_EQ(score, best) << "game " << game;
  }
  EXPECT_GT(failLows, 100);
}

}  // namespace
