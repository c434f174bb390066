// Lookup tables built once at start-up, and the rotated-bitboard attack look-ups.
#pragma once
#include "board/position.h"
#include "board/types.h"

extern Bitboard KingAttacks[64];
extern Bitboard KnightAttacks[64];
extern Bitboard WhitePawnAttacks[64];  // squares a white pawn on sq attacks
extern Bitboard BlackPawnAttacks[64];  // squares a black pawn on sq attacks
extern Bitboard RankAttacks[64][256];
extern Bitboard FileAttacks[64][256];
extern Bitboard DiagA1H8Attacks[64][256];
extern Bitboard DiagA8H1Attacks[64][256];
extern uint8_t DiagShiftA1H8[64], DiagMaskA1H8[64];
extern uint8_t DiagShiftA8H1[64], DiagMaskA8H1[64];
extern Bitboard SquareMask[64];
extern Bitboard SquareMaskRot90[64], SquareMaskRotA1H8[64], SquareMaskRotA8H1[64];
extern Bitboard FileMaskExcl[64];
extern Bitboard AdjacentFiles[64];
extern Bitboard WhitePassedMask[64], BlackPassedMask[64];
extern Bitboard WhiteFrontSpan[64], BlackFrontSpan[64];
extern Bitboard QueenReach[64], RookReach[64], BishopReach[64];
extern uint8_t SquareDistance[64][64];  // king steps between two squares (the larger of rows and files)

void InitTables();

// Re-order a bitboard into the three rotated layouts.
Bitboard Rot90(Bitboard b);
Bitboard RotA1H8(Bitboard b);
Bitboard RotA8H1(Bitboard b);

// Squares from which a pawn of `attacker` colour attacks sq.
inline Bitboard pawnAttackersOf(int attacker, Square sq) {
  return attacker == WHITE ? BlackPawnAttacks[sq] : WhitePawnAttacks[sq];
}

// The highest-numbered square of a non-empty bitboard (its lowest bit).
inline Square BitScan(Bitboard b) { return 63 - __builtin_ctzll(b); }
// The number of squares of a bitboard. Without the popcnt instruction (a build for every x86-64)
// the compiler would call a library routine; these few operations are quicker.
inline int PopCount(Bitboard b) {
#ifdef __POPCNT__
  return __builtin_popcountll(b);
#else
  b -= (b >> 1) & 0x5555555555555555ULL;
  b = (b & 0x3333333333333333ULL) + ((b >> 2) & 0x3333333333333333ULL);
  b = (b + (b >> 4)) & 0x0F0F0F0F0F0F0F0FULL;
  return int((b * 0x0101010101010101ULL) >> 56);
#endif
}

inline Bitboard rankAttacks(Square sq, const Occupancy& occ) {
  return RankAttacks[sq][(occ.all >> (8 * (7 - rowOf(sq)))) & 0xFF];
}
inline Bitboard fileAttacks(Square sq, const Occupancy& occ) {
  return FileAttacks[sq][(occ.rot90 >> (8 * fileOf(sq))) & 0xFF];
}
inline Bitboard diagA1H8Attacks(Square sq, const Occupancy& occ) {
  return DiagA1H8Attacks[sq][(occ.rotA1H8 >> DiagShiftA1H8[sq]) & DiagMaskA1H8[sq]];
}
inline Bitboard diagA8H1Attacks(Square sq, const Occupancy& occ) {
  return DiagA8H1Attacks[sq][(occ.rotA8H1 >> DiagShiftA8H1[sq]) & DiagMaskA8H1[sq]];
}
inline Bitboard rookAttacks(Square sq, const Occupancy& occ) { return rankAttacks(sq, occ) | fileAttacks(sq, occ); }
inline Bitboard bishopAttacks(Square sq, const Occupancy& occ) {
  return diagA1H8Attacks(sq, occ) | diagA8H1Attacks(sq, occ);
}
inline Bitboard queenAttacks(Square sq, const Occupancy& occ) { return rookAttacks(sq, occ) | bishopAttacks(sq, occ); }
