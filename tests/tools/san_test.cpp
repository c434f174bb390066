#include <gtest/gtest.h>

#include <cstring>

#include "board/fen.h"
#include "board/move.h"
#include "board/position.h"
#include "tools/san.h"

namespace {

// Each test reads moves in a position of its own.
class San : public ::testing::Test {
 protected:
  void setUp(const char* fen) { ASSERT_TRUE(SetupPosition(pos, fen)) << fen; }
  Move san(const char* text) { return parseSanMove(pos, text); }
  Move pair(const char* text) { return parseSquarePair(pos, text); }
  Position pos;
};
using SanCastling = San;
using SanDisambiguation = San;
using SanPawnMoves = San;
using SanPieces = San;
using SanPromotions = San;
using SanSquarePair = San;
using SanText = San;

TEST_F(SanPawnMoves, PushComesFromOneOrTwoRanksBehind) {
  setUp(START_FEN);
  EXPECT_EQ(san("e4"), makeMoveWord(E2, E4, QUIET));
  EXPECT_EQ(san("e3"), makeMoveWord(E2, E3, QUIET));
  // The square behind holds a knight, not a pawn: the double step is still named (and refused later).
  setUp("rnbqkbnr/pppppppp/8/8/8/4N3/PPPPPPPP/R1BQKBNR w KQkq -");
  EXPECT_EQ(san("e4"), makeMoveWord(E2, E4, QUIET));
  setUp("rnbqkbnr/pppppppp/8/8/4P3/8/PPPP1PPP/RNBQKBNR b KQkq e3");
  EXPECT_EQ(san("e5"), makeMoveWord(E7, E5, QUIET));
  EXPECT_EQ(san("d6"), makeMoveWord(D7, D6, QUIET));
}

TEST_F(SanPawnMoves, PushWithoutAFromSquareOnTheBoardOrWithBadCharactersIsNoMove) {
  setUp(START_FEN);
  EXPECT_EQ(san("a1"), 0);
  EXPECT_EQ(san("e2"), 0);  // neither e1 nor the square below it holds a pawn
  EXPECT_EQ(san("e9"), 0);
  EXPECT_EQ(san("Pe4"), 0);
  EXPECT_EQ(san(""), 0);
  EXPECT_EQ(san("Nf3e5g4"), 0);
}

TEST_F(SanPawnMoves, CaptureDecorationsAreIgnored) {
  setUp("rnbqkbnr/ppp1pppp/8/3p4/4P3/8/PPPP1PPP/RNBQKBNR w KQkq -");
  const Move expected = makeMoveWord(E4, D5, CAPTURE);
  for (const char* text : {"exd5", "ed5", "exd5+", "exd5!?", "e4xd5", "e4-d5", "exd5#"})
    EXPECT_EQ(san(text), expected) << text;
}

TEST_F(SanPawnMoves, CaptureOntoAnEmptySquareIsEnPassant) {
  setUp("rnbqkbnr/ppp1pppp/8/3pP3/8/8/PPPP1PPP/RNBQKBNR w KQkq d6");
  EXPECT_EQ(san("exd6"), makeMoveWord(E5, D6, EN_PASSANT));
  EXPECT_EQ(san("e5d6"), makeMoveWord(E5, D6, EN_PASSANT));
  // Black captures towards the first rank.
  setUp("rnbqkbnr/pppp1ppp/8/8/3Pp3/8/PPP1PPPP/RNBQKBNR b KQkq d3");
  EXPECT_EQ(san("exd3"), makeMoveWord(E4, D3, EN_PASSANT));
}

TEST_F(SanPromotions, PushAndCapturePromotionsInEitherLetterCase) {
  setUp("k2r4/4P3/8/8/8/8/8/4K3 w - -");
  EXPECT_EQ(san("e8=Q"), makeMoveWord(E7, E8, PROMO_Q));
  EXPECT_EQ(san("e8n"), makeMoveWord(E7, E8, PROMO_N));
  EXPECT_EQ(san("e8R+"), makeMoveWord(E7, E8, PROMO_R));
  EXPECT_EQ(san("exd8=N+"), makeMoveWord(E7, D8, CAPTURE_PROMO_N));
  EXPECT_EQ(san("e7e8q"), makeMoveWord(E7, E8, PROMO_Q));
  EXPECT_EQ(san("e7d8b"), makeMoveWord(E7, D8, CAPTURE_PROMO_B));
  EXPECT_EQ(san("e7e8"), makeMoveWord(E7, E8, QUIET));  // no letter: left to validation
}

TEST_F(SanPromotions, CapturePromotionFindsTheFromFileOnEitherSide) {
  setUp("k3r3/3P1P2/8/8/8/8/8/4K3 w - -");
  EXPECT_EQ(san("fxe8=Q"), makeMoveWord(F7, E8, CAPTURE_PROMO_Q));
  EXPECT_EQ(san("dxe8=Q"), makeMoveWord(D7, E8, CAPTURE_PROMO_Q));
  setUp("4k3/8/8/8/8/8/3p1p2/K3R3 b - -");
  EXPECT_EQ(san("fxe1=R"), makeMoveWord(F2, E1, CAPTURE_PROMO_R));
  EXPECT_EQ(san("dxe1=Q"), makeMoveWord(D2, E1, CAPTURE_PROMO_Q));
  EXPECT_EQ(san("d1=Q"), makeMoveWord(D2, D1, PROMO_Q));
}

TEST_F(SanCastling, LetterOAndDigitZeroAreTheSame) {
  setUp("r3k2r/8/8/8/8/8/8/R3K2R w KQkq -");
  for (const char* text : {"O-O", "0-0", "OO", "00", "O-O+", "e1g1"})
    EXPECT_EQ(san(text), 0xDF3E) << text;
  for (const char* text : {"O-O-O", "0-0-0", "OOO", "000", "e1c1"})
    EXPECT_EQ(san(text), 0xFF3A) << text;
  setUp("r3k2r/8/8/8/8/8/8/R3K2R b KQkq -");
  EXPECT_EQ(san("O-O"), 0xC106);
  EXPECT_EQ(san("0-0-0"), 0xE102);
}

TEST_F(SanCastling, WithoutTheRightThereIsNoCastling) {
  setUp("r3k2r/8/8/8/8/8/8/R3K2R w Qk -");
  EXPECT_EQ(san("O-O"), 0);
  EXPECT_EQ(san("O-O-O"), 0xFF3A);
  // Without the right, e1g1 is an ordinary king move.
  EXPECT_EQ(san("e1g1"), makeMoveWord(E1, G1, QUIET));
  setUp("r3k2r/8/8/8/8/8/8/R3K2R b Qk -");
  EXPECT_EQ(san("O-O-O"), 0);
  EXPECT_EQ(san("O-O"), 0xC106);
}

TEST_F(SanPieces, PieceMovesAndCaptures) {
  setUp(START_FEN);
  EXPECT_EQ(san("Nf3"), makeMoveWord(G1, F3, QUIET));
  EXPECT_EQ(san("Nc3"), makeMoveWord(B1, C3, QUIET));
  EXPECT_EQ(san("Ng1f3"), makeMoveWord(G1, F3, QUIET));
  EXPECT_EQ(san("Ng1-f3"), makeMoveWord(G1, F3, QUIET));
  EXPECT_EQ(san("Pe2e4"), makeMoveWord(E2, E4, QUIET));
  EXPECT_EQ(san("e2-e4"), makeMoveWord(E2, E4, QUIET));
  EXPECT_EQ(san("Bc4"), 0);  // blocked by the e2 pawn
  setUp("rnbqkbnr/ppp1pppp/8/3p4/4P3/5N2/PPPP1PPP/RNBQKB1R w KQkq -");
  EXPECT_EQ(san("Bb5+"), makeMoveWord(F1, B5, QUIET));
  EXPECT_EQ(san("Nxd5"), 0);  // no knight reaches d5
  EXPECT_EQ(san("Qh5"), 0);  // the f3 knight stands in the way
  EXPECT_EQ(san("Qe2"), makeMoveWord(D1, E2, QUIET));
  EXPECT_EQ(san("Ne5"), makeMoveWord(F3, E5, QUIET));
}

TEST_F(SanPieces, KingIgnoresADisambiguator) {
  setUp("4k3/8/8/8/8/8/4p3/4K3 w - -");
  EXPECT_EQ(san("Kxe2"), makeMoveWord(E1, E2, CAPTURE));
  EXPECT_EQ(san("Kde2"), makeMoveWord(E1, E2, CAPTURE));
  EXPECT_EQ(san("Kd1"), makeMoveWord(E1, D1, QUIET));
}

TEST_F(SanDisambiguation, FileOrRankPicksWithoutTesting) {
  setUp("rnbqkb1r/ppp1pppp/5n2/8/8/8/PPPPPPPP/RNBQKBNR b KQkq -");
  EXPECT_EQ(san("Nbd7"), makeMoveWord(B8, D7, QUIET));
  EXPECT_EQ(san("Nfd7"), makeMoveWord(F6, D7, QUIET));
  EXPECT_EQ(san("Nd7"), 0);  // both knights can go there
  EXPECT_EQ(san("Ncd7"), 0);
  EXPECT_EQ(san("N9d7"), 0);
  setUp("7k/8/8/R7/8/8/8/R3K3 w - -");
  EXPECT_EQ(san("R1a3"), makeMoveWord(A1, A3, QUIET));
  EXPECT_EQ(san("R5a3"), makeMoveWord(A5, A3, QUIET));
  EXPECT_EQ(san("Ra3"), 0);
}

TEST_F(SanDisambiguation, APinnedPieceDoesNotCount) {
  // The e2 knight is pinned against the king by the e8 rook; only the h3 knight may go to f4.
  setUp("k3r3/8/8/8/8/7N/4N3/4K3 w - -");
  const HashKey key = pos.hashKey;
  const HistoryEntry* top = pos.historyTop;
  EXPECT_EQ(san("Nf4"), makeMoveWord(H3, F4, QUIET));
  // The candidates were made and taken back.
  EXPECT_EQ(pos.hashKey, key);
  EXPECT_EQ(pos.historyTop, top);
  EXPECT_EQ(pos.board[E2], WKNIGHT);
  EXPECT_EQ(pos.sideToMove, WHITE);
}

TEST_F(SanText, OnlyTheFirstNineCharactersCount) {
  setUp(START_FEN);
  // The tenth character would otherwise turn the pair into a promotion.
  EXPECT_EQ(san("e2e4xxxxxQ"), makeMoveWord(E2, E4, QUIET));
  EXPECT_EQ(san("e2e4xxxxQ"), makeMoveWord(E2, E4, PROMO_Q));
}

TEST_F(SanText, LettersOutsideTheBoardAreNoSquare) {
  // i2 would land on a1 by plain arithmetic, where the knight on b3 could go.
  setUp("4k3/8/8/8/8/1N6/8/4K3 w - -");
  EXPECT_EQ(san("Na1"), makeMoveWord(B3, A1, QUIET));
  EXPECT_EQ(san("Ni2"), 0);
  EXPECT_EQ(san("Nb3i2"), 0);
}

TEST_F(SanSquarePair, TypesFollowTheBoard) {
  setUp("rnbqkbnr/ppp1pppp/8/3p4/4P3/8/PPPP1PPP/RNBQKBNR w KQkq -");
  EXPECT_EQ(pair("e4d5"), makeMoveWord(E4, D5, CAPTURE));
  EXPECT_EQ(pair("e4e5"), makeMoveWord(E4, E5, QUIET));
  EXPECT_EQ(pair("e4e5 "), makeMoveWord(E4, E5, QUIET));
  EXPECT_EQ(pair("d1h5"), makeMoveWord(D1, H5, QUIET));
  EXPECT_EQ(pair("e4d5x"), makeMoveWord(E4, D5, QUIET));  // other fifth character
  EXPECT_EQ(pair("e4i5"), 0);
  EXPECT_EQ(pair("e4"), 0);
}

}  // namespace
