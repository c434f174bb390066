// The engine's turn: book move or search, the move and any result claim, then pondering.
#pragma once

// The opening book is asked while the game has fewer plies than this.
inline constexpr int BOOK_PLIES = 64;

void think();

// Starts a search for the engine's own move; goodPonder counts time already spent pondering.
void StartEngine(bool goodPonder);

// The table's upkeep after a move has been chosen with a search of this depth: ages kept from
// overflowing, or depths flattened in a long ending.
void KeepTableBetweenMoves(int searchDepth);

// The "force" command: no more answers, any running search stops.
void StopEngine();

// Takes the pondered move back off the working position, if one is made.
void TakeBackPonderMove();

// The predicted move was played: it becomes part of the game.
void AcceptPonderedMove();

// The predicted move was played while the ponder search runs on: the game's counters take it now,
// the game's line and root snapshot once the search has returned.
void NotePonderedMovePlayed();
