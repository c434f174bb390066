// Piece codes by colour and the bitboard constants the per-colour move code is written with.
#pragma once
#include "board/types.h"


inline constexpr Bitboard FILE_A_BB = 0x8080808080808080ULL;
inline constexpr Bitboard FILE_H_BB = 0x0101010101010101ULL;
inline constexpr Bitboard RANK_8_BB = 0xFF00000000000000ULL;  // squares 0-7
inline constexpr Bitboard RANK_1_BB = 0x00000000000000FFULL;  // squares 56-63

// Ordering value of the piece on a target square (both colours alike).
inline constexpr int16_t CaptureValue[13] = {0, 100, 100, 320, 320, 325, 325, 500, 500, 950, 950, 2000, 2000};
