// The chess the tables need: boards of at most five men, attacks, legal moves and the moves
// played backwards. Squares run from a1 = 0 to h8 = 63, as in the library's probe arguments.
#pragma once
#include <cstdint>

namespace egbb {

using Bitboard = uint64_t;

inline constexpr int WHITE = 0, BLACK = 1;
// Piece types in the order an ending lists them: strongest first. The king comes last.
enum PieceType : uint8_t { QUEEN, ROOK, BISHOP, KNIGHT, PAWN, KING };
inline constexpr int PIECE_TYPES = 5;  // the types besides the king
inline constexpr int MAX_MEN = 5;
inline constexpr int MAX_MOVES = 128;  // more than any five men can have

constexpr int fileOf(int square) { return square & 7; }
constexpr int rankOf(int square) { return square >> 3; }
constexpr Bitboard bit(int square) { return Bitboard(1) << square; }

struct Man {
  uint8_t colour, type, square;
};

// The two kings come first (white, then black), the other men after them.
struct Board {
  uint8_t side;   // the colour to move
  uint8_t count;  // men on the board, kings included
  Man men[MAX_MEN];

  Bitboard occupied() const;
};

// A move of men[man] to `to`, taking men[captured] (or -1) and promoting to `promotion` (KING: none).
struct Move {
  uint8_t man, to;
  int8_t captured;
  uint8_t promotion;
};

bool manAttacks(const Man& man, int target, Bitboard occupied);
bool squareAttacked(const Board& board, int square, int byColour);
bool inCheck(const Board& board, int colour);

// Distinct squares, no pawn on the first or last rank, the side not to move not in check.
bool isLegal(const Board& board);

// The legal moves of the side to move; returns their number.
int legalMoves(const Board& board, Move* out);

// The position after a move: the captured man removed (the others keep their order), the other side to move.
Board afterMove(const Board& board, const Move& move);

inline bool isDoublePush(const Board& board, const Move& move) {
  const Man& m = board.men[move.man];
  return m.type == PAWN && (move.to - m.square == 16 || m.square - move.to == 16);
}

// The positions after the side to move takes en passant the pawn on `pawnSquare`, which has just
// advanced two squares; returns their number (0 to 2).
int enPassantCaptures(const Board& board, int pawnSquare, Board* out);

// A position the board can have come from by a move that neither captured nor promoted.
struct Unmove {
  Board before;
  int8_t doublePush;  // the pawn's square on `board` when the move was a double step, else -1
};

// Every legal position one such move before `board` (the other side to move).
int unmoves(const Board& board, Unmove* out);

}  // namespace egbb
