// FEN/EPD setup, FEN output and the board diagram.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <utility>

#include "board/fen.h"
#include "board/position.h"
#include "board/zobrist.h"

namespace {

std::string fen(const Position& pos) {
  char buffer[128];
  PositionToFen(pos, buffer);
  return buffer;
}

TEST(Fen, StartPositionFields) {
  Position pos;
  ASSERT_TRUE(SetupPosition(pos, START_FEN));
  EXPECT_EQ(pos.totalMaterial, 78);
  EXPECT_EQ(pos.pieceMaterial[WHITE], 31);
  EXPECT_EQ(pos.pieceMaterial[BLACK], 31);
  EXPECT_EQ(pos.pawnCount[WHITE], 8);
  EXPECT_EQ(pos.pawnCount[BLACK], 8);
  EXPECT_EQ(pos.castleRights, 0x1B);
  EXPECT_EQ(pos.epSquare, 0);
  EXPECT_EQ(pos.kingSquare[WHITE], E1);
  EXPECT_EQ(pos.kingSquare[BLACK], E8);
  EXPECT_EQ(pos.sideToMove, WHITE);
  EXPECT_EQ(pos.plyCount, 1);
  EXPECT_EQ(pos.historyTop, pos.history);
  EXPECT_TRUE(PositionOk(pos));  // the first history entry holds the keys, rights and square
  EXPECT_EQ(pos.history[0].reversibleCount, 0);
  EXPECT_EQ(__builtin_popcountll(pos.occ.all), 32);
  EXPECT_EQ(pos.colourPieces[WHITE], 0xFFFFull);  // ranks 1 and 2: the low 16 bits
  EXPECT_EQ(fen(pos), START_FEN);
}

TEST(Fen, RoundTrips) {
  Position pos;
  for (const char* text : {
           "r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq -",
           "8/2p5/3p4/KP5r/1R3p1k/8/4P1P1/8 w - -",
           "rnbqkbnr/ppp1p1pp/8/3pPp2/8/8/PPPP1PPP/RNBQKBNR w KQkq f6",
           "4k3/8/8/8/3pP3/8/8/4K3 b - e3",
           "r3k3/8/8/8/8/8/8/4K2R b Kq -",
       }) {
    ASSERT_TRUE(SetupPosition(pos, text)) << text;
    EXPECT_EQ(fen(pos), text);
  }
}

// The half-move clock is read (the fifty-move rule counts from it); the move number is read and
// left: the game's plies count from its setup.
TEST(Fen, ReadsTheHalfMoveClock) {
  Position pos;
  ASSERT_TRUE(SetupPosition(pos, "  4k3/8/8/8/8/8/8/4K3 w - - 37 57"));
  EXPECT_EQ(pos.plyCount, 1);
  EXPECT_EQ(pos.totalMaterial, 0);
  EXPECT_EQ(pos.historyTop->reversibleCount, 37);
  ASSERT_TRUE(SetupPosition(pos, "4k3/8/8/8/8/8/8/4K3 b - -"));  // EPD has no counters
  EXPECT_EQ(pos.historyTop->reversibleCount, 0);
}

// Front ends show a position the engine refuses as refused: a placement must be eight ranks of
// eight squares each, and no pawn stands on the first or last rank.
TEST(Fen, PlacementIsReadStrictly) {
  Position pos;
  for (const char* fen : {"4k3888888/4K3 b - -", "4k3/8/8/8/8/8/8/4K3/8 w - -", "4k3/8/8/8/8/8/8 w - -",
                          "4k3/8/8/8/8/8/8/4K31 w - -", "4k3/8/8/8/8/8/8/4K2 w - -", "4k3/8/8/8/8/8/8/R3K2kQ w - -",
                          "4k2P/8/8/8/8/8/8/4K3 w - -", "4k3/8/8/8/8/8/8/p3K3 w - -", "4k3/8/8/8/8/8/8/4K3w - -"})
    EXPECT_FALSE(SetupPosition(pos, fen)) << fen;
  EXPECT_TRUE(SetupPosition(pos, "4k3/8/8/8/8/8/P7/4K3 w - -"));
}

TEST(Fen, RefusalLeavesThePreviousPositionUntouched) {
  Position pos;
  const char* before = "r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R b KQkq -";
  ASSERT_TRUE(SetupPosition(pos, before));
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
    EXPECT_FALSE(SetupPosition(pos, bad)) << bad;
    EXPECT_EQ(fen(pos), before) << bad;
    EXPECT_EQ(pos.hashKey, key) << bad;
    EXPECT_EQ(pos.totalMaterial, material) << bad;
    EXPECT_EQ(pos.sideToMove, BLACK) << bad;
  }
}

TEST(Fen, CastlingRightsNeedKingAndRookAtHome) {
  Position pos;
  ASSERT_TRUE(SetupPosition(pos, "r3k2r/8/8/8/8/8/8/R4K1R w KQkq -"));  // white king off e1
  EXPECT_EQ(pos.castleRights, BLACK_SHORT | BLACK_LONG);
  ASSERT_TRUE(SetupPosition(pos, "1r2k2r/8/8/8/8/8/8/R3K1R1 w KQkq -"));  // rooks off a8 and h1
  EXPECT_EQ(pos.castleRights, WHITE_LONG | BLACK_SHORT);
}

TEST(Fen, EnPassantSquareNeedsTheDoubleStep) {
  Position pos, plain;
  ASSERT_TRUE(SetupPosition(pos, "4k3/8/8/3pP3/8/8/8/4K3 w - d6"));
  EXPECT_EQ(pos.epSquare, D6);
  // The square enters both keys, as after the double step itself.
  ASSERT_TRUE(SetupPosition(plain, "4k3/8/8/3pP3/8/8/8/4K3 w - -"));
  EXPECT_EQ(pos.hashKey, plain.hashKey ^ ZobristKeys[EMPTY][D6]);
  EXPECT_EQ(pos.pawnKey, plain.pawnKey ^ uint32_t(ZobristKeys[EMPTY][D6]));
  // A square that no double step explains is dropped, from the keys too.
  const std::pair<const char*, const char*> unexplained[] = {
      {"4k3/8/8/4P3/8/8/8/4K3 w - d6", "4k3/8/8/4P3/8/8/8/4K3 w - -"},        // no black pawn on d5
      {"4k3/3p4/8/3pP3/8/8/8/4K3 w - d6", "4k3/3p4/8/3pP3/8/8/8/4K3 w - -"},  // d7 still occupied
      {"4k3/8/8/3pP3/8/8/8/4K3 b - d6", "4k3/8/8/3pP3/8/8/8/4K3 b - -"},      // black cannot have just moved
      {"4k3/8/8/8/8/8/8/4K3 w - z9", "4k3/8/8/8/8/8/8/4K3 w - -"},            // no square at all
  };
  for (const auto& [text, without] : unexplained) {
    ASSERT_TRUE(SetupPosition(pos, text)) << text;
    ASSERT_TRUE(SetupPosition(plain, without)) << without;
    EXPECT_EQ(pos.epSquare, 0) << text;
    EXPECT_EQ(pos.hashKey, plain.hashKey) << text;
    EXPECT_EQ(pos.pawnKey, plain.pawnKey) << text;
  }
}

TEST(Fen, EpdOperationOnlyWhenTerminated) {
  Position pos;
  EpdOperation epdPending;
  ASSERT_TRUE(SetupPosition(pos, "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - bm e4; id \"x\";", &epdPending));
  EXPECT_EQ(epdPending.kind, 'b');
  EXPECT_STREQ(epdPending.text, "e4");
  ASSERT_TRUE(SetupPosition(pos, "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - am Nf3 ;", &epdPending));
  EXPECT_EQ(epdPending.kind, 'a');
  EXPECT_STREQ(epdPending.text, "Nf3");
  ASSERT_TRUE(SetupPosition(pos, "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - bm e4", &epdPending));
  EXPECT_EQ(epdPending.kind, 0);
  // Only the first "a" or "b" after the fields is looked at.
  ASSERT_TRUE(SetupPosition(pos, "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - c0 \"abc\"; bm e4;", &epdPending));
  EXPECT_EQ(epdPending.kind, 0);
  // At most nine characters of move text.
  ASSERT_TRUE(SetupPosition(pos, "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - bm abcdefghijkl;", &epdPending));
  EXPECT_STREQ(epdPending.text, "");
  EXPECT_EQ(epdPending.kind, 0);
}

TEST(Fen, PrintBoardFormat) {
  Position pos;
  ASSERT_TRUE(SetupPosition(pos, START_FEN));
  testing::internal::CaptureStdout();
  PrintBoard(pos.board);
  std::fflush(stdout);
  EXPECT_EQ(testing::internal::GetCapturedStdout(),
            "\n8 r n b q k b n r \n7 p p p p p p p p \n6 . . . . . . . . \n5 . . . . . . . . "
            "\n4 . . . . . . . . \n3 . . . . . . . . \n2 P P P P P P P P \n1 R N B Q K B N R "
            "\n\n  A B C D E F G H\n");
}

}  // namespace
