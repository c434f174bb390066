#include "movegen/validate.h"

#include <cstring>
#include <initializer_list>

#include "board/move.h"
#include "board/position.h"
#include "board/tables.h"
#include "movegen/attacks.h"
#include "movegen/generate.h"
#include "movegen/make_move.h"

namespace {

// When fewer history entries than this are free after a game move, the oldest are dropped so
// that a search line of full depth still fits above the top.
constexpr int MIN_FREE_HISTORY = 256;
constexpr int KEPT_HISTORY = 512;

inline bool adjacentFiles(Square a, Square b) {
  int d = fileOf(a) - fileOf(b);
  return d == 1 || d == -1;
}

bool pawnMoveValid(const Position& pos, Square f, Square t, int type, int s) {
  const Piece* board = pos.board;
  const int push = s == WHITE ? -8 : 8;
  const bool lastRank = s == WHITE ? t <= H8 : t >= A1;
  const bool diagonal = (t - f == push - 1 || t - f == push + 1) && adjacentFiles(f, t);
  const bool enemyOnTarget = board[t] != EMPTY && colourOf(board[t]) != s;
  switch (type) {
    case QUIET: {
      if (lastRank || board[t] != EMPTY) return false;
      if (t - f == push) return true;
      const bool doubleRank = s == WHITE ? rowOf(t) == 4 : rowOf(t) == 3;
      return t - f == 2 * push && doubleRank && board[t - push] == EMPTY;
    }
    case CAPTURE:
      return !lastRank && diagonal && enemyOnTarget;
    case EN_PASSANT:
      return pos.epSquare && t == pos.epSquare && board[t] == EMPTY && diagonal;
    case PROMO_Q: case PROMO_N: case PROMO_R: case PROMO_B:
      return lastRank && t - f == push && board[t] == EMPTY;
    case CAPTURE_PROMO_Q: case CAPTURE_PROMO_N: case CAPTURE_PROMO_R: case CAPTURE_PROMO_B:
      return lastRank && diagonal && enemyOnTarget;
    default:
      return false;
  }
}

bool castlingValid(const Position& pos, Move m, int s) {
  struct Rule {
    Square from, to;
    Bitboard between;
    uint16_t right;
  };
  auto mask = [](std::initializer_list<Square> list) {
    Bitboard b = 0;
    for (Square sq : list) b |= SquareMask[sq];
    return b;
  };
  const Rule rules[4] = {{E8, G8, mask({F8, G8}), BLACK_SHORT},
                         {E1, G1, mask({F1, G1}), WHITE_SHORT},
                         {E8, C8, mask({B8, C8, D8}), BLACK_LONG},
                         {E1, C1, mask({B1, C1, D1}), WHITE_LONG}};
  const Rule& r = rules[moveType(m) - BLACK_CASTLE_SHORT];
  if ((moveType(m) & 1) != s) return false;
  return moveFrom(m) == r.from && moveTo(m) == r.to && pos.kingSquare[s] == r.from &&
         pos.board[r.from] == pieceOf(s, WKING) && !(pos.occ.all & r.between) && (pos.castleRights & r.right);
}

// A game far longer than the history keeps only its newest entries.
void keepHistoryRoom(Position& pos) {
  HistoryEntry* top = pos.historyTop;
  if (pos.history + HISTORY_SIZE - 1 - top >= MIN_FREE_HISTORY) return;
  HistoryEntry* firstKept = top - (KEPT_HISTORY - 1);
  std::memmove(pos.history, firstKept, sizeof(HistoryEntry) * KEPT_HISTORY);
  pos.historyTop = pos.history + KEPT_HISTORY - 1;
}

}  // namespace

bool isPseudoLegal(const Position& pos, Move m) {
  const int s = pos.sideToMove;
  const Square f = moveFrom(m), t = moveTo(m);
  const int type = moveType(m);
  const Piece p = pos.board[f];
  if (p == EMPTY || colourOf(p) != s) return false;
  if (t == pos.kingSquare[WHITE] || t == pos.kingSquare[BLACK]) return false;

  if (isPawn(p)) return pawnMoveValid(pos, f, t, type, s);
  if (type != QUIET && type != CAPTURE) {
    if (!(p == WKING || p == BKING) || !isCastling(m)) return false;
    return !(KingAttacks[pos.kingSquare[s ^ 1]] & SquareMask[t]) && castlingValid(pos, m, s);
  }

  Bitboard targets;
  switch (p) {
    case WKNIGHT: case BKNIGHT: targets = KnightAttacks[f]; break;
    case WBISHOP: case BBISHOP: targets = bishopAttacks(f, pos.occ); break;
    case WROOK: case BROOK: targets = rookAttacks(f, pos.occ); break;
    case WQUEEN: case BQUEEN: targets = queenAttacks(f, pos.occ); break;
    default:
      if (f != pos.kingSquare[s] || (KingAttacks[pos.kingSquare[s ^ 1]] & SquareMask[t])) return false;
      targets = KingAttacks[f];
      break;
  }
  if (!(targets & SquareMask[t])) return false;
  return type == QUIET ? pos.board[t] == EMPTY : (pos.colourPieces[s ^ 1] & SquareMask[t]) != 0;
}

bool isLegalMove(Position& pos, Move m) {
  if (m == MOVE_NONE || moveType(m) == MARKER || !isPseudoLegal(pos, m)) return false;
  const int mover = pos.sideToMove;
  makeMove(pos, m);
  bool legal = !kingAttackedAfter(pos, m, mover);
  unmakeMove(pos, m);
  return legal;
}

int GenerateLegalMoves(Position& pos, Move* out) {
  MoveEntry list[MAX_GENERATED_MOVES];
  CheckInfo info;
  computeCheckInfo(pos, &info);
  MoveEntry* end = generateMoves(pos, list, &info);
  int count = 0;
  for (MoveEntry* e = list; e < end; ++e)
    if (isLegalMove(pos, e->move)) out[count++] = e->move;
  return count;
}

Move firstLegalMove(Position& pos) {
  Move moves[MAX_GENERATED_MOVES];
  return GenerateLegalMoves(pos, moves) ? moves[0] : Move(MOVE_NONE);
}

Move LegalMoveFromText(Position& pos, const char* text) {
  Move moves[MAX_GENERATED_MOVES];
  const int count = GenerateLegalMoves(pos, moves);
  char written[8];
  for (int i = 0; i < count; ++i) {
    MoveToText(moves[i], written);
    if (std::strcmp(written, text) == 0) return moves[i];
  }
  return MOVE_NONE;
}

bool MakeRealMove(Position& pos, Move m) {
  // A move that leaves the mover's own king attacked is refused too, with the position as it was.
  if (!isLegalMove(pos, m)) return false;
  makeMove(pos, m);
  ++pos.plyCount;
  keepHistoryRoom(pos);
  return true;
}
