// The pawn-structure term of the evaluation, through the pawn cache.
#pragma once

// White's pawn-structure score minus Black's: square values, passed, doubled and isolated pawns
// and pawn levers. Read from the pawn cache, or computed and stored there.
int PawnStructureScore();
