#include "search/node_steps.h"

#include "search/alphabeta.h"
#include "search/quiesce.h"
#include "search/search_state.h"
#include "search/transtable.h"

bool tableBoundSettles(const PlyRecord* r, int depth, int& alpha, int& beta) {
  const int stored = r->hashScore;
  const bool narrow = !(search.aspirationResearch && depth == int(search.iterationDepth));
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

int searchChild(PlyRecord* r, int depth, int x, int ply, int alpha, int beta, bool alphaRaised) {
  PlyRecord* child = r + 1;
  plies.current = child;
  child->listEnd = nullptr;
  int score;
  if (depth + x < 2 || ply > 125) {
    score = -QuiesceNode(0, ply + 1, -beta, -alpha);
  } else {
    int next = depth + x - 1;
    if (!alphaRaised) {
      score = -SearchNode(next, ply + 1, -beta, -alpha, 2);
    } else {
      score = -SearchNode(next, ply + 1, -alpha - 1, -alpha, 2);
      if (score > alpha && score < beta && !search.stopSearch) score = -SearchNode(next, ply + 1, -beta, -alpha, 2);
    }
    if (child->reducedFlag && score > alpha && !search.stopSearch) {
      child->reducedFlag = 0;
      score = -SearchNode(depth - 1, ply + 1, -beta, -alpha, 2);
    }
  }
  plies.current = r;
  return score;
}
