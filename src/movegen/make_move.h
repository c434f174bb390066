// Making and taking back moves. A move's take-back restores what the history entry of the ply it
// was played from holds; the board is changed by the add, clear and move steps alone.
#pragma once
#include "board/position.h"
#include "board/types.h"

// Raised by makeMove/unmakeMove for a type-3 word, after a report in "!error.err".
struct MoveError {};

void makeMove(Position& pos, Move m);
void unmakeMove(Position& pos, Move m);
void makeNullMove(Position& pos);
void unmakeNullMove(Position& pos);
