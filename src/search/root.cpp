#include "search/root.h"

#include <algorithm>
#include <climits>

#include "board/move.h"
#include "board/position.h"
#include "board/score.h"
#include "board/tables.h"
#include "eval/bitbase.h"
#include "movegen/attacks.h"
#include "movegen/generate.h"
#include "movegen/make_move.h"
#include "movegen/validate.h"
#include "search/draws.h"
#include "search/limits.h"
#include "search/node_steps.h"
#include "search/ordering.h"
#include "search/search_state.h"
#include "search/transtable.h"

namespace {

inline constexpr int16_t SKIPPED = -INFINITE_SCORE - 1;  // illegal, or ruled out by the bitbases

enum Verdict { UNKNOWN, WINS, DRAWS, LOSES };

bool bitbaseClassifies(int alpha, int beta) {
  return alpha < BITBASE_WINDOW && beta > -BITBASE_WINDOW && BitbaseCovers();
}

// Makes every root move once: illegal moves are marked, and with the bitbases the moves are
// sorted into wins, draws and losses so that only the best class is searched. Within it only the
// moves the tables score best are kept, the quickest mate or the longest defence: every win would
// otherwise look alike to the search, which would not make progress.
void classifyRootMoves(PlyRecord* r, int alpha, int beta) {
  static Verdict verdicts[MAX_GENERATED_MOVES];
  static int results[MAX_GENERATED_MOVES];
  int side = pos.sideToMove;
  int legal = 0, wins = 0, draws = 0, losses = 0;
  search.useBitbases = 1;
  liftHashAndKillers(moveStack, r->listEnd, r, true);
  for (MoveEntry* e = moveStack; e < r->listEnd; ++e) {
    Verdict& v = verdicts[e - moveStack];
    v = UNKNOWN;
    makeMove(e->move, r);
    if (kingAttackedAfter(e->move, side)) {
      e->score = SKIPPED;
    } else {
      ++legal;
      if (e->score == SKIPPED) e->score = -INFINITE_SCORE;  // ruled out by an earlier classification
      if (bitbaseClassifies(alpha, beta)) {
        int result = ProbeBitbase();  // from the opponent's point of view
        if (result != BITBASE_NO_RESULT) {
          results[e - moveStack] = result;
          v = result == 0 ? DRAWS : result > 0 ? LOSES : WINS;
          ++(v == DRAWS ? draws : v == LOSES ? losses : wins);
        }
      }
    }
    unmakeMove(e->move, r);
  }
  search.allRootMovesDrawn = draws > 0 && draws == legal;
  if (wins + draws + losses == 0) return;
  const Verdict kept = wins ? WINS : draws ? DRAWS : losses == legal ? LOSES : UNKNOWN;
  int bestResult = INT_MAX;  // the opponent's score after the move: the lower, the better for us
  for (MoveEntry* e = moveStack; e < r->listEnd; ++e)
    if (e->score != SKIPPED && verdicts[e - moveStack] == kept) bestResult = std::min(bestResult, results[e - moveStack]);
  for (MoveEntry* e = moveStack; e < r->listEnd; ++e) {
    if (e->score == SKIPPED) continue;
    Verdict v = verdicts[e - moveStack];
    bool worseClass = (wins && v != WINS) || (draws && v == LOSES) || (losses && losses < legal && v == LOSES);
    bool worseInClass = kept != UNKNOWN && v == kept && results[e - moveStack] != bestResult;
    if (worseClass || worseInClass) e->score = SKIPPED;
  }
  if (wins || draws == legal || losses == legal) search.useBitbases = 0;
}

}  // namespace

int16_t RootSearch(int alpha, int beta) {
  PlyRecord* r = plies.records;
  int depth = int(search.iterationDepth);
  r->bestMove = MARK_NO_MOVE;
  // Where the bitbases classify the root's moves the table's move is not taken: it may be one they
  // rule out (an older search's, or a draw where a win is known).
  if (ProbeTable(r) && r->hashDepth >= depth && !bitbaseClassifies(alpha, beta)) {
    // The move must fit this position: a key collision can bring one that does not.
    bool fits = r->hashMove == MARK_STALEMATE || isLegalMove(r->hashMove);
    int stored = r->hashScore;
    if (tableBoundSettles(r, depth, alpha, beta) && fits && stored >= -ROOT_TRUSTED && stored <= ROOT_TRUSTED) {
      r->bestMove = r->hashMove;
      return int16_t(stored);
    }
  }

  int side = pos.sideToMove;
  bool inCheck = r->checkers != 0;
  if (!r->listEnd) r->listEnd = generateMoves(moveStack, r);
  saveSnapshot(r);
  classifyRootMoves(r, alpha, beta);

  int best = -INFINITE_SCORE, bound = BOUND_UPPER;
  bool byHistory = false;
  for (r->cursor = moveStack; r->cursor < r->listEnd; ++r->cursor) {
    selectNextMove(r->cursor, r->listEnd, byHistory, side);
    if (r->cursor->score == SKIPPED) continue;
    Move m = r->cursor->move;
    ++search.nodeCount;
    ++search.movesMade;
    makeMove(m, r);
    PrefetchTable(pos.hashKey, pos.sideToMove);
    int score;
    if (DrawTest(2)) {
      score = 0;
    } else {
      r[1].reducedFlag = 0;
      score = searchChild(r, depth, 0, 0, alpha, beta, bound == BOUND_EXACT);
    }
    unmakeMove(m, r);
    if (search.stopSearch) return int16_t(best);
    if ((depth > 2 && TimeUp()) || HardLimitReached()) {
      search.stopSearch = 1;
      return int16_t(best);
    }

    if (takeMoveScore(r, score, best, alpha, beta, bound)) {
      recordCutoff(r, moveStack, r->cursor, depth, false);
      int reported = search.allRootMovesDrawn ? 0 : score;
      StoreTable(m, reported, depth, BOUND_LOWER);
      search.useBitbases = 1;
      return int16_t(reported);
    }
  }

  search.useBitbases = 1;
  if (best == -INFINITE_SCORE) {
    r->bestMove = inCheck ? MARK_MATED : MARK_STALEMATE;
    int stored = inCheck ? -MATE_SCORE : 0;
    StoreTable(r->bestMove, stored, depth, BOUND_EXACT);
    return int16_t(stored);
  }
  StoreTable(r->bestMove, best, depth, bound);
  return int16_t(best);
}
