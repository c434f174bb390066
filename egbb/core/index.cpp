#include "core/index.h"

#include <algorithm>

namespace egbb {

namespace {

// The eight symmetries of the board as square maps: bit 0 mirrors the files, bit 1 the ranks,
// bit 2 swaps files and ranks (applied last).
constexpr int transformSquare(int t, int sq) {
  int f = fileOf(sq), r = rankOf(sq);
  if (t & 1) f = 7 - f;
  if (t & 2) r = 7 - r;
  if (t & 4) std::swap(f, r);
  return f + 8 * r;
}

constexpr bool inTriangle(int sq) { return fileOf(sq) <= 3 && rankOf(sq) <= fileOf(sq); }
constexpr bool aboveDiagonal(int sq) { return rankOf(sq) > fileOf(sq); }
constexpr bool kingsApart(int a, int b) {
  int df = fileOf(a) - fileOf(b), dr = rankOf(a) - rankOf(b);
  return df * df > 1 || dr * dr > 1;
}

constexpr int NO_PAIR = 0xFFFF;

// The canonical king pairs and their numbers, without pawns (462) and with pawns (1806).
struct KingPairs {
  uint16_t number[2][64][64];
  uint8_t kings[2][1806][2];
  int count[2];
  // The symmetries that bring a white king into the triangle: one, or two on the diagonal.
  uint8_t toTriangle[64][2];
  uint8_t toTriangleCount[64];

  constexpr KingPairs() : number(), kings(), count(), toTriangle(), toTriangleCount() {
    for (int pawns = 0; pawns < 2; ++pawns)
      for (int w = 0; w < 64; ++w)
        for (int b = 0; b < 64; ++b) {
          bool canonical = pawns ? fileOf(w) <= 3 : inTriangle(w) && !(fileOf(w) == rankOf(w) && aboveDiagonal(b));
          if (!canonical || !kingsApart(w, b)) {
            number[pawns][w][b] = NO_PAIR;
            continue;
          }
          number[pawns][w][b] = uint16_t(count[pawns]);
          kings[pawns][count[pawns]][0] = uint8_t(w);
          kings[pawns][count[pawns]][1] = uint8_t(b);
          ++count[pawns];
        }
    for (int sq = 0; sq < 64; ++sq)
      for (int t = 0; t < 8; ++t)
        if (inTriangle(transformSquare(t, sq))) toTriangle[sq][toTriangleCount[sq]++] = uint8_t(t);
  }
};

constexpr KingPairs KINGS;
static_assert(KINGS.count[0] == 462 && KINGS.count[1] == 1806);

struct Transforms {
  uint8_t square[8][64];
  constexpr Transforms() : square() {
    for (int t = 0; t < 8; ++t)
      for (int sq = 0; sq < 64; ++sq) square[t][sq] = uint8_t(transformSquare(t, sq));
  }
};

constexpr Transforms TRANSFORM;

int places(const Man& m) { return m.type == PAWN ? 48 : 64; }
int digitOf(const Man& m, int square) { return m.type == PAWN ? square - 8 : square; }

}  // namespace

Indexer::Indexer(const Ending& ending) : pawns_(ending.hasPawns()), count_(ending.men()), men_(), piecePlaces_(1) {
  men_[0] = Man{WHITE, KING, 0};
  men_[1] = Man{BLACK, KING, 0};
  int slot = 2;
  for (int side = 0; side < 2; ++side)
    for (int t = 0; t < PIECE_TYPES; ++t)
      for (int k = 0; k < ending.count[side][t]; ++k) men_[slot++] = Man{uint8_t(side), uint8_t(t), 0};
  for (int i = 2; i < count_; ++i) {
    piecePlaces_ *= places(men_[i]);
    sameKind_[i] = i > 2 && men_[i].colour == men_[i - 1].colour && men_[i].type == men_[i - 1].type;
  }
  size_ = piecePlaces_ * uint64_t(KINGS.count[pawns_]);
}

// The squares after the symmetry, with each group of like men in ascending order.
void Indexer::canonicalSquares(const Board& board, int transform, uint8_t* squares) const {
  for (int i = 0; i < count_; ++i) squares[i] = TRANSFORM.square[transform][board.men[i].square];
  for (int i = 3; i < count_; ++i)
    if (sameKind_[i])
      for (int j = i; j > 2 && sameKind_[j] && squares[j] < squares[j - 1]; --j) std::swap(squares[j], squares[j - 1]);
}

uint64_t Indexer::index(const Board& board) const {
  uint8_t squares[MAX_MEN];
  int wk = board.men[0].square;
  if (pawns_) {
    canonicalSquares(board, fileOf(wk) > 3 ? 1 : 0, squares);
  } else {
    canonicalSquares(board, KINGS.toTriangle[wk][0], squares);
    if (KINGS.toTriangleCount[wk] == 2) {
      // The white king is on the diagonal: of the two images, the one with the black king below
      // it, else the one with the smaller squares.
      uint8_t other[MAX_MEN];
      canonicalSquares(board, KINGS.toTriangle[wk][1], other);
      auto rank = [&](const uint8_t* s) { return std::pair(aboveDiagonal(s[1]), s[1]); };
      bool takeOther = rank(other) < rank(squares) ||
                       (rank(other) == rank(squares) && std::lexicographical_compare(other + 2, other + count_,
                                                                                     squares + 2, squares + count_));
      if (takeOther) std::copy(other, other + count_, squares);
    }
  }
  uint64_t number = KINGS.number[pawns_][squares[0]][squares[1]];
  if (number == NO_PAIR) return size_;  // kings side by side: no position
  for (int i = 2; i < count_; ++i) number = number * places(men_[i]) + digitOf(men_[i], squares[i]);
  return number;
}

bool Indexer::decode(uint64_t number, int side, Board& board) const {
  board.side = uint8_t(side);
  board.count = uint8_t(count_);
  Bitboard used = 0;
  for (int i = count_ - 1; i >= 2; --i) {
    int n = places(men_[i]);
    int square = int(number % n) + (men_[i].type == PAWN ? 8 : 0);
    number /= n;
    board.men[i] = men_[i];
    board.men[i].square = uint8_t(square);
    if (used & bit(square)) return false;
    used |= bit(square);
  }
  for (int k = 0; k < 2; ++k) {
    board.men[k] = men_[k];
    board.men[k].square = KINGS.kings[pawns_][number][k];
    if (used & bit(board.men[k].square)) return false;
    used |= bit(board.men[k].square);
  }
  return true;
}

}  // namespace egbb
