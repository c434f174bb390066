// A pondered move that the opponent plays becomes part of the game: the front end's next moves are
// read against the position after it.
#include <gtest/gtest.h>

#include "board/fen.h"
#include "board/move.h"
#include "board/position.h"
#include "driver/engine_state.h"
#include "driver/game_flow.h"
#include "movegen/make_move.h"

TEST(PonderedMove, AcceptedMoveBecomesTheRootPosition) {
  ASSERT_TRUE(SetupPosition("rnbqkbnr/pppppppp/8/8/4P3/8/PPPP1PPP/RNBQKBNR b KQkq -"));
  plies.current = plies.records;
  // The engine, White, ponders on Black's d7d5: the move is made on the working position only.
  PlyRecord ponderRecord;
  Move pondered = ParseCoordinateMove("d7d5");
  saveSnapshot(&ponderRecord);
  makeMove(pondered, &ponderRecord);
  driver.ponderMove = pondered;
  EXPECT_EQ(moveType(ParseCoordinateMove("e4d5")), QUIET);  // still read against the game before d7d5

  AcceptPonderedMove();
  EXPECT_EQ(driver.ponderMove, MOVE_NONE);
  EXPECT_EQ(pos.plyCount, 2);
  EXPECT_EQ(pos.searchAge, 2);
  EXPECT_EQ(pos.rootSideToMove, WHITE);
  EXPECT_EQ(pos.rootEpSquare, D6);
  EXPECT_EQ(moveType(ParseCoordinateMove("e4d5")), CAPTURE);
}
