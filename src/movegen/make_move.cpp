#include "movegen/make_move.h"

#include <cassert>
#include <cstdio>
#include <initializer_list>

#include "board/fen.h"
#include "board/move.h"
#include "board/piece_steps.h"
#include "movegen/validate.h"

namespace {

// Castling keys are fixed constants of their own: book and database files hold keys built with them.
inline HashKey castleKey(uint16_t right) {
  switch (right) {
    case WHITE_SHORT: return 0xCED259CCB5DBD866ULL;
    case WHITE_LONG: return 0xB6EB38B5736CA771ULL;
    case BLACK_SHORT: return 0x30417CFC9915AA11ULL;
    default: return 0x6F3F36E2868BB94AULL;
  }
}

// Indexed by castling type - 12: e8g8, e1g1, e8c8, e1c1. A castling move changes the key by its
// own constant, not by the keys of the king's and the rook's squares.
constexpr HashKey CastleMoveKey[4] = {0x22692CDAAF02389CULL, 0x9FF1351D4A1C52C3ULL, 0x07013B34D7483F81ULL,
                                      0xFEADFA9358A94FA6ULL};

struct CastleSquares {
  Square kingFrom, kingTo, rookFrom, rookTo;
};
constexpr CastleSquares Castles[4] = {{E8, G8, H8, F8}, {E1, G1, H1, F1}, {E8, C8, A8, D8}, {E1, C1, A1, D1}};

// The right lost when a rook leaves, or a piece is captured on, a corner.
constexpr uint16_t cornerRight(Square sq) {
  return sq == A8 ? BLACK_LONG : sq == H8 ? BLACK_SHORT : sq == A1 ? WHITE_LONG : sq == H1 ? WHITE_SHORT : 0;
}

inline void loseRights(Position& pos, uint16_t rights) {
  for (uint16_t lost = pos.castleRights & rights; lost; lost &= lost - 1) {
    const uint16_t right = lost & -lost;
    pos.hashKey ^= castleKey(right);
  }
  pos.castleRights &= ~rights;
}

inline uint16_t sideRights(int side) { return side == WHITE ? WHITE_SHORT | WHITE_LONG : BLACK_SHORT | BLACK_LONG; }

// Promotion types 4..7 and 8..11 both map to queen, knight, rook, bishop.
inline Piece promotedPiece(int type, int side) {
  static constexpr Piece whiteCodes[4] = {WQUEEN, WKNIGHT, WROOK, WBISHOP};
  return pieceOf(side, whiteCodes[type & 3]);
}

// A moved king or rook gives up the rights it carried.
inline void updateRightsAfterMove(Position& pos, Piece mover, Square from, int side) {
  if (!pos.castleRights) return;
  if (isKing(mover)) loseRights(pos, sideRights(side));
  else if (mover == WROOK || mover == BROOK) loseRights(pos, cornerRight(from));
}

[[noreturn]] void reportMarkerWord(const Position& pos, Move m, bool inMake) {
  if (FILE* err = std::fopen("!error.err", "a")) {
    std::fprintf(err, "\n MV_NOT_VALID%s: %d; from=%d; to=%d; type=%d\n", inMake ? "" : " 2", m, moveFrom(m),
                 moveTo(m), moveType(m));
    if (inMake) std::fprintf(err, "islegal? : %s\n", isPseudoLegal(pos, m) ? "legal" : "illegal");
    std::fclose(err);
  }
  if (inMake) PrintBoard(pos.board);
  throw MoveError{};
}

// The ply just reached takes its place in the history with the state a take-back restores.
inline void pushHistory(Position& pos, uint16_t reversible) {
  HistoryEntry* top = ++pos.historyTop;
  top->key = pos.hashKey;
  top->pawnKey = pos.pawnKey;
  top->reversibleCount = reversible;
  top->castleRights = pos.castleRights;
  top->epSquare = pos.epSquare;
  top->occ = pos.occ;
}

inline void restoreFromHistory(Position& pos) {
  const HistoryEntry* top = --pos.historyTop;
  pos.hashKey = top->key;
  pos.pawnKey = top->pawnKey;
  pos.castleRights = top->castleRights;
  pos.epSquare = top->epSquare;
  pos.occ = top->occ;
}

}  // namespace

void makeMove(Position& pos, Move m) {
  const int type = moveType(m);
  if (type == MARKER) reportMarkerWord(pos, m, true);  // before anything of the position changes
  const int s = pos.sideToMove, o = s ^ 1;
  const Square f = moveFrom(m), t = moveTo(m);

  HistoryEntry* previous = pos.historyTop;
  previous->move = m;
  Piece captured = EMPTY;
  uint16_t reversible = 0;

  if (pos.epSquare) {
    ToggleEpSquareKeys(pos, pos.epSquare);
    pos.epSquare = 0;
  }

  switch (type) {
    case QUIET: {
      const Piece mover = pos.board[f];
      movePiece<Derived::KEYS>(pos, f, t);
      toggleOccupied(pos, f);
      toggleOccupied(pos, t);
      if (isPawn(mover)) {
        if (f - t == 16 || t - f == 16) {
          pos.epSquare = uint8_t((f + t) / 2);
          ToggleEpSquareKeys(pos, pos.epSquare);
        }
      } else {
        reversible = uint16_t(previous->reversibleCount + 1);
        updateRightsAfterMove(pos, mover, f, s);
      }
      break;
    }
    case CAPTURE: {
      const Piece mover = pos.board[f];
      captured = pos.board[t];
      clearPiece<Derived::KEYS>(pos, t);
      if (pos.castleRights) loseRights(pos, cornerRight(t));
      movePiece<Derived::KEYS>(pos, f, t);
      toggleOccupied(pos, f);
      updateRightsAfterMove(pos, mover, f, s);
      break;
    }
    case EN_PASSANT: {
      const Square x = s == WHITE ? t + 8 : t - 8;
      captured = pos.board[x];
      clearPiece<Derived::KEYS>(pos, x);
      movePiece<Derived::KEYS>(pos, f, t);
      toggleOccupied(pos, x);
      toggleOccupied(pos, f);
      toggleOccupied(pos, t);
      break;
    }
    case PROMO_Q: case PROMO_N: case PROMO_R: case PROMO_B:
    case CAPTURE_PROMO_Q: case CAPTURE_PROMO_N: case CAPTURE_PROMO_R: case CAPTURE_PROMO_B:
      if (type >= CAPTURE_PROMO_Q) {
        captured = pos.board[t];
        clearPiece<Derived::KEYS>(pos, t);
        if (pos.castleRights) loseRights(pos, cornerRight(t));
      } else {
        toggleOccupied(pos, t);
      }
      clearPiece<Derived::KEYS>(pos, f);
      addPiece<Derived::KEYS>(pos, promotedPiece(type, s), t);
      toggleOccupied(pos, f);
      break;
    default: {  // castling, 12..15
      const CastleSquares& c = Castles[type - BLACK_CASTLE_SHORT];
      loseRights(pos, sideRights(s));
      pos.hashKey ^= CastleMoveKey[type - BLACK_CASTLE_SHORT];
      movePiece<Derived::NONE>(pos, c.kingFrom, c.kingTo);
      movePiece<Derived::NONE>(pos, c.rookFrom, c.rookTo);
      for (Square sq : {c.kingFrom, c.kingTo, c.rookFrom, c.rookTo}) toggleOccupied(pos, sq);
      break;
    }
  }

  previous->captured = captured;
  pushHistory(pos, reversible);
  pos.sideToMove = o;
  assert(PositionOk(pos));
}

void unmakeMove(Position& pos, Move m) {
  const int type = moveType(m);
  if (type == MARKER) reportMarkerWord(pos, m, false);
  const int s = pos.sideToMove ^ 1;
  const Square f = moveFrom(m), t = moveTo(m);
  const Piece captured = pos.historyTop[-1].captured;

  switch (type) {
    case QUIET:
      movePiece<Derived::NONE>(pos, t, f);
      break;
    case CAPTURE:
      movePiece<Derived::NONE>(pos, t, f);
      addPiece<Derived::NONE>(pos, captured, t);
      break;
    case EN_PASSANT:
      movePiece<Derived::NONE>(pos, t, f);
      addPiece<Derived::NONE>(pos, captured, s == WHITE ? t + 8 : t - 8);
      break;
    case PROMO_Q: case PROMO_N: case PROMO_R: case PROMO_B:
    case CAPTURE_PROMO_Q: case CAPTURE_PROMO_N: case CAPTURE_PROMO_R: case CAPTURE_PROMO_B:
      clearPiece<Derived::NONE>(pos, t);
      addPiece<Derived::NONE>(pos, pieceOf(s, WPAWN), f);
      if (type >= CAPTURE_PROMO_Q) addPiece<Derived::NONE>(pos, captured, t);
      break;
    default: {
      const CastleSquares& c = Castles[type - BLACK_CASTLE_SHORT];
      movePiece<Derived::NONE>(pos, c.kingTo, c.kingFrom);
      movePiece<Derived::NONE>(pos, c.rookTo, c.rookFrom);
      break;
    }
  }
  restoreFromHistory(pos);
  pos.sideToMove = s;
  assert(PositionOk(pos));
}

void makeNullMove(Position& pos) {
  HistoryEntry* previous = pos.historyTop;
  previous->move = NULL_MOVE;
  previous->captured = EMPTY;
  if (pos.epSquare) {
    ToggleEpSquareKeys(pos, pos.epSquare);
    pos.epSquare = 0;
  }
  pushHistory(pos, uint16_t(previous->reversibleCount + 1));
  pos.sideToMove ^= 1;
  assert(PositionOk(pos));
}

void unmakeNullMove(Position& pos) {
  restoreFromHistory(pos);
  pos.sideToMove ^= 1;
  assert(PositionOk(pos));
}
