// An ending: the men on the board besides the two kings, by colour and type. Each table holds
// one ending in one orientation, the stronger side as White; the other orientation is read
// from it with the colours swapped and the board turned upside down.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "core/chess.h"

namespace egbb {

struct Ending {
  uint8_t count[2][PIECE_TYPES] = {};

  // "KQKR": the white king and men, then the black king and men; false for anything else.
  static bool parse(const std::string& name, Ending& out);
  static Ending of(const Board& board);

  std::string name() const;
  int men() const;  // kings included
  bool hasPawns() const;
  uint32_t key() const;
  Ending flipped() const;
  // Whether tables hold this orientation: White has more men, or as many and the stronger ones.
  bool isStored() const;
  Ending stored() const { return isStored() ? *this : flipped(); }

  // The endings one capture or one promotion away, in their stored orientation.
  std::vector<Ending> successors() const;

  bool operator==(const Ending& other) const { return key() == other.key(); }
};

// Every ending of exactly `men` men (3 to 5) in its stored orientation, smaller pieces last.
std::vector<Ending> endingsWithMen(int men);

// The board with colours swapped and ranks mirrored (the same position seen from the other side).
Board flippedBoard(const Board& board);

// Puts the men after the kings in the order of the ending's name: White's, then Black's, by type.
void arrangeMen(Board& board);

}  // namespace egbb
