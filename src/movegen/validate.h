// Validation of moves from outside the generators, and playing moves into a game.
#pragma once
#include "board/position.h"
#include "board/types.h"

// Is the move playable in the position, king safety aside?
bool isPseudoLegal(const Position& pos, Move m);

// A real move (not a marker) that is pseudo-legal here and leaves the mover's king safe. The move
// is made and taken back to find out.
bool isLegalMove(Position& pos, Move m);

// The legal moves of the position in generation order; returns how many (out has room for
// MAX_GENERATED_MOVES).
int GenerateLegalMoves(Position& pos, Move* out);

// The first legal move of the position in generation order; 0 when there is none.
Move firstLegalMove(Position& pos);

// The legal move written exactly so in coordinate notation ("e7e8q", castling as the king's move);
// 0 when there is none.
Move LegalMoveFromText(Position& pos, const char* text);

// Plays a move into a game: it counts a ply, and a very long game keeps room in its history. False
// (and nothing changed) for a move that is not legal.
bool MakeRealMove(Position& pos, Move m);
