// Check detection at a node and the king-safety test after a move.
#pragma once
#include "board/types.h"
#include "board/position.h"
#include "movegen/move_list.h"

// Fills checkers and the check lines for the side to move.
void computeCheckInfo(const Position& pos, CheckInfo* info);

// After makeMove: is the king of the colour that moved attacked (castling also tests the path)?
bool kingAttackedAfter(const Position& pos, Move m, int mover);

// For a castling move already made: origin or transit square attacked, or enemy king in the zone.
bool castlePathAttacked(const Position& pos, Move m);

