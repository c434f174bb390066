// The one working position, its root snapshot of the real game, and the game history.
#pragma once
#include "board/types.h"

struct HistoryEntry {
  HashKey key;               // key of the position at this ply
  Move move;                 // move played from this position
  uint16_t reversibleCount;  // plies since the last capture, pawn move or castling
};

inline constexpr int HISTORY_SIZE = 1024;
inline constexpr uint8_t NO_KING = 100;

struct Position {
  Bitboard occupied;
  Bitboard occupiedRot90;
  Bitboard occupiedRotA1H8;
  Bitboard occupiedRotA8H1;
  Bitboard colourPieces[2];
  Bitboard pieceBB[11];  // by piece code 1..10; kings have none
  HashKey hashKey;
  uint32_t pawnKey;
  Move epdAvoidMove;
  uint8_t epSquare;  // square passed over by a double step, 0 = none
  uint8_t totalMaterial;
  Piece board[64];
  Piece rootBoard[64];
  Move epdBestMove;
  uint8_t rootEpSquare;
  uint8_t kingSquare[2];
  uint8_t rootKingSquare[2];
  uint16_t castleRights;
  uint8_t pieceMaterial[2];
  uint8_t pawnCount[2];
  uint16_t rootCastleRights;
  int sideToMove;  // WHITE or BLACK
  int rootSideToMove;
  uint16_t plyCount;   // 1 after setup, +1 per game move
  uint16_t searchAge;  // age stamp of the transposition table
  HistoryEntry* historyTop;
  HistoryEntry history[HISTORY_SIZE];
};

extern Position pos;

// The working position becomes the real game position from which the front end's moves are read
// (after setup, a game move, and a pondered move the opponent has played).
void SyncRootSnapshot();

// Adds or removes an en-passant square's share of the position's keys.
void ToggleEpSquareKeys(Square ep);

// Puts a side on move by hand (not by a move). A double step's en-passant right belongs to the
// side that answers it, so it goes when the side changes: left in place, the other side's pawns
// would "capture" onto it.
void SetSideToMove(int side);
