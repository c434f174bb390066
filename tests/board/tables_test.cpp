#include <gtest/gtest.h>

#include "board/tables.h"
#include "board/zobrist.h"

namespace {

Bitboard squares(std::initializer_list<Square> list) {
  Bitboard b = 0;
  for (Square sq : list) b |= SquareMask[sq];
  return b;
}

// Walks a ray on an explicit occupancy, independently of the rotated tables.
Bitboard slowSlider(Square sq, Bitboard occupied, const int (*dirs)[2], int n) {
  Bitboard out = 0;
  for (int i = 0; i < n; ++i) {
    int r = rowOf(sq) + dirs[i][0], f = fileOf(sq) + dirs[i][1];
    while (r >= 0 && r < 8 && f >= 0 && f < 8) {
      out |= SquareMask[8 * r + f];
      if (occupied & SquareMask[8 * r + f]) break;
      r += dirs[i][0];
      f += dirs[i][1];
    }
  }
  return out;
}

TEST(Tables, RankAttacksOfA8FollowTheStatedPatterns) {
  // Pattern holding only a8 (bit 7): the whole rank to h8; with c8 (bit 5) too: b8 and c8.
  EXPECT_EQ(RankAttacks[A8][0x80], squares({B8, C8, D8, E8, F8, G8, H8}));
  EXPECT_EQ(RankAttacks[A8][0x80 | 0x20], squares({B8, C8}));
}

TEST(Tables, DiagonalPatternsBeyondTheLineLengthAreEmpty) {
  // h8 lies alone on its a1-h8 diagonal: only patterns 0 and 1 exist.
  EXPECT_EQ(DiagMaskA1H8[H8], 0xFF);
  EXPECT_EQ(DiagMaskA1H8[A8], 1);
  EXPECT_EQ(DiagA1H8Attacks[A8][2], 0u);
  EXPECT_EQ(DiagA8H1Attacks[H8][5], 0u);
}

TEST(Tables, RotatedLookupsAgreeWithRayWalksOnRandomOccupancies) {
  static const int rook[4][2] = {{1, 0}, {-1, 0}, {0, 1}, {0, -1}};
  static const int bishop[4][2] = {{1, 1}, {-1, -1}, {1, -1}, {-1, 1}};
  uint64_t state = 12345;
  for (int trial = 0; trial < 500; ++trial) {
    state = state * 6364136223846793005ULL + 1442695040888963407ULL;
    const Bitboard occupied = state & (state >> 7) & (state << 3);
    const Occupancy occ = {occupied, Rot90(occupied), RotA1H8(occupied), RotA8H1(occupied)};
    for (Square sq = 0; sq < 64; ++sq) {
      ASSERT_EQ(rookAttacks(sq, occ), slowSlider(sq, occupied, rook, 4)) << "rook on " << sq;
      ASSERT_EQ(bishopAttacks(sq, occ), slowSlider(sq, occupied, bishop, 4)) << "bishop on " << sq;
    }
  }
}

TEST(Tables, RotatedMasksMatchTheRotations) {
  for (Square sq = 0; sq < 64; ++sq) {
    EXPECT_EQ(Rot90(SquareMask[sq]), SquareMaskRot90[sq]);
    EXPECT_EQ(RotA1H8(SquareMask[sq]), SquareMaskRotA1H8[sq]);
    EXPECT_EQ(RotA8H1(SquareMask[sq]), SquareMaskRotA8H1[sq]);
  }
  // The a1-h8 layout starts a8, a7, b8; the a8-h1 layout starts h8, g8, h7.
  EXPECT_EQ(SquareMaskRotA1H8[A8], 1ULL << 63);
  EXPECT_EQ(SquareMaskRotA1H8[A7], 1ULL << 62);
  EXPECT_EQ(SquareMaskRotA1H8[B8], 1ULL << 61);
  EXPECT_EQ(SquareMaskRotA8H1[H8], 1ULL << 63);
  EXPECT_EQ(SquareMaskRotA8H1[G8], 1ULL << 62);
  EXPECT_EQ(SquareMaskRotA8H1[H7], 1ULL << 61);
}

TEST(Tables, PawnStructureMasks) {
  for (Square sq = A8; sq <= H8; ++sq) EXPECT_EQ(WhitePassedMask[sq], 0u);
  for (Square sq = A1; sq <= H1; ++sq) EXPECT_EQ(BlackPassedMask[sq], 0u);
  EXPECT_EQ(WhiteFrontSpan[E2], squares({E3, E4, E5, E6, E7, E8}));
  EXPECT_EQ(BlackPassedMask[A7], squares({A6, A5, A4, A3, A2, A1, B6, B5, B4, B3, B2, B1}));
  EXPECT_EQ(AdjacentFiles[H4] & SquareMask[G1], SquareMask[G1]);
  EXPECT_EQ(FileMaskExcl[D4], squares({D8, D7, D6, D5, D3, D2, D1}));
}

TEST(Tables, StepAttacksStayOnTheBoard) {
  EXPECT_EQ(KnightAttacks[A8], squares({B6, C7}));
  EXPECT_EQ(KingAttacks[H1], squares({G1, G2, H2}));
  EXPECT_EQ(WhitePawnAttacks[A2], squares({B3}));
  EXPECT_EQ(WhitePawnAttacks[E8], 0u);
  EXPECT_EQ(BlackPawnAttacks[H7], squares({G6}));
  EXPECT_EQ(BlackPawnAttacks[C1], 0u);
}

TEST(Tables, BitScanVisitsFromH1TowardA8) {
  EXPECT_EQ(BitScan(squares({A8, H1})), H1);
  EXPECT_EQ(BitScan(squares({A8, C5})), C5);
}

TEST(Tables, ZobristKeysAreFixedAcrossBuilds) {
  // Stored books and databases are keyed by these values: they must never change.
  EXPECT_EQ(ZobristKeys[EMPTY][A8], 0xE35680F96C31B2B9ULL);
  EXPECT_EQ(ZobristKeys[WPAWN][E2], 0x53F99CAAB6B4E647ULL);
  EXPECT_EQ(ZobristKeys[BKING][H1], 0x5D0C1236DBD3532FULL);
}

}  // namespace
