// The pawn cache never changes a score, and the evaluation treats both colours alike.
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "driver/game_position.h"
#include "eval/pawn_cache.h"
#include "eval_helpers.h"

namespace {

// Sets up a FEN without losing the pawn cache that setup clears.
void SetupKeepingCache(const std::string& fen) {
  static PawnCache saved;
  std::memcpy(&saved, &pawnCache, sizeof saved);
  ASSERT_TRUE(SetupPosition(fen.c_str())) << fen;
  std::memcpy(&pawnCache, &saved, sizeof saved);
}

TEST(PawnCacheTest, StoresAndFindsAScoreUnderItsKey) {
  ClearPawnCache();
  int score = 0;
  EXPECT_FALSE(ProbePawnCache(0x12345678u, score));
  StorePawnCache(0x12345678u, -250);
  ASSERT_TRUE(ProbePawnCache(0x12345678u, score));
  EXPECT_EQ(score, -250);
  // Same slot, other check bits: a miss, not someone else's score.
  EXPECT_FALSE(ProbePawnCache(0x92345678u, score));
  StorePawnCache(0x92345678u, 31);
  EXPECT_FALSE(ProbePawnCache(0x12345678u, score));
}

TEST(PawnCacheTest, NewGamePositionClearsTheCache) {
  ASSERT_TRUE(SetupGamePosition("4k3/pp6/8/8/8/8/5PPP/4K3 w - -"));
  Evaluate();
  int score;
  ASSERT_TRUE(ProbePawnCache(PawnCacheKey(), score));
  ASSERT_TRUE(SetupGamePosition("4k3/pp6/8/8/8/8/5PPP/4K3 w - -"));
  EXPECT_FALSE(ProbePawnCache(PawnCacheKey(), score));
}

// Random positions evaluated with an empty cache, then again with the cache every earlier
// position filled, and once more from their own cached entry.
TEST(PawnCacheTest, WarmCacheGivesTheColdScore) {
  std::mt19937 rng(20261207);
  std::vector<std::string> fens;
  for (int i = 0; i < 300; ++i) fens.push_back(RandomFen(rng, 3, 7));
  std::vector<int> cold;
  for (const std::string& fen : fens) cold.push_back(EvalFen(fen));
  for (size_t i = 0; i < fens.size(); ++i) {
    SetupKeepingCache(fens[i]);
    EXPECT_EQ(Evaluate(), cold[i]) << fens[i];
    EXPECT_EQ(Evaluate(), cold[i]) << fens[i];
  }
}

// One pawn structure under every pawn square table: the cached score of one phase must not
// leak into another, and the levers of a cached structure still count.
TEST(PawnCacheTest, SameStructureAcrossPhasesAndLevers) {
  const char* pawns = "4k3/pp3p2/2p1p3/3P2p1/2P1P2P/1P6/P4P2/4K3";  // d5xe6, d5xc6, g5xh4 levers
  const char* pieceSets[] = {
      "rnbqkbnr/pp3p2/2p1p3/3P2p1/2P1P2P/1P6/P4P2/RNBQKBNR",  // all pieces
      "r2qk2r/pp3p2/2p1p3/3P2p1/2P1P2P/1P6/P4P2/R2QK2R",      // rooks and queens
      "r3k3/pp3p2/2p1p3/3P2p1/2P1P2P/1P6/P4P2/R3K3",          // one rook each
      pawns,                                                  // pawns only
  };
  std::vector<int> cold;
  for (const char* fen : pieceSets) cold.push_back(EvalFen(std::string(fen) + " w - -"));
  for (int first = 0; first < 4; ++first)
    for (int second = 0; second < 4; ++second) {
      EvalFen(std::string(pieceSets[first]) + " w - -");
      SetupKeepingCache(std::string(pieceSets[second]) + " w - -");
      EXPECT_EQ(Evaluate(), cold[second]) << first << " then " << second;
    }
}

TEST(SymmetryTest, ColourFlippedPositionScoresTheSameForTheSideToMove) {
  std::mt19937 rng(7);
  for (int i = 0; i < 400; ++i) {
    std::string fen = RandomFen(rng, 3, 8);
    int score = EvalFen(fen);
    std::string flipped = FlippedFen();
    EXPECT_EQ(EvalFen(flipped), score) << fen << " against " << flipped;
  }
}

TEST(SymmetryTest, OpeningPositionsAreBalanced) {
  EXPECT_EQ(EvalFen("rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq -"), 0);
  EXPECT_EQ(EvalFen("r1bqk2r/pppp1ppp/2n2n2/2b1p3/2B1P3/2N2N2/PPPP1PPP/R1BQK2R b KQkq -"),
            EvalFen("r1bqk2r/pppp1ppp/2n2n2/2b1p3/2B1P3/2N2N2/PPPP1PPP/R1BQK2R w KQkq -"));
}

}  // namespace
