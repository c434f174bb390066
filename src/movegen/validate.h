// Validation of moves from outside the generators, and playing moves into the game.
#pragma once
#include "board/types.h"

// Is the move playable in the current position, king safety aside?
bool isPseudoLegal(Move m);

// A real move (not a marker) that is pseudo-legal here and leaves the mover's king safe.
bool isLegalMove(Move m);

// The first legal move of the current position in generation order; 0 when there is none.
Move firstLegalMove();

// Plays a game move and updates the root snapshot.
// Throws MoveError after its report when the move is refused.
void MakeRealMove(Move m);

