// The pawn cache never changes a score, and the evaluation treats both colours alike.
#include <random>
#include <string>
#include <vector>

#include "eval/pawn_cache.h"
#include "eval/pawn_structure.h"
#include "eval_helpers.h"

namespace {

using PawnCacheTest = EvalTest;
using SymmetryTest = EvalTest;

TEST_F(PawnCacheTest, StoresAndFindsAScoreUnderItsKeyUntilCleared) {
  int score = 0;
  EXPECT_FALSE(cache->probe(0x12345678u, score));
  cache->store(0x12345678u, -250);
  ASSERT_TRUE(cache->probe(0x12345678u, score));
  EXPECT_EQ(score, -250);
  // Same slot, other check bits: a miss, not someone else's score.
  EXPECT_FALSE(cache->probe(0x92345678u, score));
  cache->store(0x92345678u, 31);
  EXPECT_FALSE(cache->probe(0x12345678u, score));

  // What the evaluation stored goes with a clear.
  eval("4k3/pp6/8/8/8/8/5PPP/4K3 w - -");
  ASSERT_TRUE(cache->probe(PawnCacheKey(pos), score));
  cache->clear();
  EXPECT_FALSE(cache->probe(PawnCacheKey(pos), score));
  EXPECT_FALSE(cache->probe(0x92345678u, score));
}

// Random positions evaluated with no entry for their pawn structure, then again with the cache
// that every earlier position filled, and once more from their own cached entry.
TEST_F(PawnCacheTest, WarmCacheGivesTheColdScore) {
  std::mt19937 rng(20261207);
  std::vector<std::string> fens;
  for (int i = 0; i < 300; ++i) fens.push_back(RandomFen(rng, 3, 7));
  auto cold = std::make_unique<PawnCache>();
  std::vector<int> coldScores;
  for (const std::string& fen : fens) {
    ASSERT_TRUE(setUp(fen));
    // An earlier position with the same structure (or slot and check bits) would answer.
    int cached;
    if (cold->probe(PawnCacheKey(pos), cached)) cold->clear();
    coldScores.push_back(Evaluate(pos, *cold));
  }
  for (size_t i = 0; i < fens.size(); ++i) {
    ASSERT_TRUE(setUp(fens[i]));
    EXPECT_EQ(Evaluate(pos, *cache), coldScores[i]) << fens[i];
    EXPECT_EQ(Evaluate(pos, *cache), coldScores[i]) << fens[i];
  }
}

// One pawn structure under every pawn square table: the cached score of one phase must not
// leak into another, and the levers of a cached structure still count.
TEST_F(PawnCacheTest, SameStructureAcrossPhasesAndLevers) {
  const char* pawns = "4k3/pp3p2/2p1p3/3P2p1/2P1P2P/1P6/P4P2/4K3";  // d5xe6, d5xc6, g5xh4 levers
  const char* pieceSets[] = {
      "rnbqkbnr/pp3p2/2p1p3/3P2p1/2P1P2P/1P6/P4P2/RNBQKBNR",  // all pieces
      "r2qk2r/pp3p2/2p1p3/3P2p1/2P1P2P/1P6/P4P2/R2QK2R",      // rooks and queens
      "r3k3/pp3p2/2p1p3/3P2p1/2P1P2P/1P6/P4P2/R3K3",          // one rook each
      pawns,                                                  // pawns only
  };
  std::vector<int> cold;
  for (const char* fen : pieceSets) {
    cache->clear();
    cold.push_back(eval(std::string(fen) + " w - -"));
  }
  for (int first = 0; first < 4; ++first)
    for (int second = 0; second < 4; ++second) {
      cache->clear();
      eval(std::string(pieceSets[first]) + " w - -");
      EXPECT_EQ(eval(std::string(pieceSets[second]) + " w - -"), cold[second]) << first << " then " << second;
    }
}

TEST_F(SymmetryTest, ColourFlippedPositionScoresTheSameForTheSideToMove) {
  std::mt19937 rng(7);
  for (int i = 0; i < 400; ++i) {
    std::string fen = RandomFen(rng, 3, 8);
    int score = eval(fen);
    std::string flipped = FlippedFen(pos);
    EXPECT_EQ(eval(flipped), score) << fen << " against " << flipped;
  }
}

TEST_F(SymmetryTest, OpeningPositionsAreBalanced) {
  EXPECT_EQ(eval("rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq -"), 0);
  EXPECT_EQ(eval("r1bqk2r/pppp1ppp/2n2n2/2b1p3/2B1P3/2N2N2/PPPP1PPP/R1BQK2R b KQkq -"),
            eval("r1bqk2r/pppp1ppp/2n2n2/2b1p3/2B1P3/2N2N2/PPPP1PPP/R1BQK2R w KQkq -"));
}

}  // namespace
