// One record per ply of a search line: the node's move list, what the table said of it, its
// killers and its choice.
#pragma once
#include "board/score.h"
#include "board/types.h"
#include "movegen/move_list.h"

struct PlyRecord : CheckInfo {
  MoveEntry* cursor;   // entry being tried
  MoveEntry* listEnd;  // one past this ply's list; the next ply's list starts here
  Move hashMove;
  int16_t hashScore;
  uint8_t hashDepth;
  uint8_t hashBound;
  Move killer1;
  Move killer2;
  Move bestMove;
  uint8_t reducedFlag;
};

// Every ply's list has room for the most moves any position has, so no list can run past the
// stack's end.
inline constexpr int MOVE_STACK_SIZE = PLY_STACK_SIZE * MAX_GENERATED_MOVES;
