// Basic chess types shared by every subsystem.
#pragma once
#include <cstdint>

using Bitboard = uint64_t;  // square sq is bit 63 - sq (a8 is the top bit, h1 bit 0)
using HashKey = uint64_t;   // Zobrist key; carries no side-to-move component
using Square = int;         // 0 = a8 ... 7 = h8, 56 = a1 ... 63 = h1
using Piece = uint8_t;      // 0 empty, odd white, even black
using Move = uint16_t;      // bits 0-5 to, 6-11 from, 12-15 type

enum Colour : int { BLACK = 0, WHITE = 1 };

enum : Piece {
  EMPTY = 0,
  WPAWN = 1, BPAWN = 2,
  WKNIGHT = 3, BKNIGHT = 4,
  WBISHOP = 5, BBISHOP = 6,
  WROOK = 7, BROOK = 8,
  WQUEEN = 9, BQUEEN = 10,
  WKING = 11, BKING = 12,
};

inline constexpr char PieceLetters[] = ".PpNnBbRrQqKk";

// Material units of each piece code, used to keep totalMaterial current.
inline constexpr uint8_t PieceValue[13] = {100, 1, 1, 3, 3, 3, 3, 5, 5, 9, 9, 150, 200};

// Edge files and ranks as bitboards.
inline constexpr Bitboard FILE_A_BB = 0x8080808080808080ULL;
inline constexpr Bitboard FILE_H_BB = 0x0101010101010101ULL;
inline constexpr Bitboard RANK_8_BB = 0xFF00000000000000ULL;  // squares 0-7
inline constexpr Bitboard RANK_1_BB = 0x00000000000000FFULL;  // squares 56-63

// Castling-right bits of castleRights.
enum : uint16_t {
  WHITE_SHORT = 1, WHITE_LONG = 2, BLACK_SHORT = 8, BLACK_LONG = 0x10,
};

inline constexpr int fileOf(Square sq) { return sq & 7; }
inline constexpr int rowOf(Square sq) { return sq >> 3; }  // 0 = 8th rank
inline constexpr Colour colourOf(Piece p) { return Colour(p & 1); }
inline constexpr bool isPawn(Piece p) { return p != EMPTY && p <= BPAWN; }
// The code of a piece kind for a colour, given the white code (white odd, black one above).
inline constexpr Piece pieceOf(int colour, Piece whiteCode) { return Piece(whiteCode + (colour == BLACK)); }

// Square number from a file letter and a rank digit, in 8-bit arithmetic as the notation requires
// (a1 gives 56); callers check the characters before trusting the result.
inline constexpr Square squareFromChars(char file, char rank) {
  return uint8_t(file - 8 * rank + 95);
}

// Named squares used by castling and the tests.
enum : Square {
  A8 = 0, B8, C8, D8, E8, F8, G8, H8,
  A7, B7, C7, D7, E7, F7, G7, H7,
  A6, B6, C6, D6, E6, F6, G6, H6,
  A5, B5, C5, D5, E5, F5, G5, H5,
  A4, B4, C4, D4, E4, F4, G4, H4,
  A3, B3, C3, D3, E3, F3, G3, H3,
  A2, B2, C2, D2, E2, F2, G2, H2,
  A1, B1, C1, D1, E1, F1, G1, H1,
};
