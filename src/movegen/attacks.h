// Check detection at a node and the king-safety test after a move.
#pragma once
#include "board/types.h"
#include "movegen/ply.h"

// Fills checkers and the check lines for the side to move.
void computeCheckInfo(CheckInfo* info);

// After makeMove: is the king of the colour that moved attacked (castling also tests the path)?
bool kingAttackedAfter(Move m, int mover);

// For a castling move already made: origin or transit square attacked, or enemy king in the zone.
bool castlePathAttacked(Move m);

