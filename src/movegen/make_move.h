// Making and unmaking moves on the one Position.
#pragma once
#include "board/types.h"
#include "movegen/ply.h"

// Raised by makeMove/unmakeMove for a type-3 word and by MakeRealMove for a refused move.
struct MoveError {};

// What the engine was doing when a type-3 word reached makeMove, for the report in "!error.err":
// its search depth and the move it was pondering on. Installed by the engine; 0 without it.
struct MarkerMoveContext {
  unsigned (*searchDepth)();
  Move (*ponderMove)();
};
extern MarkerMoveContext markerMoveContext;

// Stores the unmake snapshot of the current position into a ply record (done once per node).
void saveSnapshot(PlyRecord* ply);

void makeMove(Move m, PlyRecord* ply);
void unmakeMove(Move m, PlyRecord* ply);
void makeNullMove();
void unmakeNullMove();
