// FEN/EPD setup, FEN output and the board diagram.
#pragma once
#include "board/position.h"
#include "board/types.h"

// The EPD "bm" or "am" operation of the last setup, its move still as text (see tools/epd_move.h).
struct EpdOperation {
  char kind;      // 'b' best move, 'a' avoid move, 0 none
  char text[10];  // the move text, at most 9 characters
};

inline constexpr const char* START_FEN = "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq -";

// Sets up a position from FEN text, optionally followed by an EPD "bm" or "am" operation, which is
// handed back through epd when asked for. A refused text changes nothing.
bool SetupPosition(Position& pos, const char* text, EpdOperation* epd = nullptr);

// Writes placement, side, castling and en-passant fields; returns the terminating zero.
char* PositionToFen(const Position& pos, char* buffer);

// Prints the board diagram of a 64-square board on standard output.
void PrintBoard(const Piece* board);

// The same diagram in the log.
void LogBoard(const Piece* board);
