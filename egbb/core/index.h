// Numbering of an ending's positions for one side to move. Positions that are mirror images of
// each other share a number: without pawns the board has eight symmetries, which bring the white
// king into the triangle a1-d1-d4; with pawns only the mirror between the a- and h-files, which
// brings the white king onto files a to d. Men of one kind are interchangeable.
// The number is: king pair, then one digit per man (64 squares, or 48 for a pawn).
#pragma once
#include <cstdint>

#include "core/ending.h"

namespace egbb {

class Indexer {
 public:
  explicit Indexer(const Ending& ending);

  uint64_t size() const { return size_; }

  // The number of a board of this ending, in its stored orientation, men in the name's order;
  // size() when the kings stand side by side.
  uint64_t index(const Board& board) const;

  // The board a number stands for, men in the name's order; false when two men share a square.
  // A board that decodes is a canonical one only if index() gives the number back.
  bool decode(uint64_t number, int side, Board& board) const;

 private:
  void canonicalSquares(const Board& board, int transform, uint8_t* squares) const;

  bool pawns_;
  int count_;  // men, kings included
  Man men_[MAX_MEN];
  bool sameKind_[MAX_MEN] = {};  // the man is of the kind of the one before it
  uint64_t piecePlaces_;  // the number of ways to place the men besides the kings
  uint64_t size_;
};

}  // namespace egbb
