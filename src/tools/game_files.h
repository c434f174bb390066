// The engine's game files (binary records of result and moves) and position files (text lines of
// key, FEN, result and ply), and PGN output of stored games.
#pragma once
#include <cstddef>
#include <cstdint>
#include <iosfwd>

#include "tools/pgn_reader.h"

// Largest record: the header and 1023 moves, two bytes each.
inline constexpr int MAX_RECORD_BYTES = 2 + 2 * MAX_GAME_PLIES;

// Plies of a game whose starting positions go into a position file.
inline constexpr int POSITION_PLIES = 64;

enum class RecordStatus {
  OK,          // a well-formed record was read
  END,         // the file ended before the record began
  BAD_RESULT,  // result code 0
  TOO_LONG,    // 1024 plies or more
  CUT_SHORT,   // the file ended inside the record
};

// Reads the raw bytes of the next record (little-endian header, then the moves) into bytes,
// which has room for MAX_RECORD_BYTES; size is how many belong to the record.
RecordStatus readRawRecord(std::istream& in, uint8_t* bytes, size_t& size);

// The record's bytes as stored on file; returns their number.
size_t encodeGameRecord(const GameRecord& game, uint8_t* bytes);

// Reads one record into the game. False when the file ends before or inside the record; throws
// PgnError for a result code 0 or a ply count above 1023.
bool readGameRecord(std::istream& in, GameRecord& game);

// The number of well-formed records, or minus the 1-based number of the first bad one. The
// stream's position and state are restored.
int countGames(std::istream& in);

// The game as a Result tag line and a movetext line in coordinate notation.
void writePgnGame(std::ostream& out, const GameRecord& game);

// Writes the positions before plies 1 to min(N, 64) of the game, played from the position, which
// is the same afterwards. With 16 outputs the line goes to the one named by the
// key's first hexadecimal digit, with one output always to it. Throws PgnError for a stored move
// that is not legal where it stands.
void writePositionLines(Position& pos, const GameRecord& game, std::ostream* const* outputs, int outputCount);
