// Taking moves back: the game is replayed from its start, which must give back the very position,
// history stack and counters it had.
#include <gtest/gtest.h>

#include <cstddef>
#include <cstring>
#include <memory>

#include "board/fen.h"
#include "board/move.h"
#include "board/position.h"
#include "driver/game_position.h"
#include "movegen/ply.h"

namespace {

void play(std::initializer_list<const char*> moves) {
  for (const char* text : moves) {
    Move m = ParseCoordinateMove(text);
    ASSERT_NE(m, 0) << text;
    PlayGameMove(m);
  }
}

// Equal as a game position: every field, the history stack up to its top; the table's age stamp
// only ever grows and is left out.
::testing::AssertionResult sameGame(const Position& before, const Position& now) {
  if (std::memcmp(&before, &now, offsetof(Position, searchAge)) != 0)
    return ::testing::AssertionFailure() << "the position or its counters differ";
  if (before.historyTop != now.historyTop) return ::testing::AssertionFailure() << "the history's top differs";
  size_t entries = size_t(now.historyTop - now.history + 1);
  if (std::memcmp(before.history, now.history, entries * sizeof(HistoryEntry)) != 0)
    return ::testing::AssertionFailure() << "the history differs";
  return ::testing::AssertionSuccess();
}

TEST(GameLine, TakingBackRestoresPositionHistoryAndCounters) {
  plies.current = plies.records;
  ASSERT_TRUE(SetupGamePosition(START_FEN));
  auto start = std::make_unique<Position>(pos);
  // A capture, an en-passant capture, castling, and castling rights lost by a king move.
  play({"e2e4", "d7d5", "e4d5", "c7c5", "d5c6", "b8c6", "g1f3", "e7e5"});
  auto middle = std::make_unique<Position>(pos);
  const uint16_t age = pos.searchAge;
  play({"f1b5", "g8f6", "e1g1", "e8e7", "b5c6", "b7c6"});
  EXPECT_EQ(gameLine.moveCount, 14);

  ASSERT_TRUE(TakeBackGameMoves(6));
  EXPECT_TRUE(sameGame(*middle, pos));
  EXPECT_GE(pos.searchAge, age);
  EXPECT_EQ(gameLine.moveCount, 8);
  // Root snapshot included: the moves of the line are legal again.
  play({"f1b5", "g8f6", "e1g1"});
  ASSERT_TRUE(TakeBackGameMoves(11));
  EXPECT_TRUE(sameGame(*start, pos));

  // More than the game holds: refused, nothing changed.
  EXPECT_FALSE(TakeBackGameMoves(1));
  EXPECT_TRUE(sameGame(*start, pos));
}

// A side to move set by hand starts the line anew: nothing before it can be taken back.
TEST(GameLine, ASideSetByHandStartsTheLine) {
  plies.current = plies.records;
  ASSERT_TRUE(SetupGamePosition(START_FEN));
  play({"e2e4"});
  pos.sideToMove = pos.rootSideToMove = WHITE;
  RestartGameLine();
  auto restarted = std::make_unique<Position>(pos);
  play({"d2d4"});
  ASSERT_TRUE(TakeBackGameMoves(1));
  EXPECT_EQ(std::memcmp(restarted->board, pos.board, sizeof pos.board), 0);
  EXPECT_EQ(pos.sideToMove, WHITE);
  EXPECT_FALSE(TakeBackGameMoves(1));
}

}  // namespace
