#include "board/position.h"

#include <algorithm>

#include "board/piece_steps.h"
#include "board/tables.h"
#include "board/zobrist.h"

Position& Position::operator=(const Position& other) {
  if (this == &other) return *this;
  const size_t used = size_t(other.historyTop - other.history) + 1;
  occ = other.occ;
  std::copy(other.colourPieces, other.colourPieces + 2, colourPieces);
  std::copy(other.pieceBB, other.pieceBB + 11, pieceBB);
  hashKey = other.hashKey;
  pawnKey = other.pawnKey;
  epSquare = other.epSquare;
  totalMaterial = other.totalMaterial;
  std::copy(other.board, other.board + 64, board);
  std::copy(other.kingSquare, other.kingSquare + 2, kingSquare);
  castleRights = other.castleRights;
  std::copy(other.pieceMaterial, other.pieceMaterial + 2, pieceMaterial);
  std::copy(other.pawnCount, other.pawnCount + 2, pawnCount);
  sideToMove = other.sideToMove;
  plyCount = other.plyCount;
  std::copy(other.history, other.history + used, history);
  historyTop = history + (used - 1);
  return *this;
}

void ToggleEpSquareKeys(Position& pos, Square ep) {
  pos.hashKey ^= ZobristKeys[EMPTY][ep];
  pos.pawnKey ^= uint32_t(ZobristKeys[EMPTY][ep]);
}

bool PositionOk(const Position& pos) {
  Position fresh;
  fresh.occ = {};
  std::fill(fresh.colourPieces, fresh.colourPieces + 2, 0);
  std::fill(fresh.pieceBB, fresh.pieceBB + 11, 0);
  fresh.hashKey = 0;
  fresh.pawnKey = 0;
  fresh.totalMaterial = 0;
  std::fill(fresh.board, fresh.board + 64, EMPTY);
  fresh.kingSquare[WHITE] = fresh.kingSquare[BLACK] = NO_KING;
  std::fill(fresh.pieceMaterial, fresh.pieceMaterial + 2, 0);
  std::fill(fresh.pawnCount, fresh.pawnCount + 2, 0);
  int kings[2] = {0, 0};
  for (Square sq = 0; sq < 64; ++sq) {
    const Piece p = pos.board[sq];
    if (p > BKING) return false;
    if (p == EMPTY) continue;
    if (isKing(p)) ++kings[colourOf(p)];
    addPiece(fresh, p, sq);
  }
  if (pos.epSquare) ToggleEpSquareKeys(fresh, pos.epSquare);
  const HistoryEntry& top = *pos.historyTop;
  return kings[WHITE] == 1 && kings[BLACK] == 1 && pos.occ.all == fresh.occ.all &&
         pos.occ.rot90 == fresh.occ.rot90 && pos.occ.rotA1H8 == fresh.occ.rotA1H8 &&
         pos.occ.rotA8H1 == fresh.occ.rotA8H1 && std::equal(pos.colourPieces, pos.colourPieces + 2, fresh.colourPieces) &&
         std::equal(pos.pieceBB + 1, pos.pieceBB + 11, fresh.pieceBB + 1) && pos.pawnKey == fresh.pawnKey &&
         pos.totalMaterial == fresh.totalMaterial && pos.kingSquare[WHITE] == fresh.kingSquare[WHITE] &&
         pos.kingSquare[BLACK] == fresh.kingSquare[BLACK] &&
         std::equal(pos.pieceMaterial, pos.pieceMaterial + 2, fresh.pieceMaterial) &&
         std::equal(pos.pawnCount, pos.pawnCount + 2, fresh.pawnCount) && top.key == pos.hashKey &&
         top.pawnKey == pos.pawnKey && top.castleRights == pos.castleRights && top.epSquare == pos.epSquare &&
         (pos.sideToMove == WHITE || pos.sideToMove == BLACK);
}
