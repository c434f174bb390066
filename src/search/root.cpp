#include "search/root.h"

#include <algorithm>
#include <climits>

#include "board/move.h"
#include "board/score.h"
#include "movegen/attacks.h"
#include "movegen/generate.h"
#include "movegen/make_move.h"
#include "movegen/validate.h"
#include "search/draws.h"
#include "search/node_steps.h"
#include "search/ordering.h"
#include "search/poll.h"

namespace {

inline constexpr int16_t SKIPPED = -INFINITE_SCORE - 1;  // illegal, or ruled out by the bitbases

enum Verdict { UNKNOWN, WINS, DRAWS, LOSES };

bool bitbaseClassifies(const SearchState& s, int alpha, int beta) {
  return alpha < BITBASE_WINDOW && beta > -BITBASE_WINDOW && s.shared.bitbases.covers(s.pos);
}

// Makes every root move once: illegal moves are marked, and with the bitbases the moves are
// sorted into wins, draws and losses so that only the best class is searched. Within it only the
// moves the tables score best are kept, the quickest mate or the longest defence: every win would
// otherwise look alike to the search, which would not make progress.
void classifyRootMoves(SearchState& s, PlyRecord* r, int alpha, int beta) {
  Position& pos = s.pos;
  Verdict verdicts[MAX_GENERATED_MOVES];
  int results[MAX_GENERATED_MOVES];
  const int side = pos.sideToMove;
  MoveEntry* const list = s.moveStack;
  int legal = 0, wins = 0, draws = 0, losses = 0;
  s.useBitbases = true;
  s.rootTableScore = NO_TABLE_SCORE;
  liftHashAndKillers(list, r->listEnd, r, true);
  for (MoveEntry* e = list; e < r->listEnd; ++e) {
    Verdict& v = verdicts[e - list];
    v = UNKNOWN;
    makeMove(pos, e->move);
    if (kingAttackedAfter(pos, e->move, side)) {
      e->score = SKIPPED;
    } else {
      ++legal;
      if (e->score == SKIPPED) e->score = -INFINITE_SCORE;  // ruled out by an earlier classification
      if (bitbaseClassifies(s, alpha, beta)) {
        int result = s.shared.bitbases.probe(pos);  // from the opponent's point of view
        if (result != BITBASE_NO_RESULT) {
          results[e - list] = result;
          v = result == 0 ? DRAWS : result > 0 ? LOSES : WINS;
          ++(v == DRAWS ? draws : v == LOSES ? losses : wins);
        }
      }
    }
    unmakeMove(pos, e->move);
  }
  s.publishedRootMoves.store(legal, std::memory_order_relaxed);
  s.allRootMovesDrawn = draws > 0 && draws == legal;
  if (wins + draws + losses == 0) return;
  const Verdict kept = wins ? WINS : draws ? DRAWS : losses == legal ? LOSES : UNKNOWN;
  int bestResult = INT_MAX;  // the opponent's score after the move: the lower, the better for us
  for (MoveEntry* e = list; e < r->listEnd; ++e)
    if (e->score != SKIPPED && verdicts[e - list] == kept) bestResult = std::min(bestResult, results[e - list]);
  for (MoveEntry* e = list; e < r->listEnd; ++e) {
    if (e->score == SKIPPED) continue;
    Verdict v = verdicts[e - list];
    bool worseClass = (wins && v != WINS) || (draws && v == LOSES) || (losses && losses < legal && v == LOSES);
    bool worseInClass = kept != UNKNOWN && v == kept && results[e - list] != bestResult;
    if (worseClass || worseInClass) e->score = SKIPPED;
  }
  if (wins || draws == legal || losses == legal) {
    s.useBitbases = false;
    s.rootTableScore = -bestResult;
  }
}

// Whether the root move is one this search leaves out: not among the moves it was restricted to,
// or the move of a better line.
bool leftOut(const SearchState& s, Move m) {
  const SearchLimits& limits = s.shared.limits;
  if (limits.searchMoveCount && std::find(limits.searchMoves, limits.searchMoves + limits.searchMoveCount, m) ==
                                    limits.searchMoves + limits.searchMoveCount)
    return true;
  return std::find(s.rootExcluded, s.rootExcluded + s.rootExcludedCount, m) != s.rootExcluded + s.rootExcludedCount;
}

}  // namespace

int16_t RootSearch(SearchState& s, int alpha, int beta) {
  Position& pos = s.pos;
  PlyRecord* r = s.plies;
  const int depth = s.iterationDepth;
  r->bestMove = MARK_NO_MOVE;
  // A search of some of the root's moves neither takes the root's table entry nor leaves one: the
  // entry stands for all of them.
  const bool restricted = s.rootExcludedCount > 0 || s.shared.limits.searchMoveCount > 0;
  // Where the bitbases classify the root's moves the table's move is not taken: it may be one they
  // rule out (an older search's, or a draw where a win is known).
  if (!restricted && probeTable(s, r) && r->hashDepth >= depth && !bitbaseClassifies(s, alpha, beta)) {
    // The move must fit this position: a key collision can bring one that does not.
    bool fits = r->hashMove == MARK_STALEMATE || isLegalMove(pos, r->hashMove);
    int stored = r->hashScore;
    if (tableBoundSettles(s, r, depth, alpha, beta) && fits && stored >= -ROOT_TRUSTED && stored <= ROOT_TRUSTED) {
      r->bestMove = r->hashMove;
      return int16_t(stored);
    }
  }

  const int side = pos.sideToMove;
  const bool inCheck = r->checkers != 0;
  if (!r->listEnd) r->listEnd = generateMoves(pos, s.moveStack, r);
  classifyRootMoves(s, r, alpha, beta);

  int best = -INFINITE_SCORE, bound = BOUND_UPPER, tried = 0;
  bool byHistory = false;
  for (r->cursor = s.moveStack; r->cursor < r->listEnd; ++r->cursor) {
    selectNextMove(s.history, r->cursor, r->listEnd, orderKeysAt(s, r->cursor), byHistory, side);
    if (r->cursor->score == SKIPPED) continue;
    const Move m = r->cursor->move;
    if (restricted && leftOut(s, m)) continue;
    s.publishedRootMove.store(++tried, std::memory_order_relaxed);
    if (s.nodeCount >= s.nextPollAt && PollSearch(s)) return int16_t(best);
    ++s.nodeCount;
    makeSearchMove(s, m);
    int score;
    if (DrawTest(pos, 2)) {
      score = 0;
    } else {
      r[1].reducedFlag = 0;
      score = searchChild(s, r, depth, 0, 0, alpha, beta, bound == BOUND_EXACT);
    }
    unmakeMove(pos, m);
    if (s.stopped()) return int16_t(best);

    const int alphaBefore = alpha;
    const bool cutoff = takeMoveScore(r, score, best, alpha, beta, bound);
    if (score > alphaBefore && s.rootExcludedCount == 0) {
      s.iterationMove = m;
      s.iterationScore = score;
    }
    if (cutoff) {
      recordCutoff(s.history, pos, r, s.moveStack, r->cursor, depth, false);
      int reported = s.allRootMovesDrawn ? 0 : score;
      if (!restricted) storeTable(s, m, reported, depth, BOUND_LOWER);
      s.useBitbases = true;
      return int16_t(reported);
    }
    if (NodeLimitReached(s)) {
      s.stop();
      return int16_t(best);
    }
  }

  s.useBitbases = true;
  if (restricted) return int16_t(best);  // with no move searched, bestMove stays MARK_NO_MOVE
  if (best == -INFINITE_SCORE) {
    r->bestMove = inCheck ? MARK_MATED : MARK_STALEMATE;
    int stored = inCheck ? -MATE_SCORE : 0;
    storeTable(s, r->bestMove, stored, depth, BOUND_EXACT);
    return int16_t(stored);
  }
  storeTable(s, r->bestMove, best, depth, bound);
  return int16_t(best);
}
