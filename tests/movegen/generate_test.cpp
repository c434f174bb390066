// Generation order and scores, exchange scoring, check information and the castling path test.
#include <algorithm>
#include <optional>

#include "board/phase_tables.h"
#include "board/tables.h"
#include "movegen/make_move.h"
#include "movegen/exchange.h"
#include "movegen_fixture.h"

namespace {

std::vector<std::string> texts(const std::vector<MoveEntry>& entries) {
  std::vector<std::string> out;
  for (const MoveEntry& e : entries) out.push_back(moveText(e.move));
  return out;
}

std::optional<MoveEntry> find(const std::vector<MoveEntry>& entries, Move m) {
  for (const MoveEntry& e : entries)
    if (e.move == m) return e;
  return std::nullopt;
}

int squareValue(const Position& pos, Piece p, Square sq) { return PhaseSelectorByPiece[p][pos.totalMaterial][sq]; }

TEST(GenerateAll, InitialPositionOrder) {
  Position pos;
  ASSERT_TRUE(SetupPosition(pos, START_FEN));
  std::vector<MoveEntry> moves = generated(pos, Generator::All);
  std::vector<std::string> expected = {"g1h3", "g1f3", "b1c3", "b1a3", "h2h4", "g2g4", "f2f4", "e2e4", "d2d4",
                                       "c2c4", "b2b4", "a2a4", "h2h3", "g2g3", "f2f3", "e2e3", "d2d3", "c2c3",
                                       "b2b3", "a2a3"};
  EXPECT_EQ(texts(moves), expected);
  for (const MoveEntry& e : moves) EXPECT_EQ(e.score, -30000) << moveText(e.move);
  // Black mirrors it: knights g8 and b8 first (lowest bit first), then double and single pushes.
  ASSERT_TRUE(SetupPosition(pos, "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR b KQkq -"));
  std::vector<std::string> black = texts(generated(pos, Generator::All));
  ASSERT_EQ(black.size(), 20u);
  EXPECT_EQ(black[0], "g8h6");
  EXPECT_EQ(black[4], "h7h5");
  EXPECT_EQ(black[19], "a7a6");
}

TEST(GenerateAll, PromotionCapturesBeforePushPromotions) {
  Position pos;
  ASSERT_TRUE(SetupPosition(pos, "r3k3/1P6/8/8/8/8/8/4K3 w - -"));
  std::vector<MoveEntry> moves = generated(pos, Generator::All);
  ASSERT_GE(moves.size(), 8u);
  const int expectedScores[8] = {500 - 9401, 500 - 30005, 500 - 30025, 500 - 30050, -9401, -30005, -30025, -30050};
  const int types[8] = {8, 9, 10, 11, 4, 5, 6, 7};
  for (int i = 0; i < 8; ++i) {
    EXPECT_EQ(moves[i].score, expectedScores[i]) << i;
    EXPECT_EQ(moveType(moves[i].move), types[i]) << i;
    EXPECT_EQ(moveFrom(moves[i].move), B7);
    EXPECT_EQ(moveTo(moves[i].move), i < 4 ? A8 : B8);
  }
}

TEST(GenerateAll, CastlingNeedsRightAndEmptySquaresButNotSafety) {
  Position pos;
  // f1 is attacked by the bishop; the move is still generated and rejected after it is made.
  ASSERT_TRUE(SetupPosition(pos, "4k3/8/8/8/8/8/6b1/R3K2R w KQ -"));
  std::vector<MoveEntry> moves = generated(pos, Generator::All);
  ASSERT_GE(moves.size(), 2u);
  EXPECT_EQ(moves[moves.size() - 2].move, 0xDF3E);
  EXPECT_EQ(moves[moves.size() - 2].score, -29000);
  EXPECT_EQ(moves.back().move, 0xFF3A);
  EXPECT_EQ(moves.back().score, -29500);
  ASSERT_TRUE(SetupPosition(pos, "4k3/8/8/8/8/8/8/RN2K1NR w KQ -"));
  for (const MoveEntry& e : generated(pos, Generator::All)) EXPECT_FALSE(isCastling(e.move));
}

TEST(Exchange, KnightTakingPawnDefendedByPawnIsLeftOutOfCaptures) {
  Position pos;
  ASSERT_TRUE(SetupPosition(pos, "4k3/8/2p5/3p4/8/4N3/8/4K3 w - -"));
  Move capture = textMove("e3d5", CAPTURE);
  std::optional<MoveEntry> scored = find(generated(pos, Generator::All), capture);
  ASSERT_NE(scored, std::nullopt);
  int pst = squareValue(pos, WKNIGHT, D5) - squareValue(pos, WKNIGHT, E3);
  EXPECT_EQ(scored->score, 100 / 2 - 220 - 30000 + pst);
  EXPECT_EQ(find(generated(pos, Generator::Captures), capture), std::nullopt);
}

TEST(Exchange, UndefendedAndEvenCaptures) {
  Position pos;
  // An undefended pawn: gain 100 plus both piece-square differences.
  ASSERT_TRUE(SetupPosition(pos, "4k3/8/8/3p4/8/4N3/8/4K3 w - -"));
  int pst = squareValue(pos, WKNIGHT, D5) - squareValue(pos, WKNIGHT, E3) + squareValue(pos, BPAWN, D5);
  EXPECT_EQ(staticExchange(pos, WKNIGHT, E3, D5, 0, 0), 100 - 9500 + pst);
  // A move to an empty, unattacked square.
  pst = squareValue(pos, WKNIGHT, F5) - squareValue(pos, WKNIGHT, E3);
  EXPECT_EQ(staticExchange(pos, WKNIGHT, E3, F5, 0, 0), pst - 29985);
  // Rook takes a pawn defended by a rook, with a second rook behind the first: the x-ray makes
  // the exchange rook for pawn and rook, a net gain.
  ASSERT_TRUE(SetupPosition(pos, "3rk3/8/8/3p4/8/8/3R4/3RK3 w - -"));
  Bitboard rooks = pos.pieceBB[WROOK] | pos.pieceBB[BROOK];
  int16_t withBacking = staticExchange(pos, WROOK, D2, D5, rooks, 0);
  ASSERT_TRUE(SetupPosition(pos, "3rk3/8/8/3p4/8/8/3R4/4K3 w - -"));
  rooks = pos.pieceBB[WROOK] | pos.pieceBB[BROOK];
  int16_t alone = staticExchange(pos, WROOK, D2, D5, rooks, 0);
  EXPECT_GT(withBacking, -10000);
  EXPECT_LT(alone, -10000);
}

TEST(Exchange, QueenPromotionPushIsScoredByTheExchange) {
  Position pos;
  // The promotion square is covered by a rook: promoting loses the queen for a pawn's worth.
  ASSERT_TRUE(SetupPosition(pos, "r7/6P1/8/8/8/8/8/k3K3 w - -"));
  EXPECT_TRUE(generated(pos, Generator::Captures).empty());
  ASSERT_TRUE(SetupPosition(pos, "4k3/6P1/8/8/8/8/8/4K3 w - -"));
  std::vector<MoveEntry> captures = generated(pos, Generator::Captures);
  ASSERT_EQ(captures.size(), 1u);
  EXPECT_EQ(moveText(captures[0].move), "g7g8q");
  EXPECT_GT(captures[0].score, -10000);
}

TEST(Exchange, KingNeverTakesADefendedPiece) {
  Position pos;
  // The d2 pawn checks and is defended by c3: Kxd2 appears in no generator.
  ASSERT_TRUE(SetupPosition(pos, "4k3/8/8/8/8/2p5/3p4/4K3 w - -"));
  Move kxd2 = textMove("e1d2", CAPTURE);
  EXPECT_EQ(find(generated(pos, Generator::All), kxd2), std::nullopt);
  EXPECT_EQ(find(generated(pos, Generator::Captures), kxd2), std::nullopt);
  EXPECT_EQ(find(generated(pos, Generator::Evasions), kxd2), std::nullopt);
  EXPECT_EQ(staticExchange(pos, WKING, E1, D2, 0, 0), -32767);
  // Undefended, it is taken.
  ASSERT_TRUE(SetupPosition(pos, "4k3/8/8/8/8/8/3p4/4K3 w - -"));
  EXPECT_NE(find(generated(pos, Generator::Evasions), kxd2), std::nullopt);
}

TEST(CheckInfo, DoubleCheckAndLineFields) {
  Position pos;
  CheckInfo info;
  ASSERT_TRUE(SetupPosition(pos, "4k3/8/8/8/8/5n2/8/r3K3 w - -"));
  computeCheckInfo(pos, &info);
  EXPECT_EQ(info.checkers, SquareMask[A1] | SquareMask[F3]);
  // A diagonal queen check with a non-checking rook on the king's rank: no rook-wise line.
  ASSERT_TRUE(SetupPosition(pos, "4k3/8/8/8/1q6/8/8/r2NK3 w - -"));
  info.rookCheckLine = ~Bitboard(0);
  computeCheckInfo(pos, &info);
  EXPECT_EQ(info.checkers, SquareMask[B4]);
  EXPECT_EQ(info.rookCheckLine, 0u);
  EXPECT_NE(info.bishopCheckLine & SquareMask[C3], 0u);
}

TEST(Evasions, TwoCheckersLeaveOnlyKingMoves) {
  Position pos;
  ASSERT_TRUE(SetupPosition(pos, "4k3/8/8/8/8/2Q2n2/8/r3K3 w - -"));
  std::vector<MoveEntry> moves = generated(pos, Generator::Evasions);
  ASSERT_FALSE(moves.empty());
  for (const MoveEntry& e : moves) EXPECT_EQ(moveFrom(e.move), E1) << moveText(e.move);
}

TEST(Evasions, AdjacentRookIsCapturedOrAvoidedNeverBlocked) {
  Position pos;
  ASSERT_TRUE(SetupPosition(pos, "4k3/8/8/8/8/2N5/8/3rK3 w - -"));
  std::vector<MoveEntry> moves = generated(pos, Generator::Evasions);
  for (const MoveEntry& e : moves)
    if (moveFrom(e.move) != E1) {
      EXPECT_EQ(moveTo(e.move), D1) << moveText(e.move);
    }
  std::optional<MoveEntry> take = find(moves, textMove("c3d1", CAPTURE));
  ASSERT_NE(take, std::nullopt);
  EXPECT_EQ(take->score, 500 - 9820);
}

TEST(Evasions, BlocksAndCapturesOfADistantSlider) {
  Position pos;
  // Bishop b4 checks e1 from afar: pieces may take it or block on c3 and d2. Stale line fields
  // in the record must not matter.
  ASSERT_TRUE(SetupPosition(pos, "4k3/8/8/8/1b6/8/8/1N1QK3 w - -"));
  CheckInfo info;
  info.rookCheckLine = ~Bitboard(0);
  info.bishopCheckLine = 0;
  computeCheckInfo(pos, &info);
  MoveEntry buffer[MAX_GENERATED_MOVES];
  std::vector<MoveEntry> moves(buffer, generateEvasions[WHITE](pos, buffer, &info));
  std::vector<std::string> got = texts(moves);
  EXPECT_NE(std::find(got.begin(), got.end(), "b1c3"), got.end());
  EXPECT_NE(std::find(got.begin(), got.end(), "b1d2"), got.end());
  EXPECT_NE(std::find(got.begin(), got.end(), "d1d2"), got.end());
  EXPECT_EQ(std::find(got.begin(), got.end(), "e1d2"), got.end());  // the king never steps onto the line
  EXPECT_EQ(find(moves, textMove("b1c3", QUIET))->score, -30320);
  EXPECT_EQ(find(moves, textMove("d1d2", QUIET))->score, -30950);
}

TEST(Evasions, EnPassantOntoTheCheckingLine) {
  Position pos;
  // The bishop on f8 checks a3 through d6; taking d5 en passant lands on d6 and blocks.
  ASSERT_TRUE(SetupPosition(pos, "4kb2/8/8/3pP3/8/K7/8/8 w - d6"));
  std::vector<MoveEntry> moves = generated(pos, Generator::Evasions);
  Move ep = textMove("e5d6", EN_PASSANT);
  std::optional<MoveEntry> found = find(moves, ep);
  ASSERT_NE(found, std::nullopt);
  EXPECT_EQ(found->score, -9500);
  makeMove(pos, ep);
  EXPECT_FALSE(kingAttackedAfter(pos, ep, WHITE));
  unmakeMove(pos, ep);
  // The pawn that just made its double step gives check: taken en passant, a-side pawn first.
  ASSERT_TRUE(SetupPosition(pos, "4k3/8/8/2PpP3/4K3/8/8/8 w - d6"));
  std::vector<std::string> got = texts(generated(pos, Generator::Evasions));
  ASSERT_GE(got.size(), 2u);
  EXPECT_EQ(got[0], "c5d6");
  EXPECT_EQ(got[1], "e5d6");
}

TEST(CastlePath, TransitSquaresAndEnemyKingZone) {
  Position pos;
  struct Case {
    const char* fen;
    Move castle;
    bool attacked;
  };
  const Case cases[] = {
      {"4k3/8/8/8/8/8/6b1/4K2R w K -", 0xDF3E, true},       // bishop attacks f1
      {"8/8/8/8/8/8/6k1/4K2R w K -", 0xDF3E, true},         // enemy king on g2
      {"4k3/8/8/8/8/8/8/4K2R w K -", 0xDF3E, false},
      {"4k3/8/8/8/8/8/8/R3K3 w Q -", 0xFF3A, false},
      {"8/8/8/8/8/8/1k6/R3K3 w Q -", 0xFF3A, true},          // enemy king on b2
      {"4k3/8/8/8/8/n7/8/R3K3 w Q -", 0xFF3A, false},       // b1 attacked is no obstacle
      {"r3k3/8/8/8/8/8/8/3RK3 b q -", 0xE102, true},        // d8 attacked by the rook
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.fen);
    ASSERT_TRUE(SetupPosition(pos, c.fen));
    int mover = pos.sideToMove;
    makeMove(pos, c.castle);
    EXPECT_EQ(kingAttackedAfter(pos, c.castle, mover), c.attacked);
    unmakeMove(pos, c.castle);
  }
}

}  // namespace
