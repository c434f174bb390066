// The three steps every change of the board is made of, and the occupancy a change touches.
// Setting a position up keeps keys and occupancy current with every step. Making a move keeps the
// keys with its steps and changes the occupancy once, by the squares the move empties and fills (a
// capture's square stays occupied); castling changes the key by a constant of its own. Taking a
// move back restores keys and occupancy from the history and skips both.
#pragma once
#include "board/position.h"
#include "board/tables.h"
#include "board/zobrist.h"

// Material units of each piece code for totalMaterial and pieceMaterial; kings count nothing.
inline constexpr uint8_t MaterialUnits[13] = {0, 1, 1, 3, 3, 3, 3, 5, 5, 9, 9, 0, 0};

inline bool isKing(Piece p) { return p >= WKING; }

enum class Derived {
  ALL,   // keys and occupancy
  KEYS,  // keys only: the caller changes the occupancy
  NONE,
};

namespace piece_steps {

template <Derived D>
inline void toggleOccupancy(Occupancy& occ, Square sq) {
  if constexpr (D != Derived::ALL) return;
  occ.all ^= SquareMask[sq];
  occ.rot90 ^= SquareMaskRot90[sq];
  occ.rotA1H8 ^= SquareMaskRotA1H8[sq];
  occ.rotA8H1 ^= SquareMaskRotA8H1[sq];
}

template <Derived D>
inline void toggleKeys(Position& pos, Piece p, Square sq) {
  if constexpr (D != Derived::NONE) {
    const HashKey key = ZobristKeys[p][sq];
    pos.hashKey ^= key;
    if (p <= BPAWN) pos.pawnKey ^= uint32_t(key);
  }
}

}  // namespace piece_steps

// A square a move empties or fills, in every occupancy layout.
inline void toggleOccupied(Position& pos, Square sq) { piece_steps::toggleOccupancy<Derived::ALL>(pos.occ, sq); }

template <Derived D = Derived::ALL>
inline void addPiece(Position& pos, Piece p, Square sq) {
  const Colour c = colourOf(p);
  pos.board[sq] = p;
  pos.colourPieces[c] |= SquareMask[sq];
  piece_steps::toggleOccupancy<D>(pos.occ, sq);
  piece_steps::toggleKeys<D>(pos, p, sq);
  if (isKing(p)) {
    pos.kingSquare[c] = uint8_t(sq);
    return;
  }
  pos.pieceBB[p] |= SquareMask[sq];
  pos.totalMaterial = uint8_t(pos.totalMaterial + MaterialUnits[p]);
  if (isPawn(p)) ++pos.pawnCount[c];
  else pos.pieceMaterial[c] = uint8_t(pos.pieceMaterial[c] + MaterialUnits[p]);
}

// Kings are never cleared: no move takes one.
template <Derived D = Derived::ALL>
inline void clearPiece(Position& pos, Square sq) {
  const Piece p = pos.board[sq];
  const Colour c = colourOf(p);
  pos.board[sq] = EMPTY;
  pos.colourPieces[c] ^= SquareMask[sq];
  piece_steps::toggleOccupancy<D>(pos.occ, sq);
  piece_steps::toggleKeys<D>(pos, p, sq);
  pos.pieceBB[p] ^= SquareMask[sq];
  pos.totalMaterial = uint8_t(pos.totalMaterial - MaterialUnits[p]);
  if (isPawn(p)) --pos.pawnCount[c];
  else pos.pieceMaterial[c] = uint8_t(pos.pieceMaterial[c] - MaterialUnits[p]);
}

template <Derived D = Derived::ALL>
inline void movePiece(Position& pos, Square from, Square to) {
  const Piece p = pos.board[from];
  const Colour c = colourOf(p);
  const Bitboard fromTo = SquareMask[from] | SquareMask[to];
  pos.board[to] = p;
  pos.board[from] = EMPTY;
  pos.colourPieces[c] ^= fromTo;
  piece_steps::toggleOccupancy<D>(pos.occ, from);
  piece_steps::toggleOccupancy<D>(pos.occ, to);
  piece_steps::toggleKeys<D>(pos, p, from);
  piece_steps::toggleKeys<D>(pos, p, to);
  if (isKing(p)) pos.kingSquare[c] = uint8_t(to);
  else pos.pieceBB[p] ^= fromTo;
}
