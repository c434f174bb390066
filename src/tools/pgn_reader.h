// Reading PGN games into game records, validating every move on the working position.
#pragma once
#include <cstdint>
#include <iosfwd>

#include "board/position.h"
#include "board/types.h"

inline constexpr int MAX_GAME_PLIES = 1023;

// Header bits 14 and 15: the result code; bits 0 to 13: the number of plies.
enum : uint16_t {
  RESULT_NONE = 0, RESULT_BLACK_WINS = 0x4000, RESULT_WHITE_WINS = 0x8000, RESULT_DRAW = 0xC000,
  RESULT_MASK = 0xC000, PLY_MASK = 0x3FFF,
};

// One game, as read from PGN or from a game file.
struct GameRecord {
  char token[11];      // the move text being read
  char resultText[8];  // "1-0", "0-1", "1/2-1/2", "*" or empty
  char resultChar;     // 'W', 'B', 'D', '*', or '?' while no result is known
  uint16_t header;     // result code and ply count
  Move moves[MAX_GAME_PLIES];
};

inline int gamePlies(const GameRecord& game) { return game.header & PLY_MASK; }

// Raised when a PGN file cannot be read on; carries the message the converters report.
struct PgnError {
  const char* message;
};

// Fills the result text from 'W', 'B' or 'D'; any other character leaves it empty with '?'.
void setResult(char resultChar, GameRecord& game);

// Reads the tag section and takes the result from the Result tag. False when the stream is
// exhausted or failed. Throws PgnError for a missing or unknown Result tag.
bool readPgnTags(std::istream& in, GameRecord& game);

// Reads one game, its moves validated on the position: the result bits for a decided game with
// moves; 0 for a rejected game, a game without moves or one ended "*" (reading can go on with the
// next game). The position, set up to the initial position by the caller, is the same afterwards,
// also when PgnError is thrown.
uint16_t readPgnGame(std::istream& in, Position& pos, GameRecord& game);

// Reads one move text into game.token and parses it in the position.
Move readMoveToken(std::istream& in, Position& pos, GameRecord& game);
