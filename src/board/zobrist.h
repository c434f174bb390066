// Zobrist keys: fixed in the program, since book and database files store positions by them.
#pragma once
#include <array>

#include "board/types.h"

// [piece code][square]; row 0 (EMPTY) holds the en-passant key of each square.
extern const std::array<std::array<HashKey, 64>, 13> ZobristKeys;
