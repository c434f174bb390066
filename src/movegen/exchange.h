// Ordering scores of captures, by exchange on the target square.
#pragma once
#include <cstdint>

#include "board/position.h"
#include "board/types.h"

// Ordering value of the piece on a target square (both colours alike).
inline constexpr int16_t CaptureValue[13] = {0, 100, 100, 320, 320, 325, 325, 500, 500, 950, 950, 2000, 2000};

// Ordering score of a move by `mover` from `from` to `to` by the exchange it starts there: winning
// or even exchanges land near -9500 plus the gain, losing ones near -30000. rookLike and
// bishopLike are the sliders of both colours that move that way.
int16_t staticExchange(const Position& pos, Piece mover, Square from, Square to, Bitboard rookLike, Bitboard bishopLike);
