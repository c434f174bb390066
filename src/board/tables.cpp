#include "board/tables.h"

#include <initializer_list>

Bitboard KingAttacks[64];
Bitboard KnightAttacks[64];
Bitboard WhitePawnAttacks[64];
Bitboard BlackPawnAttacks[64];
Bitboard RankAttacks[64][256];
Bitboard FileAttacks[64][256];
Bitboard DiagA1H8Attacks[64][256];
Bitboard DiagA8H1Attacks[64][256];
uint8_t DiagShiftA1H8[64], DiagMaskA1H8[64];
uint8_t DiagShiftA8H1[64], DiagMaskA8H1[64];
Bitboard SquareMask[64];
Bitboard SquareMaskRot90[64], SquareMaskRotA1H8[64], SquareMaskRotA8H1[64];
Bitboard FileMaskExcl[64];
Bitboard AdjacentFiles[64];
Bitboard WhitePassedMask[64], BlackPassedMask[64];
Bitboard WhiteFrontSpan[64], BlackFrontSpan[64];
Bitboard QueenReach[64], RookReach[64], BishopReach[64];
uint8_t SquareDistance[64][64];

namespace {

inline bool onBoard(int row, int file) { return row >= 0 && row < 8 && file >= 0 && file < 8; }
inline Bitboard bit(Square sq) { return Bitboard(1) << (63 - sq); }

// A line of squares (rank, file or diagonal) in the order of its rotated layout.
struct Line {
  Square squares[8];
  int length = 0;
};

// Layout index of each square in the three rotated layouts; bit 63 - index holds the square.
int IndexRot90[64], IndexA1H8[64], IndexA8H1[64];
Line Ranks[8], Files[8], DiagsA1H8[15], DiagsA8H1[15];

void buildLayouts() {
  for (Line* group : {Ranks, Files})
    for (int i = 0; i < 8; ++i) group[i].length = 0;
  for (Line* group : {DiagsA1H8, DiagsA8H1})
    for (int i = 0; i < 15; ++i) group[i].length = 0;
  for (Square sq = 0; sq < 64; ++sq) {
    int r = rowOf(sq), f = fileOf(sq);
    IndexRot90[sq] = 8 * (7 - f) + r;
    Ranks[r].squares[Ranks[r].length++] = sq;
    Files[f].squares[Files[f].length++] = sq;
  }
  // a1-h8 diagonals d = r + f from a8 to h1, each in order of increasing file.
  int index = 0;
  for (int d = 0; d < 15; ++d)
    for (int f = 0; f < 8; ++f)
      if (onBoard(d - f, f)) {
        Square sq = 8 * (d - f) + f;
        IndexA1H8[sq] = index++;
        DiagsA1H8[d].squares[DiagsA1H8[d].length++] = sq;
      }
  // a8-h1 diagonals d = f - r from h8 to a1, each in order of increasing row.
  index = 0;
  for (int d = 7; d >= -7; --d)
    for (int r = 0; r < 8; ++r)
      if (onBoard(r, r + d)) {
        Square sq = 8 * r + r + d;
        IndexA8H1[sq] = index++;
        DiagsA8H1[7 - d].squares[DiagsA8H1[7 - d].length++] = sq;
      }
}

Bitboard permute(Bitboard b, const int* index) {
  Bitboard out = 0;
  for (Square sq = 0; sq < 64; ++sq)
    if (b & bit(sq)) out |= Bitboard(1) << (63 - index[sq]);
  return out;
}

// Fills the sliding attacks of every square of a line for each occupancy pattern of that line.
// In a pattern the last square of the line is bit 0 and the first bit length - 1.
void fillLine(const Line& line, Bitboard (*table)[256]) {
  int n = line.length;
  for (int i = 0; i < n; ++i) {
    Square sq = line.squares[i];
    for (int pattern = 0; pattern < (1 << n); ++pattern) {
      auto occupiedAt = [&](int j) { return (pattern >> (n - 1 - j)) & 1; };
      Bitboard attacks = 0;
      for (int j = i + 1; j < n; ++j) {
        attacks |= bit(line.squares[j]);
        if (occupiedAt(j)) break;
      }
      for (int j = i - 1; j >= 0; --j) {
        attacks |= bit(line.squares[j]);
        if (occupiedAt(j)) break;
      }
      table[sq][pattern] = attacks;
    }
  }
}

void fillDiagonalPlacement(const Line& line, const int* index, uint8_t* shift, uint8_t* mask) {
  int last = index[line.squares[line.length - 1]];
  for (int i = 0; i < line.length; ++i) {
    shift[line.squares[i]] = uint8_t(63 - last);
    mask[line.squares[i]] = uint8_t((1 << line.length) - 1);
  }
}

Bitboard stepAttacks(Square sq, const int (*steps)[2], int count) {
  Bitboard b = 0;
  for (int i = 0; i < count; ++i) {
    int r = rowOf(sq) + steps[i][0], f = fileOf(sq) + steps[i][1];
    if (onBoard(r, f)) b |= bit(8 * r + f);
  }
  return b;
}

void initKingAttacks() {
  static const int steps[8][2] = {{-1, -1}, {-1, 0}, {-1, 1}, {0, -1}, {0, 1}, {1, -1}, {1, 0}, {1, 1}};
  for (Square sq = 0; sq < 64; ++sq) KingAttacks[sq] = stepAttacks(sq, steps, 8);
}

void initPawnAttacks() {
  static const int white[2][2] = {{-1, -1}, {-1, 1}};
  static const int black[2][2] = {{1, -1}, {1, 1}};
  for (Square sq = 0; sq < 64; ++sq) {
    WhitePawnAttacks[sq] = stepAttacks(sq, white, 2);
    BlackPawnAttacks[sq] = stepAttacks(sq, black, 2);
  }
}

void initKnightAttacks() {
  static const int steps[8][2] = {{-2, -1}, {-2, 1}, {-1, -2}, {-1, 2}, {1, -2}, {1, 2}, {2, -1}, {2, 1}};
  for (Square sq = 0; sq < 64; ++sq) KnightAttacks[sq] = stepAttacks(sq, steps, 8);
}

void initMasks() {
  Bitboard fileMask[8] = {};
  for (Square sq = 0; sq < 64; ++sq) fileMask[fileOf(sq)] |= bit(sq);
  for (Square sq = 0; sq < 64; ++sq) {
    int r = rowOf(sq), f = fileOf(sq);
    SquareMask[sq] = bit(sq);
    SquareMaskRot90[sq] = Bitboard(1) << (63 - IndexRot90[sq]);
    SquareMaskRotA1H8[sq] = Bitboard(1) << (63 - IndexA1H8[sq]);
    SquareMaskRotA8H1[sq] = Bitboard(1) << (63 - IndexA8H1[sq]);
    FileMaskExcl[sq] = fileMask[f] & ~bit(sq);
    AdjacentFiles[sq] = (f > 0 ? fileMask[f - 1] : 0) | (f < 7 ? fileMask[f + 1] : 0);
    // Rows 0 .. r-1 are the bits above row r; rows r+1 .. 7 the bits below it.
    Bitboard ahead = r == 0 ? 0 : ~Bitboard(0) << (64 - 8 * r);
    Bitboard behind = r == 7 ? 0 : ~Bitboard(0) >> (8 * r + 8);
    WhitePassedMask[sq] = (fileMask[f] | AdjacentFiles[sq]) & ahead;
    BlackPassedMask[sq] = (fileMask[f] | AdjacentFiles[sq]) & behind;
    WhiteFrontSpan[sq] = fileMask[f] & ahead;
    BlackFrontSpan[sq] = fileMask[f] & behind;
  }
  for (Square sq = 0; sq < 64; ++sq) {
    RookReach[sq] = RankAttacks[sq][0] | FileAttacks[sq][0];
    BishopReach[sq] = DiagA1H8Attacks[sq][0] | DiagA8H1Attacks[sq][0];
    QueenReach[sq] = RookReach[sq] | BishopReach[sq];
  }
}

}  // namespace

Bitboard Rot90(Bitboard b) { return permute(b, IndexRot90); }
Bitboard RotA1H8(Bitboard b) { return permute(b, IndexA1H8); }
Bitboard RotA8H1(Bitboard b) { return permute(b, IndexA8H1); }

void InitTables() {
  buildLayouts();
  initKingAttacks();
  initPawnAttacks();
  initKnightAttacks();
  for (const Line& rank : Ranks) fillLine(rank, RankAttacks);
  for (const Line& file : Files) fillLine(file, FileAttacks);
  for (const Line& diag : DiagsA1H8) {
    fillLine(diag, DiagA1H8Attacks);
    fillDiagonalPlacement(diag, IndexA1H8, DiagShiftA1H8, DiagMaskA1H8);
  }
  for (const Line& diag : DiagsA8H1) {
    fillLine(diag, DiagA8H1Attacks);
    fillDiagonalPlacement(diag, IndexA8H1, DiagShiftA8H1, DiagMaskA8H1);
  }
  initMasks();
  for (Square a = 0; a < 64; ++a)
    for (Square b = 0; b < 64; ++b) {
      int rows = rowOf(a) > rowOf(b) ? rowOf(a) - rowOf(b) : rowOf(b) - rowOf(a);
      int files = fileOf(a) > fileOf(b) ? fileOf(a) - fileOf(b) : fileOf(b) - fileOf(a);
      SquareDistance[a][b] = uint8_t(rows > files ? rows : files);
    }
}
