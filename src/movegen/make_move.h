// Making and unmaking moves on the one Position.
#pragma once
#include "board/types.h"
#include "movegen/ply.h"

// Raised by makeMove/unmakeMove for a type-3 word and by MakeRealMove for a refused move.
struct MoveError {};

// Stores the unmake snapshot of the current position into a ply record (done once per node).
void saveSnapshot(PlyRecord* ply);

void makeMove(Move m, PlyRecord* ply);
void unmakeMove(Move m, PlyRecord* ply);
void makeNullMove();
void unmakeNullMove();
