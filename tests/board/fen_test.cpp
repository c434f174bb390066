// FEN/EPD setup, FEN output and the board diagram.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "board/fen.h"
#include "board/position.h"

namespace {

std::string fen() {
  char buffer[128];
  PositionToFen(buffer);
  return buffer;
}

TEST(Fen, StartPositionFields) {
  ASSERT_TRUE(SetupPosition(START_FEN));
  EXPECT_EQ(pos.totalMaterial, 78);
  EXPECT_EQ(pos.pieceMaterial[WHITE], 31);
  EXPECT_EQ(pos.pieceMaterial[BLACK], 31);
  EXPECT_EQ(pos.pawnCount[WHITE], 8);
  EXPECT_EQ(pos.pawnCount[BLACK], 8);
  EXPECT_EQ(pos.castleRights, 0x1B);
  EXPECT_EQ(pos.rootCastleRights, 0x1B);
  EXPECT_EQ(pos.epSquare, 0);
  EXPECT_EQ(pos.kingSquare[WHITE], E1);
  EXPECT_EQ(pos.kingSquare[BLACK], E8);
  EXPECT_EQ(pos.sideToMove, WHITE);
  EXPECT_EQ(pos.plyCount, 1);
  EXPECT_EQ(pos.historyTop, pos.history);
  EXPECT_EQ(pos.history[0].key, pos.hashKey);
  EXPECT_EQ(__builtin_popcountll(pos.occupied), 32);
  EXPECT_EQ(pos.colourPieces[WHITE], 0xFFFFull);  // ranks 1 and 2: the low 16 bits
  EXPECT_EQ(std::memcmp(pos.rootBoard, pos.board, 64), 0);
  EXPECT_EQ(fen(), START_FEN);
}

TEST(Fen, RoundTrips) {
  for (const char* text : {
           "r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq -",
           "8/2p5/3p4/KP5r/1R3p1k/8/4P1P1/8 w - -",
           "rnbqkbnr/ppp1p1pp/8/3pPp2/8/8/PPPP1PPP/RNBQKBNR w KQkq f6",
           "4k3/8/8/8/3pP3/8/8/4K3 b - e3",
           "r3k3/8/8/8/8/8/8/4K2R b Kq -",
       }) {
    ASSERT_TRUE(SetupPosition(text)) << text;
    EXPECT_EQ(fen(), text);
  }
}

TEST(Fen, IgnoresMoveCountersAndAcceptsSeparatorFreePlacement) {
  ASSERT_TRUE(SetupPosition("  4k3/8/8/8/8/8/8/4K3 w - - 0 57"));
  EXPECT_EQ(pos.plyCount, 1);
  EXPECT_EQ(pos.totalMaterial, 0);
  ASSERT_TRUE(SetupPosition("4k3888888/4K3 B - -"));  // rank separators carry no meaning
  EXPECT_EQ(fen(), "4k3/8/8/8/8/8/8/4K3 b - -");
}

TEST(Fen, RefusalLeavesThePreviousPositionUntouched) {
  const char* before = "r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R b KQkq -";
  ASSERT_TRUE(SetupPosition(before));
  HashKey key = pos.hashKey;
  int material = pos.totalMaterial;
  for (const char* bad : {
           "rnbqkbnr/ppppXppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq -",  // bad placement character
           "rnbqkbnr/pppppppp/9/8/8/8/PPPPPPPP/RNBQKBNR w KQkq -",   // 9 is no run length
           "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR x KQkq -",   // bad side character
           "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR",            // text ends before the side
           "rnbqkbnr/pppp",                                          // short placement
           "rnbq1bnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQ -",     // black king missing
           "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKKNR w kq -",     // two white kings
           "",
       }) {
    EXPECT_FALSE(SetupPosition(bad)) << bad;
    EXPECT_EQ(fen(), before) << bad;
    EXPECT_EQ(pos.hashKey, key) << bad;
    EXPECT_EQ(pos.totalMaterial, material) << bad;
    EXPECT_EQ(pos.sideToMove, BLACK) << bad;
  }
}

TEST(Fen, CastlingRightsNeedKingAndRookAtHome) {
  ASSERT_TRUE(SetupPosition("r3k2r/8/8/8/8/8/8/R4K1R w KQkq -"));  // white king off e1
  EXPECT_EQ(pos.castleRights, BLACK_SHORT | BLACK_LONG);
  ASSERT_TRUE(SetupPosition("1r2k2r/8/8/8/8/8/8/R3K1R1 w KQkq -"));  // rooks off a8 and h1
  EXPECT_EQ(pos.castleRights, WHITE_LONG | BLACK_SHORT);
  EXPECT_EQ(pos.rootCastleRights, pos.castleRights);
}

TEST(Fen, EnPassantSquareNeedsTheDoubleStep) {
  ASSERT_TRUE(SetupPosition("4k3/8/8/3pP3/8/8/8/4K3 w - d6"));
  EXPECT_EQ(pos.epSquare, D6);
  EXPECT_EQ(pos.rootEpSquare, D6);
  ASSERT_TRUE(SetupPosition("4k3/8/8/4P3/8/8/8/4K3 w - d6"));  // no black pawn on d5
  EXPECT_EQ(pos.epSquare, 0);
  ASSERT_TRUE(SetupPosition("4k3/3p4/8/3pP3/8/8/8/4K3 w - d6"));  // d7 still occupied
  EXPECT_EQ(pos.epSquare, 0);
  ASSERT_TRUE(SetupPosition("4k3/8/8/3pP3/8/8/8/4K3 b - d6"));  // black cannot have just moved
  EXPECT_EQ(pos.epSquare, 0);
  ASSERT_TRUE(SetupPosition("4k3/8/8/8/8/8/8/4K3 w - z9"));  // no square at all
  EXPECT_EQ(pos.epSquare, 0);
}

// xboard's "white" after a double step once left the en-passant square in place, and the side
// put on move generated a pawn "capture" onto it from behind.
TEST(Fen, SideSetByHandLosesTheEnPassantRight) {
  ASSERT_TRUE(SetupPosition("4k3/8/8/8/3pP3/8/8/4K3 w - -"));
  const HashKey hashKey = pos.hashKey;
  const uint32_t pawnKey = pos.pawnKey;
  ASSERT_TRUE(SetupPosition("4k3/8/8/8/3pP3/8/8/4K3 b - e3"));
  ASSERT_EQ(pos.epSquare, E3);
  SetSideToMove(BLACK);  // no change: the right stays
  EXPECT_EQ(pos.epSquare, E3);
  SetSideToMove(WHITE);
  EXPECT_EQ(pos.sideToMove, WHITE);
  EXPECT_EQ(pos.rootSideToMove, WHITE);
  EXPECT_EQ(pos.epSquare, 0);
  EXPECT_EQ(pos.rootEpSquare, 0);
  EXPECT_EQ(pos.hashKey, hashKey);
  EXPECT_EQ(pos.pawnKey, pawnKey);
}

TEST(Fen, EpdOperationPendingOnlyWhenTerminated) {
  ASSERT_TRUE(SetupPosition("rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - bm e4; id \"x\";"));
  EXPECT_EQ(epdPending.kind, 'b');
  EXPECT_STREQ(epdPending.text, "e4");
  ASSERT_TRUE(SetupPosition("rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - am Nf3 ;"));
  EXPECT_EQ(epdPending.kind, 'a');
  EXPECT_STREQ(epdPending.text, "Nf3");
  ASSERT_TRUE(SetupPosition("rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - bm e4"));
  EXPECT_EQ(epdPending.kind, 0);
  // Only the first "a" or "b" after the fields is looked at.
  ASSERT_TRUE(SetupPosition("rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - c0 \"abc\"; bm e4;"));
  EXPECT_EQ(epdPending.kind, 0);
  // At most nine characters of move text.
  ASSERT_TRUE(SetupPosition("rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - bm abcdefghijkl;"));
  EXPECT_STREQ(epdPending.text, "");
  EXPECT_EQ(epdPending.kind, 0);
}

TEST(Fen, PrintBoardFormat) {
  ASSERT_TRUE(SetupPosition(START_FEN));
  testing::internal::CaptureStdout();
  PrintBoard(pos.board);
  std::fflush(stdout);
  EXPECT_EQ(testing::internal::GetCapturedStdout(),
            "\n8 r n b q k b n r \n7 p p p p p p p p \n6 . . . . . . . . \n5 . . . . . . . . "
            "\n4 . . . . . . . . \n3 . . . . . . . . \n2 P P P P P P P P \n1 R N B Q K B N R "
            "\n\n  A B C D E F G H\n");
}

}  // namespace
