#include "search/alphabeta.h"

#include <algorithm>

#include "board/move.h"
#include "board/score.h"
#include "board/tables.h"
#include "movegen/attacks.h"
#include "movegen/generate.h"
#include "movegen/make_move.h"
#include "search/draws.h"
#include "search/node_steps.h"
#include "search/ordering.h"
#include "search/poll.h"
#include "search/quiesce.h"

namespace {

// Table look-up at node entry: narrows the window or answers the node. Returns true with the
// answer in `score` when the node is settled by the table.
bool tableCutoff(SearchState& s, PlyRecord* r, int depth, int ply, int& alpha, int& beta, int& score) {
  if (!probeTable(s, r) || r->hashDepth < depth) return false;
  if (!tableBoundSettles(s, r, depth, alpha, beta) || WouldRepeat(s.pos, r->hashMove)) return false;
  r->bestMove = r->hashMove;
  // Mate scores are stored without distance correction: trust them only far from the root.
  if (isMateScore(r->hashScore) && !(ply > 8 && ply > s.iterationDepth / 2)) return false;
  score = r->hashScore;
  return true;
}

bool bitbaseProbe(SearchState& s, int ply, int alpha, int beta, int& score) {
  const Position& pos = s.pos;
  const Bitbases& bitbases = s.shared.bitbases;
  if (!s.useBitbases || !bitbases.covers(pos)) return false;
  const int iteration = s.iterationDepth;
  if (!(ply == 0 || ply > 4) || alpha >= BITBASE_WINDOW || beta <= -BITBASE_WINDOW) return false;
  if (!(ply == 0 || ply > iteration / 2 + 1 || pos.historyTop->reversibleCount == 0)) return false;
  int pieces = PopCount(pos.occ.all);
  if (pieces == 5 && !(ply < iteration - 2 || bitbases.loadMode() == 3 || ply == 0)) return false;
  int result = bitbases.probe(pos);
  if (result == BITBASE_NO_RESULT) return false;
  score = result;
  return true;
}

// A pawn that has crossed into the opponent's half with no enemy pawn in front of it or beside.
bool passedPawnAdvance(const Position& pos, Square to, int mover) {
  Piece p = pos.board[to];
  if (mover == WHITE) return p == WPAWN && rowOf(to) <= 3 && !(WhitePassedMask[to] & pos.pieceBB[BPAWN]);
  return p == BPAWN && rowOf(to) >= 4 && !(BlackPassedMask[to] & pos.pieceBB[WPAWN]);
}

bool givesCheck(const Position& pos) {
  CheckInfo info;
  computeCheckInfo(pos, &info);
  return info.checkers != 0;
}

// The margin by which a move at one of the last two plies must be able to raise the static score.
int futilityMargin(const Position& pos, Move m, int depth) {
  int margin = depth == 2 ? 300 : 100;
  int type = moveType(m);
  if (type == CAPTURE || type == EN_PASSANT || type >= CAPTURE_PROMO_Q)
    margin += PieceValue[pos.historyTop[-1].captured] * 100;
  if (isPromotion(m)) margin += 800;
  return margin;
}

// A capture that takes back on the square of the capture before it, a piece of the same value.
bool isRecapture(const Position& pos, Move m, Move previous) {
  return moveType(previous) == CAPTURE && moveType(m) == CAPTURE && moveTo(previous) == moveTo(m) &&
         PieceValue[pos.historyTop[-2].captured] == PieceValue[pos.historyTop[-1].captured];
}

int searchMoves(SearchState& s, PlyRecord* r, int depth, int ply, int alpha, int beta, bool inCheck, int e);

}  // namespace

int16_t SearchNode(SearchState& s, PlyRecord* r, int depth, int ply, int alpha, int beta, int nullAllowed) {
  Position& pos = s.pos;
  if (s.nodeCount > s.nextPollAt && PollSearch(s)) return INFINITE_SCORE;

  r->bestMove = MARK_NO_MOVE;
  int score;
  if (tableCutoff(s, r, depth, ply, alpha, beta, score)) return int16_t(score);
  if (bitbaseProbe(s, ply, alpha, beta, score)) return int16_t(score);

  int side = pos.sideToMove;
  computeCheckInfo(pos, r);
  bool inCheck = r->checkers != 0;

  if (nullAllowed && !inCheck && pos.pieceMaterial[side]) {
    int R = depth >= 7 && pos.pieceMaterial[side] >= 9 ? 3 : 2;
    bool pointless = r->hashDepth > 0 && moveType(r->hashMove) != MARKER && r->hashDepth >= depth - R - 1 &&
                     r->hashScore < beta && (r->hashBound == BOUND_EXACT || r->hashBound == BOUND_UPPER);
    if (!pointless) {
      makeNullMove(pos);
      r[1].listEnd = nullptr;
      score = R + 1 < depth ? -SearchNode(s, r + 1, depth - R - 1, ply + 1, -beta, -beta + 1, 0)
                            : -QuiesceNode(s, r + 1, 0, ply + 1, -beta, -beta + 1);
      unmakeNullMove(pos);
      if (s.stopped()) return -INFINITE_SCORE;
      if (score >= beta) return int16_t(score);
    }
  }

  // Internal iterative deepening finds a move to try first when the table has none deep enough.
  if (r->hashDepth < depth - 2) {
    int v = SearchNode(s, r, depth - 2, ply, alpha, beta, nullAllowed);
    if (v <= alpha && v >= matedIn(1) && !s.stopped()) SearchNode(s, r, depth - 2, ply, -MATE_SCORE, beta, nullAllowed);
    probeTable(s, r);
  }

  // Check extension: a side in check a second time on this line gets one more ply.
  int e = 0;
  if (inCheck && s.checkCount[side]++ > 0) e = 1;
  int result = searchMoves(s, r, depth, ply, alpha, beta, inCheck, e);
  if (inCheck) --s.checkCount[side];
  return int16_t(result);
}

namespace {

int searchMoves(SearchState& s, PlyRecord* r, int depth, int ply, int alpha, int beta, bool inCheck, int e) {
  Position& pos = s.pos;
  int side = pos.sideToMove;
  MoveEntry* start = listStart(s, r);
  if (!r->listEnd) r->listEnd = generateMoves(pos, start, r);
  liftHashAndKillers(start, r->listEnd, r, false);

  int best = -INFINITE_SCORE, bound = BOUND_UPPER, searched = 0, staticEval = 0;
  bool evaluated = false, byHistory = false;
  Move previous = pos.historyTop > pos.history ? pos.historyTop[-1].move : Move(0);
  for (r->cursor = start; r->cursor < r->listEnd; ++r->cursor) {
    selectNextMove(s.history, r->cursor, r->listEnd, orderKeysAt(s, r->cursor), byHistory, side);
    Move m = r->cursor->move;
    Square from = moveFrom(m), to = moveTo(m);
    Piece mover = pos.board[from];
    if (searched > 0 && depth <= 2 && !inCheck && e == 0 && !evaluated) {
      staticEval = evaluate(s);
      evaluated = true;
    }

    // The polls of the moves made here, whose children may be capture searches that never poll:
    // a node limit is kept to the node.
    if (s.nodeCount >= s.nextPollAt && PollSearch(s)) return best;
    ++s.nodeCount;
    makeSearchMove(s, m);
    int score;
    if (kingAttackedAfter(pos, m, side)) {
      score = -INFINITE_SCORE;
    } else if (DrawTest(pos, 1)) {
      score = 0;
    } else {
      int x = e;
      r[1].reducedFlag = 0;
      if (e == 0) {
        if (passedPawnAdvance(pos, to, side)) {
          x = 1;
        } else if (evaluated && !isCastling(m) && !givesCheck(pos)) {
          int margin = futilityMargin(pos, m, depth);
          if (staticEval + margin < alpha) {
            // A pruned move never lowers what the moves searched before it reached.
            if (staticEval + margin > best) best = std::max(best, staticEval);
            r->cursor->score = int16_t(staticEval);
            unmakeMove(pos, m);
            continue;
          }
        }
      }
      if (x == 0) {
        bool late = depth > 2 && searched > 2;
        if (late && !inCheck && lowHistorySuccess(s.history, mover, to)) {
          x = -1;
          r[1].reducedFlag = 1;
        } else if (ply > 3 && depth > 1 && isRecapture(pos, m, previous)) {
          x = 1;
        }
      }
      ++searched;
      score = searchChild(s, r, depth, x, ply, alpha, beta, bound == BOUND_EXACT);
    }
    unmakeMove(pos, m);
    if (s.stopped()) return best;

    if (takeMoveScore(r, score, best, alpha, beta, bound)) {
      recordCutoff(s.history, pos, r, start, r->cursor, depth, true);
      storeTable(s, m, score, depth, BOUND_LOWER);
      return score;
    }
  }

  if (best == -INFINITE_SCORE) {
    if (inCheck) {
      storeTable(s, MARK_MATED, matedIn(ply), depth, BOUND_EXACT);
      return matedIn(ply);
    }
    storeTable(s, MARK_STALEMATE, 0, depth, BOUND_EXACT);
    return 0;
  }
  storeTable(s, r->bestMove, best, depth, bound);
  return best;
}

}  // namespace
