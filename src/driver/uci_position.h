// The game position of a UCI front end, which sends the whole game before every search.
#pragma once
#include "driver/line_words.h"

// The initial position, as before any "position" command.
void StartUciGame();

// "position startpos|fen FEN [moves M...]". A game that goes on from the last one only plays its
// new moves (or takes back what differs), so the search keeps what it learned. A refused FEN
// leaves the position as it was; an illegal move ends the moves there. Either is reported.
void PositionCommand(LineWords& arguments);

// "ucinewgame": the next position starts a new game, with a fresh search memory.
void NewGameCommand(LineWords& arguments);
