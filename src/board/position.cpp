#include "board/position.h"

#include <cstring>

#include "board/zobrist.h"

Position pos;

void SyncRootSnapshot() {
  pos.rootEpSquare = pos.epSquare;
  pos.rootCastleRights = pos.castleRights;
  pos.rootKingSquare[WHITE] = pos.kingSquare[WHITE];
  pos.rootKingSquare[BLACK] = pos.kingSquare[BLACK];
  std::memcpy(pos.rootBoard, pos.board, sizeof pos.board);
  pos.rootSideToMove = pos.sideToMove;
}

void SetSideToMove(int side) {
  if (side != pos.sideToMove && pos.epSquare) {
    pos.hashKey ^= ZobristKeys[EMPTY][pos.epSquare];
    pos.pawnKey ^= uint32_t(ZobristKeys[EMPTY][pos.epSquare]);
    pos.epSquare = 0;
  }
  pos.sideToMove = side;
  SyncRootSnapshot();
}
