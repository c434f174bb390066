// Taking moves back: the game is replayed from its start, which must give back the very position,
// history stack and counters it had.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>

#include "board/fen.h"
#include "board/move.h"
#include "engine/game.h"

namespace {

void play(Game& game, std::initializer_list<const char*> moves) {
  for (const char* text : moves) {
    Move m = ParseCoordinateMove(game.position(), text);
    ASSERT_NE(m, 0) << text;
    ASSERT_TRUE(game.play(m)) << text;
  }
}

// Equal as a game position: every field and the history stack up to its top.
::testing::AssertionResult sameGame(const Position& a, const Position& b) {
  if (std::memcmp(&a.occ, &b.occ, sizeof a.occ) || std::memcmp(a.pieceBB, b.pieceBB, sizeof a.pieceBB) ||
      std::memcmp(a.colourPieces, b.colourPieces, sizeof a.colourPieces) || a.hashKey != b.hashKey ||
      a.pawnKey != b.pawnKey || a.epSquare != b.epSquare || a.totalMaterial != b.totalMaterial ||
      std::memcmp(a.board, b.board, sizeof a.board) || std::memcmp(a.kingSquare, b.kingSquare, 2) ||
      a.castleRights != b.castleRights || std::memcmp(a.pieceMaterial, b.pieceMaterial, 2) ||
      std::memcmp(a.pawnCount, b.pawnCount, 2) || a.sideToMove != b.sideToMove || a.plyCount != b.plyCount)
    return ::testing::AssertionFailure() << "the position or its counters differ";
  const long top = a.historyTop - a.history;
  if (top != b.historyTop - b.history) return ::testing::AssertionFailure() << "the history's top differs";
  for (long i = 0; i <= top; ++i) {
    const HistoryEntry &x = a.history[i], &y = b.history[i];
    if (x.key != y.key || x.pawnKey != y.pawnKey || x.reversibleCount != y.reversibleCount ||
        x.castleRights != y.castleRights || x.epSquare != y.epSquare || (i < top && x.move != y.move))
      return ::testing::AssertionFailure() << "history entry " << i << " differs";
  }
  return ::testing::AssertionSuccess();
}

TEST(GameLine, TakingBackRestoresPositionHistoryAndCounters) {
  Game game;
  ASSERT_TRUE(game.setUp(START_FEN));
  auto start = std::make_unique<Position>(game.position());
  // A capture, an en-passant capture, castling, and castling rights lost by a king move.
  play(game, {"e2e4", "d7d5", "e4d5", "c7c5", "d5c6", "b8c6", "g1f3", "e7e5"});
  auto middle = std::make_unique<Position>(game.position());
  play(game, {"f1b5", "g8f6", "e1g1", "e8e7", "b5c6", "b7c6"});
  EXPECT_EQ(game.moveCount(), 14);

  ASSERT_TRUE(game.takeBack(6));
  EXPECT_TRUE(sameGame(*middle, game.position()));
  EXPECT_EQ(game.moveCount(), 8);
  // The moves of the line are legal again.
  play(game, {"f1b5", "g8f6", "e1g1"});
  ASSERT_TRUE(game.takeBack(11));
  EXPECT_TRUE(sameGame(*start, game.position()));

  // More than the game holds: refused, nothing changed.
  EXPECT_FALSE(game.takeBack(1));
  EXPECT_TRUE(sameGame(*start, game.position()));
}

// A side to move set by hand starts the line anew: nothing before it can be taken back, and a
// double step's en-passant right goes with the side that could use it.
TEST(GameLine, ASideSetByHandStartsTheLine) {
  Game game;
  ASSERT_TRUE(game.setUp(START_FEN));
  play(game, {"e2e4"});
  game.setSideToMove(WHITE);
  EXPECT_EQ(game.position().epSquare, 0);
  Position fresh;
  ASSERT_TRUE(SetupPosition(fresh, "rnbqkbnr/pppppppp/8/8/4P3/8/PPPP1PPP/RNBQKBNR w KQkq -"));
  EXPECT_EQ(game.position().hashKey, fresh.hashKey);
  EXPECT_EQ(game.position().pawnKey, fresh.pawnKey);
  auto restarted = std::make_unique<Position>(game.position());
  play(game, {"d2d4"});
  ASSERT_TRUE(game.takeBack(1));
  EXPECT_TRUE(sameGame(*restarted, game.position()));
  EXPECT_FALSE(game.takeBack(1));
}

}  // namespace
