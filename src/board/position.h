// A position: its bitboards, keys and counters, and the history of the game line that led to it.
// Every search thread has its own; the engine keeps the game's.
#pragma once
#include "board/types.h"

// What one ply of the line holds: the position reached there (its keys and the state that a move
// cannot give back by itself) and the move played from it, with the piece that move took.
// The occupied squares in the four layouts the sliding-attack look-ups read: plain, and turned so
// that files and both kinds of diagonal lie in consecutive bits.
struct Occupancy {
  Bitboard all;
  Bitboard rot90;
  Bitboard rotA1H8;
  Bitboard rotA8H1;
};

// One ply of the game or the search: what a take-back restores, and what the draw rules read.
struct HistoryEntry {
  HashKey key;               // key of the position at this ply
  uint32_t pawnKey;
  Move move;                 // move played from this position
  uint16_t reversibleCount;  // plies since the last capture, pawn move or castling
  uint16_t castleRights;
  uint8_t epSquare;
  Piece captured;  // by the move played from this position
  Occupancy occ;
};

inline constexpr int HISTORY_SIZE = 1024;
inline constexpr uint8_t NO_KING = 100;

struct Position {
  Occupancy occ;
  Bitboard colourPieces[2];
  Bitboard pieceBB[11];  // by piece code 1..10; kings have none
  HashKey hashKey;
  uint32_t pawnKey;
  uint8_t epSquare;  // square passed over by a double step, 0 = none
  uint8_t totalMaterial;
  Piece board[64];
  uint8_t kingSquare[2];
  uint16_t castleRights;
  uint8_t pieceMaterial[2];
  uint8_t pawnCount[2];
  int sideToMove;      // WHITE or BLACK
  uint16_t plyCount;   // 1 after setup, +1 per game move
  HistoryEntry* historyTop;
  HistoryEntry history[HISTORY_SIZE];

  Position() = default;
  // The history pointer belongs to the copy: a copy points into its own history.
  Position(const Position& other) { *this = other; }
  Position& operator=(const Position& other);
};

// Adds or removes an en-passant square's share of the position's keys.
void ToggleEpSquareKeys(Position& pos, Square ep);

// Whether everything the position keeps incrementally agrees with its board: checked after every
// make and take-back in builds with assertions. The hash key is not recomputed: castling and lost
// castling rights enter it by fixed constants that the board does not show.
bool PositionOk(const Position& pos);
