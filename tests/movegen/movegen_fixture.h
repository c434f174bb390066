// Shared helpers of the move-generation tests: generation into a private buffer, move texts, and
// a field-by-field comparison of two positions with their histories.
#pragma once
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "board/fen.h"
#include "board/move.h"
#include "board/position.h"
#include "movegen/attacks.h"
#include "movegen/generate.h"

enum class Generator { All, Captures, Evasions };

inline std::vector<MoveEntry> generated(const Position& pos, Generator g) {
  MoveEntry buffer[MAX_GENERATED_MOVES];
  CheckInfo info;
  computeCheckInfo(pos, &info);
  MoveEntry* end = g == Generator::All        ? generateAll[pos.sideToMove](pos, buffer)
                   : g == Generator::Captures ? generateCaptures[pos.sideToMove](pos, buffer)
                                              : generateEvasions[pos.sideToMove](pos, buffer, &info);
  return std::vector<MoveEntry>(buffer, end);
}

// What a node generates: the evasions in check, else all moves.
inline std::vector<Move> nodeMoves(const Position& pos) {
  CheckInfo info;
  computeCheckInfo(pos, &info);
  std::vector<Move> moves;
  for (const MoveEntry& e : generated(pos, info.checkers ? Generator::Evasions : Generator::All))
    moves.push_back(e.move);
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

// Every field of a position against a copy taken earlier, and the history up to its top. The move
// played from the top and the piece it took are written there by make, so those two fields of the
// top entry are left out.
inline void expectPositionAsBefore(const Position& before, const Position& now, const std::string& context) {
  SCOPED_TRACE(context);
  const Position& a = before;
  const Position& b = now;
  EXPECT_EQ(a.occ.all, b.occ.all);
  EXPECT_EQ(a.occ.rot90, b.occ.rot90);
  EXPECT_EQ(a.occ.rotA1H8, b.occ.rotA1H8);
  EXPECT_EQ(a.occ.rotA8H1, b.occ.rotA8H1);
  for (int c = 0; c < 2; ++c) {
    EXPECT_EQ(a.colourPieces[c], b.colourPieces[c]);
    EXPECT_EQ(a.kingSquare[c], b.kingSquare[c]);
    EXPECT_EQ(a.pieceMaterial[c], b.pieceMaterial[c]);
    EXPECT_EQ(a.pawnCount[c], b.pawnCount[c]);
  }
  for (int p = 1; p <= 10; ++p) EXPECT_EQ(a.pieceBB[p], b.pieceBB[p]) << "piece " << p;
  EXPECT_EQ(a.hashKey, b.hashKey);
  EXPECT_EQ(a.pawnKey, b.pawnKey);
  EXPECT_EQ(a.epSquare, b.epSquare);
  EXPECT_EQ(a.totalMaterial, b.totalMaterial);
  EXPECT_EQ(0, std::memcmp(a.board, b.board, 64));
  EXPECT_EQ(a.castleRights, b.castleRights);
  EXPECT_EQ(a.sideToMove, b.sideToMove);
  EXPECT_EQ(a.plyCount, b.plyCount);
  const long top = a.historyTop - a.history;
  ASSERT_EQ(top, b.historyTop - b.history);
  for (long i = 0; i <= top; ++i) {
    SCOPED_TRACE("history entry " + std::to_string(i));
    const HistoryEntry &x = a.history[i], &y = b.history[i];
    EXPECT_EQ(x.key, y.key);
    EXPECT_EQ(x.pawnKey, y.pawnKey);
    EXPECT_EQ(x.reversibleCount, y.reversibleCount);
    EXPECT_EQ(x.castleRights, y.castleRights);
    EXPECT_EQ(x.epSquare, y.epSquare);
    if (i < top) {
      EXPECT_EQ(x.move, y.move);
      EXPECT_EQ(x.captured, y.captured);
    }
  }
}
