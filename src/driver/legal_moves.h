// The legal moves of the working position, as the front ends need them.
#pragma once
#include "board/types.h"
#include "movegen/ply.h"

// Writes the legal moves in generation order into `out` (room for MAX_GENERATED_MOVES); returns
// how many there are.
int GenerateLegalMoves(Move* out);

// The legal move whose coordinate notation is `text`, or 0.
Move LegalMoveFromText(const char* text);
