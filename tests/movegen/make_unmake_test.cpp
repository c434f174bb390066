// Make and unmake: full restoration, incremental keys and the exact key changes of castling,
// corner captures, promotions and the null move.
#include <set>
#include <string>

#include "board/tables.h"
#include "board/zobrist.h"
#include "movegen/make_move.h"
#include "movegen/validate.h"
#include "movegen_fixture.h"
#include "support/scratch_dir.h"

namespace {

constexpr HashKey KEY_WHITE_SHORT = 0xCED259CCB5DBD866ULL;
constexpr HashKey KEY_WHITE_LONG = 0xB6EB38B5736CA771ULL;
constexpr HashKey KEY_BLACK_SHORT = 0x30417CFC9915AA11ULL;
constexpr HashKey KEY_E1G1 = 0x9FF1351D4A1C52C3ULL;

uint32_t pawnKeyFromScratch(const Position& pos) {
  uint32_t key = 0;
  for (Square sq = 0; sq < 64; ++sq)
    if (isPawn(pos.board[sq])) key ^= uint32_t(ZobristKeys[pos.board[sq]][sq]);
  if (pos.epSquare) key ^= uint32_t(ZobristKeys[EMPTY][pos.epSquare]);
  return key;
}

// Walks every pseudo-legal move to `depth`, checking the pawn key after each make and the whole
// position after each take-back; records the move types seen.
void walk(Position& pos, int depth, std::set<int>& typesSeen) {
  const int side = pos.sideToMove;
  for (Move m : nodeMoves(pos)) {
    const Position before = pos;
    makeMove(pos, m);
    typesSeen.insert(moveType(m));
    ASSERT_EQ(pos.pawnKey, pawnKeyFromScratch(pos)) << moveText(m);
    ASSERT_EQ(pos.historyTop->key, pos.hashKey);
    if (depth > 1 && !kingAttackedAfter(pos, m, side)) walk(pos, depth - 1, typesSeen);
    unmakeMove(pos, m);
    expectPositionAsBefore(before, pos, moveText(m));
    if (::testing::Test::HasFailure()) return;
  }
}

TEST(MakeUnmake, RestoresEverythingForEveryMoveType) {
  const char* fens[] = {
      "r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq -",
      "r3k2r/Pppp1ppp/1b3nbN/nP6/BBP1P3/q4N2/Pp1P2PP/R2Q1RK1 w kq -",
      // Rooks and promotions that capture on the corners, castling both ways for both sides.
      "r3k2r/1P4P1/8/8/8/8/1p4p1/R3K2R w KQkq -",
      "r3k2r/1P4P1/8/8/8/8/1p4p1/R3K2R b KQkq -",
      // En passant available at the root.
      "rnbqkbnr/ppp1p1pp/8/3pPp2/8/8/PPPP1PPP/RNBQKBNR w KQkq f6",
  };
  std::set<int> typesSeen;
  for (const char* fen : fens) {
    SCOPED_TRACE(fen);
    Position pos;
    ASSERT_TRUE(SetupPosition(pos, fen));
    walk(pos, 3, typesSeen);
    if (HasFailure()) return;
  }
  for (int type : {0, 1, 2, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15})
    EXPECT_TRUE(typesSeen.count(type)) << "move type " << type << " never exercised";
}

TEST(MakeUnmake, NullMoveDropsAndRestoresTheEnPassantKey) {
  Position pos;
  ASSERT_TRUE(SetupPosition(pos, "rnbqkbnr/ppp1p1pp/8/3pPp2/8/8/PPPP1PPP/RNBQKBNR w KQkq f6"));
  const Position before = pos;
  const HashKey ep = ZobristKeys[EMPTY][F6];
  makeNullMove(pos);
  EXPECT_EQ(pos.hashKey, before.hashKey ^ ep);
  EXPECT_EQ(pos.pawnKey, before.pawnKey ^ uint32_t(ep));
  EXPECT_EQ(pos.epSquare, 0);
  EXPECT_EQ(pos.sideToMove, BLACK);
  EXPECT_EQ(pos.historyTop - pos.history, 1);
  EXPECT_EQ(pos.history[0].move, NULL_MOVE);
  EXPECT_EQ(pos.historyTop->reversibleCount, 1);
  EXPECT_EQ(pos.historyTop->key, pos.hashKey);
  unmakeNullMove(pos);
  expectPositionAsBefore(before, pos, "null move");
}

class KeyChange : public ::testing::Test {
 protected:
  // Makes one move and returns the key difference.
  HashKey play(const char* fen, const char* move, int type) {
    EXPECT_TRUE(SetupPosition(pos, fen)) << fen;
    HashKey before = pos.hashKey;
    makeMove(pos, textMove(move, type));
    return before ^ pos.hashKey;
  }
  Position pos;
};

TEST_F(KeyChange, DoubleStepAddsTheEnPassantKeyEvenWithoutCapturer) {
  HashKey diff = play(START_FEN, "e2e4", QUIET);
  EXPECT_EQ(pos.epSquare, E3);
  EXPECT_EQ(diff, ZobristKeys[WPAWN][E2] ^ ZobristKeys[WPAWN][E4] ^ ZobristKeys[EMPTY][E3]);
  EXPECT_EQ(pos.pawnKey, pawnKeyFromScratch(pos));
}

TEST_F(KeyChange, CaptureOnH8LosesBlackShortRight) {
  HashKey diff = play("r3k2r/8/8/8/8/8/8/4K2R w Kkq -", "h1h8", CAPTURE);
  EXPECT_EQ(pos.castleRights, BLACK_LONG);
  // The take-back finds the move and the captured rook in the entry it was played from.
  EXPECT_EQ(pos.history[0].move, textMove("h1h8", CAPTURE));
  EXPECT_EQ(pos.history[0].captured, BROOK);
  EXPECT_EQ(diff, ZobristKeys[WROOK][H1] ^ ZobristKeys[WROOK][H8] ^ ZobristKeys[BROOK][H8] ^ KEY_WHITE_SHORT ^
                      KEY_BLACK_SHORT);
}

TEST_F(KeyChange, KingStepLosesBothRights) {
  HashKey diff = play("r3k2r/8/8/8/8/8/8/R3K2R w KQkq -", "e1f1", QUIET);
  EXPECT_EQ(pos.castleRights, BLACK_SHORT | BLACK_LONG);
  EXPECT_EQ(diff, ZobristKeys[WKING][E1] ^ ZobristKeys[WKING][F1] ^ KEY_WHITE_SHORT ^ KEY_WHITE_LONG);
  EXPECT_EQ(pos.historyTop->reversibleCount, 1);
}

TEST_F(KeyChange, CastlingUsesItsOwnConstants) {
  ASSERT_TRUE(SetupPosition(pos, "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQK2R w KQkq -"));
  uint32_t pawnKey = pos.pawnKey;
  HashKey diff = play("rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQK2R w KQkq -", "e1g1", WHITE_CASTLE_SHORT);
  EXPECT_EQ(diff, KEY_WHITE_SHORT ^ KEY_WHITE_LONG ^ KEY_E1G1);
  EXPECT_EQ(pos.pawnKey, pawnKey);
  EXPECT_EQ(pos.board[G1], WKING);
  EXPECT_EQ(pos.board[F1], WROOK);
  EXPECT_EQ(pos.board[H1], EMPTY);
  EXPECT_EQ(pos.kingSquare[WHITE], G1);
  EXPECT_EQ(pos.historyTop->reversibleCount, 0);
}

TEST_F(KeyChange, PromotionCountsMaterial) {
  ASSERT_TRUE(SetupPosition(pos, "k7/3P4/8/8/8/8/8/4K3 w - -"));
  int total = pos.totalMaterial, white = pos.pieceMaterial[WHITE], pawns = pos.pawnCount[WHITE];
  play("k7/3P4/8/8/8/8/8/4K3 w - -", "d7d8", PROMO_Q);
  EXPECT_EQ(pos.totalMaterial, total + 8);
  EXPECT_EQ(pos.pieceMaterial[WHITE], white + 9);
  EXPECT_EQ(pos.pawnCount[WHITE], pawns - 1);
  EXPECT_EQ(pos.board[D8], WQUEEN);
  EXPECT_EQ(pos.historyTop->reversibleCount, 0);
}

// Reaches a position through a list of game moves given as text.
Position reached(const char* fen, std::initializer_list<const char*> moves) {
  Position pos;
  EXPECT_TRUE(SetupPosition(pos, fen));
  for (const char* text : moves) EXPECT_TRUE(MakeRealMove(pos, ParseCoordinateMove(pos, text))) << text;
  return pos;
}

TEST(HashKey, SamePositionByDifferentOrdersHasTheSameKeys) {
  EXPECT_EQ(reached(START_FEN, {"d2d3", "e7e6", "g1f3", "b8c6"}).hashKey,
            reached(START_FEN, {"g1f3", "b8c6", "d2d3", "e7e6"}).hashKey);
  const char* rooks = "r3k2r/8/8/8/8/8/8/R3K2R w KQkq -";
  const Position castledFirst = reached(rooks, {"e1g1", "a8b8", "a1a2", "h8h7"});
  const Position castledLast = reached(rooks, {"a1a2", "h8h7", "e1g1", "a8b8"});
  EXPECT_EQ(castledFirst.hashKey, castledLast.hashKey);
  EXPECT_EQ(castledFirst.pawnKey, castledLast.pawnKey);
}

TEST(MakeUnmake, MarkerWordIsRefusedWithoutChangingThePosition) {
  ScratchDir dir;
  InDirectory here(dir.path());
  Position pos;
  ASSERT_TRUE(SetupPosition(pos, START_FEN));
  const Position before = pos;
  ::testing::internal::CaptureStdout();
  EXPECT_THROW(makeMove(pos, NULL_MOVE), MoveError);
  std::string board = ::testing::internal::GetCapturedStdout();
  EXPECT_NE(board.find("8 r n b q k b n r"), std::string::npos);
  expectPositionAsBefore(before, pos, "marker word");
  const std::string report = dir.read("!error.err");
  EXPECT_NE(report.find("\n MV_NOT_VALID: 12548; from=4; to=4; type=3\n"), std::string::npos) << report;
  EXPECT_NE(report.find("islegal? : illegal\n"), std::string::npos) << report;
  EXPECT_THROW(unmakeMove(pos, NULL_MOVE), MoveError);
  expectPositionAsBefore(before, pos, "marker word taken back");
}

}  // namespace
