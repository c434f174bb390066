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

void ToggleEpSquareKeys(Square ep) {
  pos.hashKey ^= ZobristKeys[EMPTY][ep];
  pos.pawnKey ^= uint32_t(ZobristKeys[EMPTY][ep]);
}

void SetSideToMove(int side) {
  if (side != pos.sideToMove && pos.epSquare) {
    ToggleEpSquareKeys(pos.epSquare);
    pos.epSquare = 0;
  }
  pos.sideToMove = side;
  SyncRootSnapshot();
}
