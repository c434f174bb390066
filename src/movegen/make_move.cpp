#include "movegen/make_move.h"

#include <cstdio>
#include <initializer_list>

#include "board/fen.h"
#include "board/move.h"
#include "board/position.h"
#include "board/tables.h"
#include "board/zobrist.h"
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

// Indexed by castling type - 12: e8g8, e1g1, e8c8, e1c1.
constexpr HashKey CastleMoveKey[4] = {0x22692CDAAF02389CULL, 0x9FF1351D4A1C52C3ULL, 0x07013B34D7483F81ULL,
                                      0xFEADFA9358A94FA6ULL};

struct CastleSquares {
  Square kingFrom, kingTo, rookFrom, rookTo;
  uint16_t right, otherRight;
};
constexpr CastleSquares Castles[4] = {
    {E8, G8, H8, F8, BLACK_SHORT, BLACK_LONG},
    {E1, G1, H1, F1, WHITE_SHORT, WHITE_LONG},
    {E8, C8, A8, D8, BLACK_LONG, BLACK_SHORT},
    {E1, C1, A1, D1, WHITE_LONG, WHITE_SHORT},
};

// The right lost when a rook leaves, or a piece is captured on, a corner.
constexpr uint16_t cornerRight(Square sq) {
  return sq == A8 ? BLACK_LONG : sq == H8 ? BLACK_SHORT : sq == A1 ? WHITE_LONG : sq == H1 ? WHITE_SHORT : 0;
}

inline void loseRight(uint16_t right) {
  if (pos.castleRights & right) {
    pos.castleRights &= ~right;
    pos.hashKey ^= castleKey(right);
  }
}

// hashKey, and pawnKey as well for pawns and en-passant keys.
inline void toggleKeys(Piece p, Square sq) {
  HashKey key = ZobristKeys[p][sq];
  pos.hashKey ^= key;
  if (p <= BPAWN) pos.pawnKey ^= uint32_t(key);
}

inline void toggleRotated(Square sq) {
  pos.occupiedRot90 ^= SquareMaskRot90[sq];
  pos.occupiedRotA1H8 ^= SquareMaskRotA1H8[sq];
  pos.occupiedRotA8H1 ^= SquareMaskRotA8H1[sq];
}
inline void addRotated(Square sq) {
  pos.occupiedRot90 |= SquareMaskRot90[sq];
  pos.occupiedRotA1H8 |= SquareMaskRotA1H8[sq];
  pos.occupiedRotA8H1 |= SquareMaskRotA8H1[sq];
}

// Promotion types 4..7 and 8..11 both map to queen, knight, rook, bishop.
inline Piece promotedPiece(int type, int side) {
  static constexpr Piece whiteCodes[4] = {WQUEEN, WKNIGHT, WROOK, WBISHOP};
  return pieceOf(side, whiteCodes[type & 3]);
}

// The piece on f goes to t (quiet move or capture, the victim already removed). Returns the new
// reversible count: `reversible` unless a pawn moved.
inline uint16_t movePiece(Square f, Square t, int s, PlyRecord* ply, uint16_t reversible) {
  const Bitboard fromTo = SquareMask[f] | SquareMask[t];
  toggleRotated(f);
  Piece p = pos.board[f];
  switch (p) {
    case WPAWN: case BPAWN:
      reversible = 0;
      ply->savedPieceBB = pos.pieceBB[p];
      pos.pieceBB[p] ^= fromTo;
      if (f - t == 16 || t - f == 16) {
        pos.epSquare = uint8_t((f + t) / 2);
        toggleKeys(EMPTY, pos.epSquare);
      }
      toggleKeys(p, f);
      toggleKeys(p, t);
      break;
    case WKING: case BKING:
      pos.kingSquare[s] = uint8_t(t);
      pos.hashKey ^= ZobristKeys[p][f] ^ ZobristKeys[p][t];
      if (pos.castleRights) {
        loseRight(s == WHITE ? WHITE_SHORT : BLACK_SHORT);
        loseRight(s == WHITE ? WHITE_LONG : BLACK_LONG);
      }
      break;
    default:
      ply->savedPieceBB = pos.pieceBB[p];
      pos.pieceBB[p] ^= fromTo;
      pos.hashKey ^= ZobristKeys[p][f] ^ ZobristKeys[p][t];
      if ((p == WROOK || p == BROOK) && pos.castleRights) loseRight(cornerRight(f));
      break;
  }
  pos.board[t] = p;
  pos.board[f] = EMPTY;
  pos.colourPieces[s] ^= fromTo;
  pos.occupied = pos.colourPieces[WHITE] | pos.colourPieces[BLACK];
  return reversible;
}

// Takes the enemy piece c off sq: its bitboards, keys and material. The occupancy forms are left
// to the caller, since a capturing piece usually takes the square.
inline void removeCaptured(Piece c, Square sq, int o) {
  pos.pieceBB[c] ^= SquareMask[sq];
  pos.colourPieces[o] ^= SquareMask[sq];
  toggleKeys(c, sq);
  pos.totalMaterial = uint8_t(pos.totalMaterial - PieceValue[c]);
  if (isPawn(c)) --pos.pawnCount[o];
  else pos.pieceMaterial[o] = uint8_t(pos.pieceMaterial[o] - PieceValue[c]);
}

[[noreturn]] void reportMarkerWord(Move m, bool inMake) {
  if (FILE* err = std::fopen("!error.err", "a")) {
    std::fprintf(err, "\n MV_NOT_VALID%s: %d; from=%d; to=%d; type=%d\n", inMake ? "" : " 2", m, moveFrom(m),
                 moveTo(m), moveType(m));
    if (inMake) {
      Move p = markerMoveContext.ponderMove ? markerMoveContext.ponderMove() : 0;
      unsigned depth = markerMoveContext.searchDepth ? markerMoveContext.searchDepth() : 0;
      std::fprintf(err, "current depth:%u\n", depth);
      std::fprintf(err, "islegal? : %s\n", isPseudoLegal(m) ? "legal" : "illegal");
      std::fprintf(err, "ponder move:%d; from=%d; to=%d; type=%d\n", p, moveFrom(p), moveTo(p), moveType(p));
    }
    std::fclose(err);
  }
  if (inMake) PrintBoard(pos.board);
  throw MoveError{};
}

}  // namespace

MarkerMoveContext markerMoveContext;

void saveSnapshot(PlyRecord* ply) {
  ply->savedOccupied = pos.occupied;
  ply->savedColourPieces = pos.colourPieces[pos.sideToMove];
  ply->savedRot90 = pos.occupiedRot90;
  ply->savedRotA1H8 = pos.occupiedRotA1H8;
  ply->savedRotA8H1 = pos.occupiedRotA8H1;
  ply->savedHashKey = pos.hashKey;
  ply->savedPawnKey = pos.pawnKey;
  ply->savedCastleRights = pos.castleRights;
  ply->savedEpSquare = pos.epSquare;
}

void makeMove(Move m, PlyRecord* ply) {
  const int type = moveType(m);
  if (type == MARKER) reportMarkerWord(m, true);  // before anything of the position changes
  const int s = pos.sideToMove, o = s ^ 1;
  const Square f = moveFrom(m), t = moveTo(m);
  const Bitboard fromTo = SquareMask[f] | SquareMask[t];

  HistoryEntry* previous = pos.historyTop;
  previous->move = m;
  HistoryEntry* top = ++pos.historyTop;
  uint16_t reversible = 0;

  if (pos.epSquare) {
    toggleKeys(EMPTY, pos.epSquare);
    pos.epSquare = 0;
  }

  switch (type) {
    case QUIET:
      addRotated(t);
      reversible = movePiece(f, t, s, ply, uint16_t(previous->reversibleCount + 1));
      break;
    case CAPTURE: {
      Piece c = pos.board[t];
      ply->capturedPiece = c;
      ply->materialDelta = int8_t(-PieceValue[c]);
      removeCaptured(c, t, o);
      if (pos.castleRights) loseRight(cornerRight(t));
      movePiece(f, t, s, ply, 0);
      break;
    }
    case EN_PASSANT: {
      Square x = s == WHITE ? t + 8 : t - 8;
      Piece mover = pos.board[f], c = pos.board[x];
      ply->savedPieceBB = pos.pieceBB[mover];
      ply->capturedPiece = c;
      removeCaptured(c, x, o);
      pos.board[t] = mover;
      pos.board[f] = pos.board[x] = EMPTY;
      toggleKeys(mover, f);
      toggleKeys(mover, t);
      pos.pieceBB[mover] ^= fromTo;
      pos.colourPieces[s] ^= fromTo;
      pos.occupied = pos.colourPieces[WHITE] | pos.colourPieces[BLACK];
      toggleRotated(f);
      toggleRotated(t);
      toggleRotated(x);
      break;
    }
    case PROMO_Q: case PROMO_N: case PROMO_R: case PROMO_B:
    case CAPTURE_PROMO_Q: case CAPTURE_PROMO_N: case CAPTURE_PROMO_R: case CAPTURE_PROMO_B: {
      Piece n = promotedPiece(type, s), pawn = pieceOf(s, WPAWN);
      pos.pieceMaterial[s] = uint8_t(pos.pieceMaterial[s] + PieceValue[n]);
      int delta = PieceValue[n] - 1;
      if (type >= CAPTURE_PROMO_Q) {
        Piece c = pos.board[t];
        ply->capturedPiece = c;
        if (pos.castleRights) loseRight(cornerRight(t));
        delta -= PieceValue[c];
        removeCaptured(c, t, o);
      } else {
        addRotated(t);
      }
      ply->materialDelta = int8_t(delta);
      pos.totalMaterial = uint8_t(pos.totalMaterial + PieceValue[n] - 1);
      toggleRotated(f);
      ply->savedPieceBB = pos.pieceBB[pawn];
      pos.board[f] = EMPTY;
      pos.board[t] = n;
      toggleKeys(pawn, f);
      pos.hashKey ^= ZobristKeys[n][t];
      pos.pieceBB[n] |= SquareMask[t];
      --pos.pawnCount[s];
      pos.pieceBB[pawn] ^= SquareMask[f];
      pos.colourPieces[s] ^= fromTo;
      pos.occupied = pos.colourPieces[WHITE] | pos.colourPieces[BLACK];
      break;
    }
    default: {  // castling, 12..15
      const CastleSquares& c = Castles[type - BLACK_CASTLE_SHORT];
      loseRight(c.right);
      loseRight(c.otherRight);
      pos.hashKey ^= CastleMoveKey[type - BLACK_CASTLE_SHORT];
      pos.kingSquare[s] = uint8_t(c.kingTo);
      Bitboard rookPath = SquareMask[c.rookFrom] | SquareMask[c.rookTo];
      pos.pieceBB[pieceOf(s, WROOK)] ^= rookPath;
      pos.colourPieces[s] ^= fromTo | rookPath;
      pos.occupied ^= fromTo | rookPath;
      for (Square sq : {c.kingFrom, c.kingTo, c.rookFrom, c.rookTo}) toggleRotated(sq);
      pos.board[c.kingTo] = pos.board[c.kingFrom];
      pos.board[c.rookTo] = pos.board[c.rookFrom];
      pos.board[c.kingFrom] = pos.board[c.rookFrom] = EMPTY;
      break;
    }
  }

  top->key = pos.hashKey;
  top->reversibleCount = reversible;
  pos.sideToMove = o;
}

void unmakeMove(Move m, PlyRecord* ply) {
  const int type = moveType(m);
  if (type == MARKER) reportMarkerWord(m, false);
  const int o = pos.sideToMove, s = o ^ 1;
  const Square f = moveFrom(m), t = moveTo(m);

  pos.occupiedRot90 = ply->savedRot90;
  pos.occupiedRotA1H8 = ply->savedRotA1H8;
  pos.occupiedRotA8H1 = ply->savedRotA8H1;
  pos.occupied = ply->savedOccupied;
  pos.colourPieces[s] = ply->savedColourPieces;
  pos.hashKey = ply->savedHashKey;
  pos.epSquare = ply->savedEpSquare;
  pos.pawnKey = ply->savedPawnKey;

  switch (type) {
    case QUIET:
    case CAPTURE: {
      pos.castleRights = ply->savedCastleRights;
      Piece restored = EMPTY;
      if (type == CAPTURE) {
        Piece c = ply->capturedPiece;
        pos.totalMaterial = uint8_t(pos.totalMaterial - ply->materialDelta);
        if (c <= BPAWN) ++pos.pawnCount[o];
        else pos.pieceMaterial[o] = uint8_t(pos.pieceMaterial[o] - ply->materialDelta);
        pos.pieceBB[c] |= SquareMask[t];
        pos.colourPieces[o] |= SquareMask[t];
        restored = c;
      }
      if (t == pos.kingSquare[s]) pos.kingSquare[s] = uint8_t(f);
      else pos.pieceBB[pos.board[t]] = ply->savedPieceBB;
      pos.board[f] = pos.board[t];
      pos.board[t] = restored;
      break;
    }
    case EN_PASSANT: {
      Square x = s == WHITE ? t + 8 : t - 8;
      ++pos.totalMaterial;
      pos.board[f] = pos.board[t];
      pos.board[t] = EMPTY;
      ++pos.pawnCount[o];
      Piece c = ply->capturedPiece;
      pos.board[x] = c;
      pos.colourPieces[o] |= SquareMask[x];
      pos.pieceBB[c] |= SquareMask[x];
      pos.pieceBB[pos.board[f]] = ply->savedPieceBB;
      break;
    }
    case PROMO_Q: case PROMO_N: case PROMO_R: case PROMO_B: {
      Piece pawn = pieceOf(s, WPAWN);
      pos.pieceMaterial[s] = uint8_t(pos.pieceMaterial[s] - (ply->materialDelta + 1));
      pos.totalMaterial = uint8_t(pos.totalMaterial - ply->materialDelta);
      pos.board[f] = pawn;
      pos.pieceBB[pawn] = ply->savedPieceBB;
      pos.pieceBB[pos.board[t]] ^= SquareMask[t];
      ++pos.pawnCount[s];
      pos.board[t] = EMPTY;
      break;
    }
    case CAPTURE_PROMO_Q: case CAPTURE_PROMO_N: case CAPTURE_PROMO_R: case CAPTURE_PROMO_B: {
      Piece pawn = pieceOf(s, WPAWN), c = ply->capturedPiece, n = pos.board[t];
      pos.castleRights = ply->savedCastleRights;
      pos.totalMaterial = uint8_t(pos.totalMaterial - ply->materialDelta);
      ++pos.pawnCount[s];
      pos.board[f] = pawn;
      pos.pieceBB[pawn] = ply->savedPieceBB;
      pos.pieceBB[c] |= SquareMask[t];
      pos.pieceBB[n] ^= SquareMask[t];
      pos.colourPieces[o] |= SquareMask[t];
      pos.pieceMaterial[s] = uint8_t(pos.pieceMaterial[s] - PieceValue[n]);
      pos.pieceMaterial[o] = uint8_t(pos.pieceMaterial[o] + PieceValue[c]);
      pos.board[t] = c;
      break;
    }
    default: {
      const CastleSquares& c = Castles[type - BLACK_CASTLE_SHORT];
      pos.castleRights = ply->savedCastleRights;
      pos.kingSquare[s] = uint8_t(c.kingFrom);
      pos.pieceBB[pieceOf(s, WROOK)] ^= SquareMask[c.rookFrom] | SquareMask[c.rookTo];
      pos.board[c.kingFrom] = pos.board[c.kingTo];
      pos.board[c.rookFrom] = pos.board[c.rookTo];
      pos.board[c.kingTo] = pos.board[c.rookTo] = EMPTY;
      break;
    }
  }
  pos.sideToMove = s;
  --pos.historyTop;
}

void makeNullMove() {
  PlyRecord* ply = plies.current;
  const int o = pos.sideToMove ^ 1;
  HistoryEntry* previous = pos.historyTop;
  previous->move = NULL_MOVE;
  HistoryEntry* top = ++pos.historyTop;
  top->reversibleCount = uint16_t(previous->reversibleCount + 1);
  ply->savedHashKey = pos.hashKey;
  ply->savedPawnKey = pos.pawnKey;
  ply->savedEpSquare = pos.epSquare;
  if (pos.epSquare) {
    toggleKeys(EMPTY, pos.epSquare);
    pos.epSquare = 0;
  }
  ply->materialDelta = int8_t(pos.kingSquare[o]);
  ply->savedCastleRights = pos.castleRights;
  top->key = pos.hashKey;
  pos.sideToMove = o;
}

void unmakeNullMove() {
  const PlyRecord* ply = plies.current;
  --pos.historyTop;
  pos.sideToMove ^= 1;
  pos.kingSquare[pos.sideToMove ^ 1] = uint8_t(ply->materialDelta);
  pos.castleRights = ply->savedCastleRights;
  pos.epSquare = ply->savedEpSquare;
  pos.pawnKey = ply->savedPawnKey;
  pos.hashKey = ply->savedHashKey;
}
