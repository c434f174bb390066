#include "search/alphabeta.h"

#include <algorithm>

#include "board/move.h"
#include "board/position.h"
#include "board/score.h"
#include "board/tables.h"
#include "eval/bitbase.h"
#include "eval/evaluate.h"
#include "movegen/attacks.h"
#include "movegen/generate.h"
#include "movegen/make_move.h"
#include "search/draws.h"
#include "search/node_steps.h"
#include "search/ordering.h"
#include "search/poll.h"
#include "search/quiesce.h"
#include "search/search_state.h"
#include "search/transtable.h"

namespace {

// Table look-up at node entry: narrows the window or answers the node. Returns true with the
// answer in `score` when the node is settled by the table.
bool tableCutoff(PlyRecord* r, int depth, int ply, int& alpha, int& beta, int& score) {
  if (!ProbeTable(r) || r->hashDepth < depth) return false;
  if (!tableBoundSettles(r, depth, alpha, beta) || WouldRepeat(r->hashMove)) return false;
  r->bestMove = r->hashMove;
  // Mate scores are stored without distance correction: trust them only far from the root.
  if (isMateScore(r->hashScore) && !(ply > 8 && ply > int(search.iterationDepth) / 2)) return false;
  score = r->hashScore;
  return true;
}

bool bitbaseProbe(int ply, int alpha, int beta, int& score) {
  if (!search.useBitbases || !BitbaseCovers()) return false;
  int iteration = int(search.iterationDepth);
  if (!(ply == 0 || ply > 4) || alpha >= BITBASE_WINDOW || beta <= -BITBASE_WINDOW) return false;
  if (!(ply == 0 || ply > iteration / 2 + 1 || pos.historyTop->reversibleCount == 0)) return false;
  int pieces = PopCount(pos.occupied);
  if (pieces == 5 && !(ply < iteration - 2 || bitbases.loadMode == 3 || ply == 0)) return false;
  int result = ProbeBitbase();
  if (result == BITBASE_NO_RESULT) return false;
  score = result;
  return true;
}

// A pawn that has crossed into the opponent's half with no enemy pawn in front of it or beside.
bool passedPawnAdvance(Square to, int mover) {
  Piece p = pos.board[to];
  if (mover == WHITE)
    return p == WPAWN && rowOf(to) <= 3 && !(WhitePassedMask[to] & pos.pieceBB[BPAWN]);
  return p == BPAWN && rowOf(to) >= 4 && !(BlackPassedMask[to] & pos.pieceBB[WPAWN]);
}

bool givesCheck() {
  CheckInfo info;
  computeCheckInfo(&info);
  return info.checkers != 0;
}

int futilityMargin(Move m, int depth, const PlyRecord* r) {
  int margin = depth == 2 ? 300 : 100;
  int type = moveType(m);
  if (type == CAPTURE || type == EN_PASSANT || type >= CAPTURE_PROMO_Q) margin += PieceValue[r->capturedPiece] * 100;
  if (isPromotion(m)) margin += 800;
  return margin;
}

int searchMoves(PlyRecord* r, int depth, int ply, int alpha, int beta, bool inCheck, int e);

}  // namespace

int16_t SearchNode(int depth, int ply, int alpha, int beta, int nullAllowed) {
  PlyRecord* r = plies.current;
  if (search.nodeCount > search.nextPollAt && PollSearch()) return INFINITE_SCORE;

  r->bestMove = MARK_NO_MOVE;
  int score;
  if (tableCutoff(r, depth, ply, alpha, beta, score)) return int16_t(score);
  if (bitbaseProbe(ply, alpha, beta, score)) return int16_t(score);

  int side = pos.sideToMove;
  computeCheckInfo(r);
  bool inCheck = r->checkers != 0;

  if (nullAllowed && !inCheck && pos.pieceMaterial[side]) {
    int R = depth >= 7 && pos.pieceMaterial[side] >= 9 ? 3 : 2;
    bool pointless = r->hashDepth > 0 && moveType(r->hashMove) != MARKER && r->hashDepth >= depth - R - 1 &&
                     r->hashScore < beta && (r->hashBound == BOUND_EXACT || r->hashBound == BOUND_UPPER);
    if (!pointless) {
      makeNullMove();
      plies.current = r + 1;
      r[1].listEnd = nullptr;
      score = R + 1 < depth ? -SearchNode(depth - R - 1, ply + 1, -beta, -beta + 1, 0)
                            : -QuiesceNode(0, ply + 1, -beta, -beta + 1);
      plies.current = r;
      unmakeNullMove();
      if (search.stopSearch) return -INFINITE_SCORE;
      if (score >= beta) return int16_t(score);
    }
  }

  // Internal iterative deepening finds a move to try first when the table has none deep enough.
  if (r->hashDepth < depth - 2) {
    int v = SearchNode(depth - 2, ply, alpha, beta, nullAllowed);
    if (v <= alpha && v >= matedIn(1) && !search.stopSearch) SearchNode(depth - 2, ply, -MATE_SCORE, beta, nullAllowed);
    ProbeTable(r);
  }

  // Check extension: a side in check a second time on this line gets one more ply.
  int e = 0;
  if (inCheck && search.checkCount[side]++ > 0) e = 1;
  int result = searchMoves(r, depth, ply, alpha, beta, inCheck, e);
  if (inCheck) --search.checkCount[side];
  return int16_t(result);
}

namespace {

int searchMoves(PlyRecord* r, int depth, int ply, int alpha, int beta, bool inCheck, int e) {
  int side = pos.sideToMove;
  MoveEntry* start = listStart(r);
  if (!r->listEnd) r->listEnd = generateMoves(start, r);
  saveSnapshot(r);
  liftHashAndKillers(start, r->listEnd, r, false);

  int best = -INFINITE_SCORE, bound = BOUND_UPPER, searched = 0, staticEval = 0;
  bool evaluated = false, byHistory = false;
  Move previous = pos.historyTop > pos.history ? pos.historyTop[-1].move : Move(0);
  for (r->cursor = start; r->cursor < r->listEnd; ++r->cursor) {
    selectNextMove(r->cursor, r->listEnd, byHistory, side);
    Move m = r->cursor->move;
    Square from = moveFrom(m), to = moveTo(m);
    Piece mover = pos.board[from];
    if (searched > 0 && depth <= 2 && !inCheck && e == 0 && !evaluated) {
      staticEval = Evaluate();
      evaluated = true;
    }

    ++search.nodeCount;
    ++search.movesMade;
    makeMove(m, r);
    PrefetchTable(pos.hashKey, pos.sideToMove);
    int score;
    if (kingAttackedAfter(m, side)) {
      score = -INFINITE_SCORE;
    } else if (DrawTest(1)) {
      score = 0;
    } else {
      int x = e;
      r[1].reducedFlag = 0;
      if (e == 0) {
        if (passedPawnAdvance(to, side)) {
          x = 1;
        } else if (evaluated && !isCastling(m) && !givesCheck()) {
          int margin = futilityMargin(m, depth, r);
          if (staticEval + margin < alpha) {
            // A pruned move never lowers what the moves searched before it reached.
            if (staticEval + margin > best) best = std::max(best, staticEval);
            r->cursor->score = int16_t(staticEval);
            unmakeMove(m, r);
            continue;
          }
        }
      }
      if (x == 0) {
        bool late = depth > 2 && searched > 2;
        if (late && !inCheck && lowHistorySuccess(mover, to)) {
          x = -1;
          r[1].reducedFlag = 1;
        } else if (ply > 3 && depth > 1 && moveType(previous) == CAPTURE && moveType(m) == CAPTURE &&
                   moveTo(previous) == to && PieceValue[r[-1].capturedPiece] == PieceValue[r->capturedPiece]) {
          x = 1;  // recapture
        }
      }
      ++searched;
      score = searchChild(r, depth, x, ply, alpha, beta, bound == BOUND_EXACT);
    }
    unmakeMove(m, r);
    if (search.stopSearch) return best;

    if (takeMoveScore(r, score, best, alpha, beta, bound)) {
      recordCutoff(r, start, r->cursor, depth, true);
      StoreTable(m, score, depth, BOUND_LOWER);
      return score;
    }
  }

  if (best == -INFINITE_SCORE) {
    if (inCheck) {
      StoreTable(MARK_MATED, ply - MATE_SCORE, depth, BOUND_EXACT);
      return ply - MATE_SCORE;
    }
    StoreTable(MARK_STALEMATE, 0, depth, BOUND_EXACT);
    return 0;
  }
  StoreTable(r->bestMove, best, depth, bound);
  return best;
}

}  // namespace
