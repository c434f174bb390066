// The game's own steps around setup and move validation: a new game position or a game move
// also clears what the search learned about the old one.
#pragma once
#include "board/types.h"

// Sets up a position from FEN or EPD text for a new game: the search memory is cleared and an
// EPD move resolved. False for a refused text (nothing changed) or an unreadable EPD move.
bool SetupGamePosition(const char* text);

// Plays a move into the game and resets the history tables; throws MoveError after its report
// when the move is refused.
void PlayGameMove(Move m);
