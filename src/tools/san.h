// Reading moves written in standard algebraic notation (and plain square pairs) in a position.
#pragma once
#include "board/position.h"
#include "board/types.h"

// The move a SAN text names in the position, or 0 when the text cannot be read, names
// no suitable piece or is ambiguous. Only the first 9 characters count; the decorations x + # ! ? = -
// are ignored, castling may be written with O or 0, and square pairs (e2e4, Ng1f3, e7e8q) are read
// too. The position is left as it was. The move is not fully checked: callers validate it.
Move parseSanMove(Position& pos, const char* text);

// Square-pair notation: four characters and an optional promotion letter.
Move parseSquarePair(Position& pos, const char* text);

// The one piece of the side to move named by the letter (K N B R Q, or a pawn's from-file a-h)
// that goes to the target from within fromMask; 0 when there is none or more than one.
Move findPieceMove(Position& pos, char pieceLetter, Square target, Bitboard fromMask);
