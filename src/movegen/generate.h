// Pseudo-legal move generators, one instance per colour, reached by the side to move.
#pragma once
#include "board/position.h"
#include "board/types.h"
#include "movegen/move_list.h"

using GenerateFn = MoveEntry* (*)(const Position& pos, MoveEntry* out);
using EvasionFn = MoveEntry* (*)(const Position& pos, MoveEntry* out, const CheckInfo* info);

extern const GenerateFn generateAll[2];
extern const GenerateFn generateCaptures[2];
extern const EvasionFn generateEvasions[2];

// Every pseudo-legal move of the side to move: the evasions when in check (info's checkers
// computed for the current position), else all moves.
inline MoveEntry* generateMoves(const Position& pos, MoveEntry* out, const CheckInfo* info) {
  return info->checkers ? generateEvasions[pos.sideToMove](pos, out, info) : generateAll[pos.sideToMove](pos, out);
}

