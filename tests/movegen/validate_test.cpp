// Validation of outside moves and playing game moves.
#include <unistd.h>

#include <set>
#include <string>
#include <vector>

#include "board/tables.h"
#include "movegen/make_move.h"
#include "movegen/validate.h"
#include "movegen_fixture.h"

namespace {

TEST(IsPseudoLegal, Refusals) {
  setUpPosition(START_FEN);
  EXPECT_FALSE(isPseudoLegal(textMove("e3e4", QUIET)));  // empty origin
  EXPECT_FALSE(isPseudoLegal(textMove("e7e5", QUIET)));  // the other side's pawn
  EXPECT_TRUE(isPseudoLegal(textMove("e2e4", QUIET)));
  EXPECT_FALSE(isPseudoLegal(textMove("e2e5", QUIET)));
  EXPECT_FALSE(isPseudoLegal(textMove("g1g3", QUIET)));
  EXPECT_FALSE(isPseudoLegal(textMove("f1c4", QUIET)));  // the e2 pawn blocks the diagonal
  setUpPosition("rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR b KQkq -");
  EXPECT_FALSE(isPseudoLegal(textMove("e2e3", QUIET)));  // empty for black: a white pawn
  EXPECT_FALSE(isPseudoLegal(textMove("e6e5", QUIET)));
  EXPECT_TRUE(isPseudoLegal(textMove("e7e5", QUIET)));
}

TEST(IsPseudoLegal, KingCaptureAndKingsSideBySide) {
  // Black leaves its king en prise (make without a legality test); taking it is still refused.
  setUpPosition("4k3/8/8/8/8/8/4R3/4K3 b - -");
  ++plies.current;
  saveSnapshot(plies.current);
  makeMove(textMove("e8e7", QUIET), plies.current);
  EXPECT_FALSE(isPseudoLegal(textMove("e2e7", CAPTURE)));
  EXPECT_TRUE(isPseudoLegal(textMove("e2e6", QUIET)));
  unmakeMove(textMove("e8e7", QUIET), plies.current);

  setUpPosition("8/8/8/3k4/8/3K4/8/8 w - -");
  EXPECT_FALSE(isPseudoLegal(textMove("d3d4", QUIET)));
  EXPECT_FALSE(isPseudoLegal(textMove("d3c4", QUIET)));
  EXPECT_TRUE(isPseudoLegal(textMove("d3c3", QUIET)));
  EXPECT_FALSE(isPseudoLegal(textMove("d3d1", QUIET)));  // not a king step
}

TEST(IsPseudoLegal, Castling) {
  setUpPosition("4k3/8/8/8/8/8/8/4K2R w - -");
  EXPECT_FALSE(isPseudoLegal(0xDF3E));
  setUpPosition("4k3/8/8/8/8/8/8/4K2R w K -");
  EXPECT_TRUE(isPseudoLegal(0xDF3E));
  EXPECT_FALSE(isPseudoLegal(0xFF3A));
  setUpPosition("4k3/8/8/8/8/8/8/4KB1R w K -");
  EXPECT_FALSE(isPseudoLegal(0xDF3E));  // f1 occupied
  setUpPosition("r3k3/8/8/8/8/8/8/4K3 b q -");
  EXPECT_TRUE(isPseudoLegal(0xE102));
  EXPECT_FALSE(isPseudoLegal(0xDF3E));  // white's castling with black to move
}

TEST(IsPseudoLegal, PawnEdgesAndEnPassant) {
  // h4 to a4 is numerically a capture toward the h-file but wraps the board edge.
  setUpPosition("4k3/8/8/8/n6P/8/8/4K3 w - -");
  EXPECT_FALSE(isPseudoLegal(textMove("h4a4", CAPTURE)));
  // Pawn moves onto the last rank must name the promotion.
  setUpPosition("1n2k3/P7/8/8/8/8/8/4K3 w - -");
  EXPECT_FALSE(isPseudoLegal(textMove("a7a8", QUIET)));
  EXPECT_TRUE(isPseudoLegal(textMove("a7a8", PROMO_Q)));
  EXPECT_FALSE(isPseudoLegal(textMove("a7b8", CAPTURE)));
  EXPECT_TRUE(isPseudoLegal(textMove("a7b8", CAPTURE_PROMO_N)));
  // En passant only from a square diagonally behind the target.
  setUpPosition("4k3/8/8/pP1P4/8/8/8/4K3 w - a6");
  EXPECT_EQ(pos.epSquare, A6);
  EXPECT_TRUE(isPseudoLegal(textMove("b5a6", EN_PASSANT)));
  EXPECT_FALSE(isPseudoLegal(textMove("d5a6", EN_PASSANT)));
  EXPECT_FALSE(isPseudoLegal(textMove("b5b6", EN_PASSANT)));
}

TEST(MakeRealMove, PlaysIntoTheRootSnapshot) {
  setUpPosition(START_FEN);
  MakeRealMove(textMove("e2e4", QUIET));
  EXPECT_EQ(pos.epSquare, E3);
  EXPECT_EQ(pos.rootEpSquare, E3);
  EXPECT_EQ(pos.rootSideToMove, BLACK);
  EXPECT_EQ(pos.sideToMove, BLACK);
  EXPECT_EQ(pos.rootBoard[E4], WPAWN);
  EXPECT_EQ(pos.plyCount, 2);
  EXPECT_EQ(pos.searchAge, 2);
  MakeRealMove(textMove("g8f6", QUIET));
  EXPECT_EQ(pos.rootEpSquare, 0);
  EXPECT_EQ(pos.rootSideToMove, WHITE);
  EXPECT_EQ(pos.historyTop - pos.history, 2);
}

// Runs MakeRealMove expecting a refusal; returns what it printed.
std::string refusedOutput(Move m) {
  ::testing::internal::CaptureStdout();
  EXPECT_THROW(MakeRealMove(m), MoveError);
  return ::testing::internal::GetCapturedStdout();
}

TEST(MakeRealMove, RefusalsLeaveThePositionUnchanged) {
  // The king may not step into the rook's rank.
  setUpPosition("4k3/8/8/8/8/8/3r4/4K3 w - -");
  Position before = pos;
  std::string out = refusedOutput(textMove("e1e2", QUIET));
  EXPECT_NE(out.find("Illegal Move: e1e2\n"), std::string::npos);
  EXPECT_NE(out.find("1 . . . . K . . . "), std::string::npos);
  expectPositionAsBefore(before, "move into check");
  // A pinned knight may not leave the line.
  setUpPosition("4k3/4r3/8/8/8/8/4N3/4K3 w - -");
  before = pos;
  refusedOutput(textMove("e2c3", QUIET));
  expectPositionAsBefore(before, "pinned piece");
  // Castling through an attacked square.
  setUpPosition("4k3/8/8/8/8/8/6b1/4K2R w K -");
  before = pos;
  refusedOutput(0xDF3E);
  expectPositionAsBefore(before, "castling through check");
  // Marker words and moves the position does not allow.
  before = pos;
  EXPECT_NE(refusedOutput(NULL_MOVE).find("Illegal Move: e8e8\n"), std::string::npos);
  refusedOutput(textMove("a2a4", QUIET));
  expectPositionAsBefore(before, "marker and empty square");
}

TEST(MakeRealMove, LongGamesKeepRoomInTheHistory) {
  setUpPosition(START_FEN);
  const char* shuffle[4] = {"g1f3", "g8f6", "f3g1", "f6g8"};
  for (int i = 0; i < 3 * HISTORY_SIZE; ++i) {
    MakeRealMove(ParseCoordinateMove(shuffle[i % 4]));
    ASSERT_LE(pos.historyTop - pos.history, HISTORY_SIZE - 256);
    ASSERT_EQ(pos.historyTop->key, pos.hashKey);
  }
  // The counts of reversible plies go on across the move of the history.
  EXPECT_EQ(pos.historyTop->reversibleCount, 3 * HISTORY_SIZE);
  EXPECT_EQ(pos.historyTop[-4].key, pos.hashKey);
}

TEST(SetupPosition, RefusesAPositionWhereTheKingCanBeTakenAndChangesNothing) {
  setUpPosition(START_FEN);
  MakeRealMove(textMove("e2e4", QUIET));
  Position before = pos;
  EXPECT_FALSE(SetupPosition("4k3/8/8/8/8/8/4R3/4K3 w - -"));   // rook attacks e8
  EXPECT_FALSE(SetupPosition("4k3/8/8/8/8/8/3p4/4K3 b - -"));   // pawn attacks e1
  EXPECT_FALSE(SetupPosition("8/8/8/8/8/3k4/3K4/8 w - -"));     // kings side by side
  expectPositionAsBefore(before, "refused setups");
  EXPECT_TRUE(SetupPosition("4k3/8/8/8/8/8/4R3/4K3 b - -"));    // in check, to move: fine
}

}  // namespace

namespace {

// Legal moves found by trying every move word the validator accepts, against those of the
// generators: the two routes must agree exactly, in and out of check.
std::set<Move> legalMoves(bool byValidation) {
  PlyRecord* r = plies.current;
  saveSnapshot(r);
  const int side = pos.sideToMove;
  std::vector<Move> candidates;
  if (byValidation) {
    for (Square f = 0; f < 64; ++f) {
      if (pos.board[f] == EMPTY || colourOf(pos.board[f]) != side) continue;
      for (Square t = 0; t < 64; ++t)
        for (int type = 0; type < 16; ++type)
          if (type != MARKER && isPseudoLegal(makeMoveWord(f, t, type))) candidates.push_back(makeMoveWord(f, t, type));
    }
  } else {
    CheckInfo info;
    computeCheckInfo(&info);
    MoveEntry buffer[MAX_GENERATED_MOVES];
    MoveEntry* end = info.checkers ? generateEvasions[side](buffer, &info) : generateAll[side](buffer);
    for (MoveEntry* e = buffer; e < end; ++e) {
      EXPECT_TRUE(isPseudoLegal(e->move)) << moveText(e->move);
      candidates.push_back(e->move);
    }
  }
  std::set<Move> legal;
  for (Move m : candidates) {
    makeMove(m, r);
    if (!kingAttackedAfter(m, side)) legal.insert(m);
    unmakeMove(m, r);
  }
  return legal;
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
    setUpPosition(fen);
    ++plies.current;
    PlyRecord* root = plies.current;
    std::set<Move> rootMoves = legalMoves(false);
    EXPECT_EQ(rootMoves, legalMoves(true));
    const int side = pos.sideToMove;
    saveSnapshot(root);
    for (Move m : rootMoves) {
      makeMove(m, root);
      ASSERT_FALSE(kingAttackedAfter(m, side));
      plies.current = root + 1;
      EXPECT_EQ(legalMoves(false), legalMoves(true)) << "after " << moveText(m);
      plies.current = root;
      unmakeMove(m, root);
    }
  }
}

}  // namespace
