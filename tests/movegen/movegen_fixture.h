// Shared helpers of the move-generation tests: set-up, generation into a private buffer, and a
// field-by-field comparison of the whole position.
#pragma once
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "board/fen.h"
#include "board/move.h"
#include "board/position.h"
#include "movegen/attacks.h"
#include "movegen/generate.h"
#include "movegen/ply.h"

inline void setUpPosition(const char* fen) {
  ASSERT_TRUE(SetupPosition(fen)) << fen;
  plies.current = plies.records;
  plies.current->listEnd = moveStack;
}

enum class Generator { All, Captures, Evasions };

inline std::vector<MoveEntry> generated(Generator g) {
  static MoveEntry buffer[MAX_GENERATED_MOVES];
  CheckInfo info;
  computeCheckInfo(&info);
  MoveEntry* end = g == Generator::All        ? generateAll[pos.sideToMove](buffer)
                   : g == Generator::Captures ? generateCaptures[pos.sideToMove](buffer)
                                              : generateEvasions[pos.sideToMove](buffer, &info);
  return std::vector<MoveEntry>(buffer, end);
}

inline std::vector<Move> movesOf(const std::vector<MoveEntry>& entries) {
  std::vector<Move> moves;
  for (const MoveEntry& e : entries) moves.push_back(e.move);
  return moves;
}

inline std::string moveText(Move m) {
  char text[8];
  MoveToText(m, text);
  return text;
}

inline Move textMove(const char* text, int type) {
  return makeMoveWord(squareFromChars(text[0], text[1]), squareFromChars(text[2], text[3]), type);
}

// Every field of the position against a copy taken earlier, and the history up to its top (the
// move field of the top entry is written by make as the move played from it, so it is left out).
// The copy's historyTop still points into the live history.
inline void expectPositionAsBefore(const Position& a, const char* context) {
  SCOPED_TRACE(context);
  const Position& b = pos;
  EXPECT_EQ(a.occupied, b.occupied);
  EXPECT_EQ(a.occupiedRot90, b.occupiedRot90);
  EXPECT_EQ(a.occupiedRotA1H8, b.occupiedRotA1H8);
  EXPECT_EQ(a.occupiedRotA8H1, b.occupiedRotA8H1);
  for (int c = 0; c < 2; ++c) {
    EXPECT_EQ(a.colourPieces[c], b.colourPieces[c]);
    EXPECT_EQ(a.kingSquare[c], b.kingSquare[c]);
    EXPECT_EQ(a.rootKingSquare[c], b.rootKingSquare[c]);
    EXPECT_EQ(a.pieceMaterial[c], b.pieceMaterial[c]);
    EXPECT_EQ(a.pawnCount[c], b.pawnCount[c]);
  }
  for (int p = 1; p <= 10; ++p) EXPECT_EQ(a.pieceBB[p], b.pieceBB[p]) << "piece " << p;
  EXPECT_EQ(a.hashKey, b.hashKey);
  EXPECT_EQ(a.pawnKey, b.pawnKey);
  EXPECT_EQ(a.epSquare, b.epSquare);
  EXPECT_EQ(a.totalMaterial, b.totalMaterial);
  EXPECT_EQ(0, std::memcmp(a.board, b.board, 64));
  EXPECT_EQ(0, std::memcmp(a.rootBoard, b.rootBoard, 64));
  EXPECT_EQ(a.rootEpSquare, b.rootEpSquare);
  EXPECT_EQ(a.castleRights, b.castleRights);
  EXPECT_EQ(a.rootCastleRights, b.rootCastleRights);
  EXPECT_EQ(a.sideToMove, b.sideToMove);
  EXPECT_EQ(a.rootSideToMove, b.rootSideToMove);
  EXPECT_EQ(a.plyCount, b.plyCount);
  EXPECT_EQ(a.searchAge, b.searchAge);
  ASSERT_EQ(a.historyTop, b.historyTop);
  for (int i = 0; i <= b.historyTop - b.history; ++i) {
    EXPECT_EQ(a.history[i].key, b.history[i].key);
    EXPECT_EQ(a.history[i].reversibleCount, b.history[i].reversibleCount);
  }
}
