#include "search/node_steps.h"

#include "search/alphabeta.h"
#include "search/quiesce.h"

bool tableBoundSettles(const SearchState& s, const PlyRecord* r, int depth, int& alpha, int& beta) {
  const int stored = r->hashScore;
  const bool narrow = !(s.aspirationResearch && depth == s.iterationDepth);
  switch (r->hashBound) {
    case BOUND_EXACT:
      return true;
    case BOUND_LOWER:
      if (stored >= beta) return true;
      if (stored > alpha && narrow) alpha = stored;
      return false;
    case BOUND_UPPER:
      if (stored <= alpha) return true;
      if (stored < beta && narrow) beta = stored;
      return false;
    default:
      return false;
  }
}

bool takeMoveScore(PlyRecord* r, int score, int& best, int& alpha, int beta, int& bound) {
  r->cursor->score = int16_t(score);
  if (score <= best) return false;
  best = score;
  r->bestMove = r->cursor->move;
  if (score <= alpha) return false;
  if (score >= beta) return true;
  bound = BOUND_EXACT;
  alpha = score;
  return false;
}

int searchChild(SearchState& s, PlyRecord* r, int depth, int x, int ply, int alpha, int beta, bool alphaRaised) {
  PlyRecord* child = r + 1;
  child->listEnd = nullptr;
  int score;
  if (depth + x < 2 || ply > FULL_WIDTH_PLIES) {
    score = -QuiesceNode(s, child, 0, ply + 1, -beta, -alpha);
  } else {
    int next = depth + x - 1;
    if (!alphaRaised) {
      score = -SearchNode(s, child, next, ply + 1, -beta, -alpha, 2);
    } else {
      score = -SearchNode(s, child, next, ply + 1, -alpha - 1, -alpha, 2);
      if (score > alpha && score < beta && !s.stopped()) score = -SearchNode(s, child, next, ply + 1, -beta, -alpha, 2);
    }
    if (child->reducedFlag && score > alpha && !s.stopped()) {
      child->reducedFlag = 0;
      score = -SearchNode(s, child, depth - 1, ply + 1, -beta, -alpha, 2);
    }
  }
  return score;
}
