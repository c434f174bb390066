// The game's own steps around setup and move validation: a new game position or a game move
// also clears what the search learned about the old one, and the game's moves are kept so that
// they can be taken back exactly.
#pragma once
#include "board/fen.h"
#include "board/types.h"

// Room for the moves of any game; a longer one starts its line anew where the room ran out.
inline constexpr int GAME_LINE_MOVES = 4096;
// Room for a FEN written by PositionToFen.
inline constexpr int GAME_FEN_SIZE = 128;

// The game as played since its start position: taking moves back replays it from there, which
// restores the position, its history stack and its counters exactly.
struct GameLine {
  char startFen[GAME_FEN_SIZE];  // empty until a position has been set up
  EpdOperation startEpd;         // the start position's EPD move, when it could be read
  int moveCount;
  Move moves[GAME_LINE_MOVES];
};

extern GameLine gameLine;

// Sets up a position from FEN or EPD text for a new game: the search memory is cleared and an
// EPD move resolved. False for a refused text (nothing changed) or an unreadable EPD move.
bool SetupGamePosition(const char* text);

// Plays a move into the game and resets the history tables; throws MoveError after its report
// when the move is refused.
void PlayGameMove(Move m);

// A move that is already on the board (the pondered move the opponent played) joins the game;
// called outside a search, when the board holds the game position.
void RecordGameMove(Move m);

// Takes the last `count` moves of the game back; false (and nothing changed) when the game has
// fewer.
bool TakeBackGameMoves(int count);

// The position as it stands becomes the start of the game's line (its side to move was set by
// hand); the moves before cannot be taken back.
void RestartGameLine();
