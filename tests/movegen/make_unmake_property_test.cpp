// Make and take-back over many random positions: after every move the position's incremental
// state agrees with its board and its keys are those a fresh setup of it gives (where the path
// does not enter the key), and after the take-back the position is exactly as before.
#include <random>
#include <string>

#include "movegen/make_move.h"
#include "movegen/validate.h"
#include "movegen_fixture.h"
#include "support/random_position.h"

namespace {

constexpr int GAME_PLIES = 40;

// The position of the FEN text that describes pos, set up afresh.
void freshSetup(const Position& pos, Position& fresh) {
  char fen[128];
  PositionToFen(pos, fen);
  ASSERT_TRUE(SetupPosition(fresh, fen)) << fen;
}

// Makes and takes back every generated move of the position. keyedLikeSetup: the position's keys
// are those of a fresh setup (no castling and no lost right on the way to it), so that after a
// move that neither castles nor loses a right they must be so again.
void checkEveryMove(Position& pos, bool keyedLikeSetup) {
  const int side = pos.sideToMove;
  const Position before = pos;
  for (Move m : nodeMoves(pos)) {
    const std::string text = moveText(m);
    makeMove(pos, m);
    ASSERT_TRUE(PositionOk(pos)) << "after " << text;
    if (!kingAttackedAfter(pos, m, side)) {
      Position fresh;
      freshSetup(pos, fresh);
      EXPECT_EQ(pos.castleRights, fresh.castleRights) << text;
      EXPECT_EQ(pos.epSquare, fresh.epSquare) << text;
      if (keyedLikeSetup && !isCastling(m) && pos.castleRights == before.castleRights) {
        EXPECT_EQ(pos.hashKey, fresh.hashKey) << text;
        EXPECT_EQ(pos.pawnKey, fresh.pawnKey) << text;
      }
    }
    unmakeMove(pos, m);
    ASSERT_TRUE(PositionOk(pos)) << "after taking back " << text;
    expectPositionAsBefore(before, pos, text);
    if (::testing::Test::HasFailure()) return;
  }
}

// Plays a random legal game from the FEN, checking every move of every position on the way: the
// history grows, and castling, lost rights and en-passant squares arise at the positions checked.
void checkRandomGame(const std::string& fen, std::mt19937& rng) {
  SCOPED_TRACE(fen);
  Position pos;
  ASSERT_TRUE(SetupPosition(pos, fen.c_str()));
  bool keyedLikeSetup = true;
  for (int ply = 0; ply < GAME_PLIES; ++ply) {
    SCOPED_TRACE("ply " + std::to_string(ply));
    if (keyedLikeSetup) {
      Position fresh;
      freshSetup(pos, fresh);
      EXPECT_EQ(pos.hashKey, fresh.hashKey);
      EXPECT_EQ(pos.pawnKey, fresh.pawnKey);
    }
    checkEveryMove(pos, keyedLikeSetup);
    if (::testing::Test::HasFailure()) return;
    Move legal[MAX_GENERATED_MOVES];
    const int count = GenerateLegalMoves(pos, legal);
    if (count == 0) return;
    const Move m = legal[rng() % unsigned(count)];
    const uint16_t rights = pos.castleRights;
    ASSERT_TRUE(MakeRealMove(pos, m)) << moveText(m);
    keyedLikeSetup = keyedLikeSetup && !isCastling(m) && pos.castleRights == rights;
  }
}

TEST(MakeUnmakeProperty, RandomPlacementsAndTheGamesFromThem) {
  std::mt19937 rng(20240917);
  for (int i = 0; i < 60; ++i) {
    checkRandomGame(RandomFen(rng, 2, 6), rng);
    if (HasFailure()) return;
  }
}

TEST(MakeUnmakeProperty, RandomGamesWithCastlingRights) {
  std::mt19937 rng(4711);
  const char* starts[] = {
      START_FEN,
      "r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq -",
      "r3k2r/1P4P1/8/8/8/8/1p4p1/R3K2R b KQkq -",
  };
  for (int i = 0; i < 60; ++i) {
    checkRandomGame(starts[i % 3], rng);
    if (HasFailure()) return;
  }
}

}  // namespace
