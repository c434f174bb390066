#include "board/position.h"

#include <cstring>

Position pos;

void SyncRootSnapshot() {
  pos.rootEpSquare = pos.epSquare;
  pos.rootCastleRights = pos.castleRights;
  pos.rootKingSquare[WHITE] = pos.kingSquare[WHITE];
  pos.rootKingSquare[BLACK] = pos.kingSquare[BLACK];
  std::memcpy(pos.rootBoard, pos.board, sizeof pos.board);
  pos.rootSideToMove = pos.sideToMove;
}
