#include "search/quiesce.h"

#include "board/move.h"
#include "board/position.h"
#include "board/score.h"
#include "eval/evaluate.h"
#include "movegen/attacks.h"
#include "movegen/generate.h"
#include "movegen/make_move.h"
#include "search/ordering.h"
#include "search/search_state.h"
#include "search/transtable.h"

int16_t QuiesceNode(int qdepth, int ply, int alpha, int beta) {
  PlyRecord* r = plies.current;
  r->bestMove = MARK_NO_MOVE;
  if (ProbeTable(r)) {
    int stored = r->hashScore;
    switch (r->hashBound) {
      case BOUND_EXACT:
        r->bestMove = r->hashMove;
        return int16_t(stored);
      case BOUND_LOWER:
        if (stored >= beta) return int16_t(stored);
        if (stored > alpha) alpha = stored;
        break;
      case BOUND_UPPER:
        if (stored <= alpha) return int16_t(stored);
        if (stored < beta) beta = stored;
        break;
    }
  }

  // Checks are only looked for on lines where the main search met one.
  int side = pos.sideToMove;
  bool detection = search.checkCount[side] != 0;
  if (detection) computeCheckInfo(r);
  else r->checkers = 0;
  bool inCheck = r->checkers != 0;

  MoveEntry* start = listStart(r);
  int best, bound = BOUND_UPPER;
  if (inCheck) {
    best = -INFINITE_SCORE;
    r->listEnd = generateEvasions[side](start, r);
  } else {
    int standPat = Evaluate();
    r->bestMove = MARK_STAND_PAT;
    best = standPat;
    if (standPat > alpha) {
      if (standPat >= beta) {
        StoreTable(MARK_STAND_PAT, standPat, 0, BOUND_LOWER);
        return int16_t(standPat);
      }
      alpha = standPat;
    }
    r->listEnd = generateCaptures[side](start);
    if (r->listEnd == start) return int16_t(standPat);
  }
  saveSnapshot(r);
  liftQuiescenceMoves(start, r->listEnd, r);

  for (r->cursor = start; r->cursor < r->listEnd; ++r->cursor) {
    selectByScore(r->cursor, r->listEnd);
    Move m = r->cursor->move;
    Square to = moveTo(m);
    // The previous move left a king en prise: that line is illegal.
    if (to == pos.kingSquare[WHITE] || to == pos.kingSquare[BLACK]) {
      StoreTable(m, INFINITE_SCORE, 0, BOUND_EXACT);
      return INFINITE_SCORE;
    }
    ++search.movesMade;
    makeMove(m, r);
    PrefetchTable(pos.hashKey, pos.sideToMove);
    int score;
    if (qdepth < -6 || ply > 132) {
      score = -Evaluate();
    } else if (pos.totalMaterial >= 4 || pos.pawnCount[WHITE] || pos.pawnCount[BLACK]) {
      plies.current = r + 1;
      score = -QuiesceNode(qdepth - 1, ply + 1, -beta, -alpha);
      plies.current = r;
    } else {
      score = 0;  // at most one minor piece left: no mate possible
    }
    unmakeMove(m, r);
    r->cursor->score = int16_t(score);
    if (score > best) {
      best = score;
      r->bestMove = m;
      if (score > alpha) {
        alpha = score;
        bound = BOUND_EXACT;
        if (score >= beta) {
          updateKillers(r, m);
          StoreTable(m, score, 0, BOUND_LOWER);
          return int16_t(score);
        }
      }
    }
  }

  if (detection && best == -INFINITE_SCORE) {
    StoreTable(MARK_MATED, ply - MATE_SCORE, 0, BOUND_EXACT);
    return int16_t(ply - MATE_SCORE);
  }
  if (detection && inCheck) {
    StoreTable(r->bestMove, best, 1, bound);
    return int16_t(best);
  }
  if (r->bestMove != MARK_STAND_PAT) StoreTable(r->bestMove, best, 0, bound);
  return int16_t(best);
}
