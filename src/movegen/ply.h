// Per-ply state: generated move lists on one stack, and one record per search ply.
#pragma once
#include "board/types.h"

struct MoveEntry {
  int16_t score;  // ordering score, higher first
  Move move;
};

struct CheckInfo {
  Bitboard checkers;         // enemy pieces attacking the king of the side to move
  Bitboard rookCheckLine;    // rank and file attacks from the king; 0 when no rook-wise check
  Bitboard bishopCheckLine;  // diagonal attacks from the king
};

inline constexpr int PLY_STACK_SIZE = 136;

// No position can produce more pseudo-legal moves than this: 63 non-king pieces, none with more
// than 27 targets. Sizing every ply's room by it means no list can run past the stack's end.
inline constexpr int MAX_GENERATED_MOVES = 63 * 27 + 8 + 2;
inline constexpr int MOVE_STACK_SIZE = PLY_STACK_SIZE * MAX_GENERATED_MOVES;

extern MoveEntry moveStack[MOVE_STACK_SIZE];

struct PlyRecord : CheckInfo {
  // Snapshot stored by the caller at node entry; unmakeMove restores from it.
  Bitboard savedOccupied;
  Bitboard savedColourPieces;  // of the side to move
  Bitboard savedPieceBB;       // written by makeMove: pieceBB of the moving piece
  Bitboard savedRot90;
  Bitboard savedRotA1H8;
  Bitboard savedRotA8H1;
  HashKey savedHashKey;
  uint32_t savedPawnKey;
  MoveEntry* cursor;   // entry being tried
  MoveEntry* listEnd;  // one past this ply's list; the next ply's list starts here
  // Search fields.
  Move hashMove;
  int16_t hashScore;
  uint8_t hashDepth;
  uint8_t hashBound;
  Move killer1;
  Move killer2;
  Move bestMove;
  uint8_t reducedFlag;
  uint16_t savedCastleRights;
  uint8_t savedEpSquare;
  uint8_t capturedPiece;
  int8_t materialDelta;  // change of totalMaterial; across a null move the opponent's king square
};

struct PlyStack {
  PlyRecord records[PLY_STACK_SIZE];
  PlyRecord* current;  // currentPly
};

extern PlyStack plies;

// A node's list starts where the nearest ancestor's list ends (an ancestor that has not generated
// yet, such as a node trying its null move, holds no room).
inline MoveEntry* listStart(const PlyRecord* r) {
  while (r != plies.records) {
    --r;
    if (r->listEnd) return r->listEnd;
  }
  return moveStack;
}

// Clears both killers of every record.
void ClearKillers();
