#include "search/quiesce.h"

#include "board/move.h"
#include "board/score.h"
#include "movegen/attacks.h"
#include "movegen/generate.h"
#include "movegen/make_move.h"
#include "search/node_steps.h"
#include "search/ordering.h"

int16_t QuiesceNode(SearchState& s, PlyRecord* r, int qdepth, int ply, int alpha, int beta) {
  Position& pos = s.pos;
  r->bestMove = MARK_NO_MOVE;
  if (ply > s.selectiveDepth) s.selectiveDepth = ply;
  if (probeTable(s, r)) {
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
  bool detection = s.checkCount[side] != 0;
  if (detection) computeCheckInfo(pos, r);
  else r->checkers = 0;
  bool inCheck = r->checkers != 0;

  MoveEntry* start = listStart(s, r);
  int best, bound = BOUND_UPPER;
  if (inCheck) {
    best = -INFINITE_SCORE;
    r->listEnd = generateEvasions[side](pos, start, r);
  } else {
    int standPat = evaluate(s);
    r->bestMove = MARK_STAND_PAT;
    best = standPat;
    if (standPat > alpha) {
      if (standPat >= beta) {
        storeTable(s, MARK_STAND_PAT, standPat, 0, BOUND_LOWER);
        return int16_t(standPat);
      }
      alpha = standPat;
    }
    r->listEnd = generateCaptures[side](pos, start);
    if (r->listEnd == start) return int16_t(standPat);
  }
  liftQuiescenceMoves(start, r->listEnd, r);

  for (r->cursor = start; r->cursor < r->listEnd; ++r->cursor) {
    selectByScore(r->cursor, r->listEnd);
    Move m = r->cursor->move;
    Square to = moveTo(m);
    // The previous move left a king en prise: that line is illegal.
    if (to == pos.kingSquare[WHITE] || to == pos.kingSquare[BLACK]) {
      storeTable(s, m, INFINITE_SCORE, 0, BOUND_EXACT);
      return INFINITE_SCORE;
    }
    makeSearchMove(s, m);
    int score;
    if (qdepth < -6 || ply > MAX_PLY) {
      score = -evaluate(s);
    } else if (pos.totalMaterial >= 4 || pos.pawnCount[WHITE] || pos.pawnCount[BLACK]) {
      score = -QuiesceNode(s, r + 1, qdepth - 1, ply + 1, -beta, -alpha);
    } else {
      score = 0;  // at most one minor piece left: no mate possible
    }
    unmakeMove(pos, m);
    r->cursor->score = int16_t(score);
    if (score > best) {
      best = score;
      r->bestMove = m;
      if (score > alpha) {
        alpha = score;
        bound = BOUND_EXACT;
        if (score >= beta) {
          updateKillers(r, m);
          storeTable(s, m, score, 0, BOUND_LOWER);
          return int16_t(score);
        }
      }
    }
  }

  if (detection && best == -INFINITE_SCORE) {
    storeTable(s, MARK_MATED, matedIn(ply), 0, BOUND_EXACT);
    return int16_t(matedIn(ply));
  }
  if (detection && inCheck) {
    storeTable(s, r->bestMove, best, 1, bound);
    return int16_t(best);
  }
  if (r->bestMove != MARK_STAND_PAT) storeTable(s, r->bestMove, best, 0, bound);
  return int16_t(best);
}
