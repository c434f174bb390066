// The search: iterative deepening over a root search, principal-variation alpha-beta below it,
// and a capture search at the horizon. Scores are centipawns for the side to move (board/score.h).
#pragma once
#include <cstdint>

#include "board/score.h"
#include "movegen/ply.h"

int16_t IterativeDeepening();
int16_t RootSearch(int alpha, int beta);
int16_t SearchNode(int depth, int ply, int alpha, int beta, int nullAllowed);
int16_t QuiesceNode(int qdepth, int ply, int alpha, int beta);

// A node's list starts where the nearest ancestor's list ends (an ancestor that has not generated
// yet, such as a node trying its null move, holds no room).
inline MoveEntry* listStart(const PlyRecord* r) {
  while (r != plies.records) {
    --r;
    if (r->listEnd) return r->listEnd;
  }
  return moveStack;
}
