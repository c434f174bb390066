// Validation of outside moves and playing game moves.
#include <set>
#include <string>

#include "board/tables.h"
#include "movegen/make_move.h"
#include "movegen/validate.h"
#include "movegen_fixture.h"

namespace {

TEST(IsPseudoLegal, Refusals) {
  Position pos;
  ASSERT_TRUE(SetupPosition(pos, START_FEN));
  EXPECT_FALSE(isPseudoLegal(pos, textMove("e3e4", QUIET)));  // empty origin
  EXPECT_FALSE(isPseudoLegal(pos, textMove("e7e5", QUIET)));  // the other side's pawn
  EXPECT_TRUE(isPseudoLegal(pos, textMove("e2e4", QUIET)));
  EXPECT_FALSE(isPseudoLegal(pos, textMove("e2e5", QUIET)));
  EXPECT_FALSE(isPseudoLegal(pos, textMove("g1g3", QUIET)));
  EXPECT_FALSE(isPseudoLegal(pos, textMove("f1c4", QUIET)));  // the e2 pawn blocks the diagonal
  ASSERT_TRUE(SetupPosition(pos, "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR b KQkq -"));
  EXPECT_FALSE(isPseudoLegal(pos, textMove("e2e3", QUIET)));  // empty for black: a white pawn
  EXPECT_FALSE(isPseudoLegal(pos, textMove("e6e5", QUIET)));
  EXPECT_TRUE(isPseudoLegal(pos, textMove("e7e5", QUIET)));
}

TEST(IsPseudoLegal, KingCaptureAndKingsSideBySide) {
  Position pos;
  // Black leaves its king en prise (make without a legality test); taking it is still refused.
  ASSERT_TRUE(SetupPosition(pos, "4k3/8/8/8/8/8/4R3/4K3 b - -"));
  makeMove(pos, textMove("e8e7", QUIET));
  EXPECT_FALSE(isPseudoLegal(pos, textMove("e2e7", CAPTURE)));
  EXPECT_TRUE(isPseudoLegal(pos, textMove("e2e6", QUIET)));
  unmakeMove(pos, textMove("e8e7", QUIET));

  ASSERT_TRUE(SetupPosition(pos, "8/8/8/3k4/8/3K4/8/8 w - -"));
  EXPECT_FALSE(isPseudoLegal(pos, textMove("d3d4", QUIET)));
  EXPECT_FALSE(isPseudoLegal(pos, textMove("d3c4", QUIET)));
  EXPECT_TRUE(isPseudoLegal(pos, textMove("d3c3", QUIET)));
  EXPECT_FALSE(isPseudoLegal(pos, textMove("d3d1", QUIET)));  // not a king step
}

TEST(IsPseudoLegal, Castling) {
  Position pos;
  ASSERT_TRUE(SetupPosition(pos, "4k3/8/8/8/8/8/8/4K2R w - -"));
  EXPECT_FALSE(isPseudoLegal(pos, 0xDF3E));
  ASSERT_TRUE(SetupPosition(pos, "4k3/8/8/8/8/8/8/4K2R w K -"));
  EXPECT_TRUE(isPseudoLegal(pos, 0xDF3E));
  EXPECT_FALSE(isPseudoLegal(pos, 0xFF3A));
  ASSERT_TRUE(SetupPosition(pos, "4k3/8/8/8/8/8/8/4KB1R w K -"));
  EXPECT_FALSE(isPseudoLegal(pos, 0xDF3E));  // f1 occupied
  ASSERT_TRUE(SetupPosition(pos, "r3k3/8/8/8/8/8/8/4K3 b q -"));
  EXPECT_TRUE(isPseudoLegal(pos, 0xE102));
  EXPECT_FALSE(isPseudoLegal(pos, 0xDF3E));  // white's castling with black to move
}

TEST(IsPseudoLegal, PawnEdgesAndEnPassant) {
  Position pos;
  // h4 to a4 is numerically a capture toward the h-file but wraps the board edge.
  ASSERT_TRUE(SetupPosition(pos, "4k3/8/8/8/n6P/8/8/4K3 w - -"));
  EXPECT_FALSE(isPseudoLegal(pos, textMove("h4a4", CAPTURE)));
  // Pawn moves onto the last rank must name the promotion.
  ASSERT_TRUE(SetupPosition(pos, "1n2k3/P7/8/8/8/8/8/4K3 w - -"));
  EXPECT_FALSE(isPseudoLegal(pos, textMove("a7a8", QUIET)));
  EXPECT_TRUE(isPseudoLegal(pos, textMove("a7a8", PROMO_Q)));
  EXPECT_FALSE(isPseudoLegal(pos, textMove("a7b8", CAPTURE)));
  EXPECT_TRUE(isPseudoLegal(pos, textMove("a7b8", CAPTURE_PROMO_N)));
  // En passant only from a square diagonally behind the target.
  ASSERT_TRUE(SetupPosition(pos, "4k3/8/8/pP1P4/8/8/8/4K3 w - a6"));
  EXPECT_EQ(pos.epSquare, A6);
  EXPECT_TRUE(isPseudoLegal(pos, textMove("b5a6", EN_PASSANT)));
  EXPECT_FALSE(isPseudoLegal(pos, textMove("d5a6", EN_PASSANT)));
  EXPECT_FALSE(isPseudoLegal(pos, textMove("b5b6", EN_PASSANT)));
}

TEST(MakeRealMove, PlaysAGameMove) {
  Position pos;
  ASSERT_TRUE(SetupPosition(pos, START_FEN));
  ASSERT_TRUE(MakeRealMove(pos, textMove("e2e4", QUIET)));
  EXPECT_EQ(pos.epSquare, E3);
  EXPECT_EQ(pos.sideToMove, BLACK);
  EXPECT_EQ(pos.board[E4], WPAWN);
  EXPECT_EQ(pos.plyCount, 2);
  ASSERT_TRUE(MakeRealMove(pos, textMove("g8f6", QUIET)));
  EXPECT_EQ(pos.epSquare, 0);
  EXPECT_EQ(pos.sideToMove, WHITE);
  EXPECT_EQ(pos.plyCount, 3);
  EXPECT_EQ(pos.historyTop - pos.history, 2);
  EXPECT_EQ(pos.history[0].move, textMove("e2e4", QUIET));
  EXPECT_EQ(pos.history[1].move, textMove("g8f6", QUIET));
}

// A refused move answers false, prints nothing and leaves the position exactly as it was.
void expectRefused(Position& pos, Move m, const char* what) {
  const Position before = pos;
  ::testing::internal::CaptureStdout();
  EXPECT_FALSE(MakeRealMove(pos, m)) << what;
  EXPECT_EQ(::testing::internal::GetCapturedStdout(), "") << what;
  expectPositionAsBefore(before, pos, what);
}

TEST(MakeRealMove, RefusalsLeaveThePositionUnchanged) {
  Position pos;
  // The king may not step into the rook's rank.
  ASSERT_TRUE(SetupPosition(pos, "4k3/8/8/8/8/8/3r4/4K3 w - -"));
  expectRefused(pos, textMove("e1e2", QUIET), "move into check");
  // A pinned knight may not leave the line.
  ASSERT_TRUE(SetupPosition(pos, "4k3/4r3/8/8/8/8/4N3/4K3 w - -"));
  expectRefused(pos, textMove("e2c3", QUIET), "pinned piece");
  // Castling through an attacked square.
  ASSERT_TRUE(SetupPosition(pos, "4k3/8/8/8/8/8/6b1/4K2R w K -"));
  expectRefused(pos, 0xDF3E, "castling through check");
  // Marker words, no move at all, and moves the position does not allow.
  expectRefused(pos, NULL_MOVE, "marker word");
  expectRefused(pos, MOVE_NONE, "no move");
  expectRefused(pos, textMove("a2a4", QUIET), "empty square");
}

TEST(MakeRealMove, LongGamesKeepRoomInTheHistory) {
  Position pos;
  ASSERT_TRUE(SetupPosition(pos, START_FEN));
  const char* shuffle[4] = {"g1f3", "g8f6", "f3g1", "f6g8"};
  for (int i = 0; i < 3 * HISTORY_SIZE; ++i) {
    ASSERT_TRUE(MakeRealMove(pos, ParseCoordinateMove(pos, shuffle[i % 4])));
    ASSERT_LE(pos.historyTop - pos.history, HISTORY_SIZE - 256);
    ASSERT_EQ(pos.historyTop->key, pos.hashKey);
  }
  // The counts of reversible plies go on across the move of the history.
  EXPECT_EQ(pos.historyTop->reversibleCount, 3 * HISTORY_SIZE);
  EXPECT_EQ(pos.historyTop[-4].key, pos.hashKey);
}

TEST(SetupPosition, RefusesAPositionWhereTheKingCanBeTakenAndChangesNothing) {
  Position pos;
  ASSERT_TRUE(SetupPosition(pos, START_FEN));
  ASSERT_TRUE(MakeRealMove(pos, textMove("e2e4", QUIET)));
  const Position before = pos;
  EXPECT_FALSE(SetupPosition(pos, "4k3/8/8/8/8/8/4R3/4K3 w - -"));   // rook attacks e8
  EXPECT_FALSE(SetupPosition(pos, "4k3/8/8/8/8/8/3p4/4K3 b - -"));   // pawn attacks e1
  EXPECT_FALSE(SetupPosition(pos, "8/8/8/8/8/3k4/3K4/8 w - -"));     // kings side by side
  expectPositionAsBefore(before, pos, "refused setups");
  EXPECT_TRUE(SetupPosition(pos, "4k3/8/8/8/8/8/4R3/4K3 b - -"));    // in check, to move: fine
}

TEST(LegalMoveFromText, FindsTheLegalMoveWrittenExactlySo) {
  Position pos;
  ASSERT_TRUE(SetupPosition(pos, "r3k3/1P6/8/8/8/8/8/R3K2R w KQq -"));
  EXPECT_EQ(LegalMoveFromText(pos, "b7a8n"), textMove("b7a8", CAPTURE_PROMO_N));
  EXPECT_EQ(LegalMoveFromText(pos, "b7b8q"), textMove("b7b8", PROMO_Q));
  EXPECT_EQ(LegalMoveFromText(pos, "e1g1"), Move(0xDF3E));  // castling as the king's move
  EXPECT_EQ(LegalMoveFromText(pos, "e1c1"), Move(0xFF3A));
  EXPECT_EQ(LegalMoveFromText(pos, "b7b8"), MOVE_NONE);  // a promotion names its piece
  EXPECT_EQ(LegalMoveFromText(pos, "b7b8Q"), MOVE_NONE);
  EXPECT_EQ(LegalMoveFromText(pos, "e2e4"), MOVE_NONE);
  EXPECT_EQ(LegalMoveFromText(pos, ""), MOVE_NONE);
  // In check from the rook on e2: no castling, and no step along its rank.
  ASSERT_TRUE(SetupPosition(pos, "r3k3/8/8/8/8/8/4r3/R3K2R w KQq -"));
  EXPECT_EQ(LegalMoveFromText(pos, "e1e2"), textMove("e1e2", CAPTURE));
  EXPECT_EQ(LegalMoveFromText(pos, "e1g1"), MOVE_NONE);
  EXPECT_EQ(LegalMoveFromText(pos, "e1d2"), MOVE_NONE);
}

}  // namespace

namespace {

// Legal moves found by trying every move word the validator accepts, against those the legal
// move list gives: the two routes must agree exactly, in and out of check. Every generated move
// passes the validator too, and each legal move is found again from its text.
std::set<Move> legalByValidation(Position& pos) {
  const int side = pos.sideToMove;
  std::set<Move> legal;
  for (Square f = 0; f < 64; ++f) {
    if (pos.board[f] == EMPTY || colourOf(pos.board[f]) != side) continue;
    for (Square t = 0; t < 64; ++t)
      for (int type = 0; type < 16; ++type) {
        const Move m = makeMoveWord(f, t, type);
        if (type == MARKER || !isPseudoLegal(pos, m)) continue;
        makeMove(pos, m);
        if (!kingAttackedAfter(pos, m, side)) legal.insert(m);
        unmakeMove(pos, m);
      }
  }
  return legal;
}

std::set<Move> legalByGeneration(Position& pos) {
  for (Move m : nodeMoves(pos)) EXPECT_TRUE(isPseudoLegal(pos, m)) << moveText(m);
  Move moves[MAX_GENERATED_MOVES];
  const int count = GenerateLegalMoves(pos, moves);
  for (int i = 0; i < count; ++i) EXPECT_EQ(LegalMoveFromText(pos, moveText(moves[i]).c_str()), moves[i]);
  return std::set<Move>(moves, moves + count);
}

TEST(IsPseudoLegal, AgreesWithTheGeneratorsOnLegalMoves) {
  const char* fens[] = {
      START_FEN,
      "r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq -",
      "8/2p5/3p4/KP5r/1R3p1k/8/4P1P1/8 w - -",
      "r3k2r/Pppp1ppp/1b3nbN/nP6/BBP1P3/q4N2/Pp1P2PP/R2Q1RK1 w kq -",
      "rnbq1k1r/pp1Pbppp/2p5/8/2B5/8/PPP1NnPP/RNBQK2R w KQ -",
      "4kb2/8/8/3pP3/8/K7/8/8 w - d6",
      "r3k2r/1P4P1/8/8/8/8/1p4p1/R3K2R w KQkq -",
  };
  for (const char* fen : fens) {
    SCOPED_TRACE(fen);
    Position pos;
    ASSERT_TRUE(SetupPosition(pos, fen));
    const std::set<Move> rootMoves = legalByGeneration(pos);
    EXPECT_EQ(rootMoves, legalByValidation(pos));
    const int side = pos.sideToMove;
    for (Move m : rootMoves) {
      makeMove(pos, m);
      ASSERT_FALSE(kingAttackedAfter(pos, m, side));
      EXPECT_EQ(legalByGeneration(pos), legalByValidation(pos)) << "after " << moveText(m);
      unmakeMove(pos, m);
    }
  }
}

}  // namespace
