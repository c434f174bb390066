#include "core/chess.h"

#include <initializer_list>

namespace egbb {

namespace {

constexpr int KING_STEPS[8][2] = {{1, 0}, {-1, 0}, {0, 1}, {0, -1}, {1, 1}, {1, -1}, {-1, 1}, {-1, -1}};
constexpr int KNIGHT_STEPS[8][2] = {{1, 2}, {2, 1}, {2, -1}, {1, -2}, {-1, -2}, {-2, -1}, {-2, 1}, {-1, 2}};
// Rook directions first, then bishop directions: (file step, rank step).
constexpr int RAYS[8][2] = {{1, 0}, {-1, 0}, {0, 1}, {0, -1}, {1, 1}, {1, -1}, {-1, 1}, {-1, -1}};

enum Line : uint8_t { NO_LINE, STRAIGHT, DIAGONAL };

struct Tables {
  Bitboard king[64], knight[64], pawn[2][64];
  Bitboard between[64][64];  // the squares strictly between two squares on one line
  uint8_t line[64][64];

  constexpr Tables() : king(), knight(), pawn(), between(), line() {
    for (int sq = 0; sq < 64; ++sq) {
      int f = fileOf(sq), r = rankOf(sq);
      for (auto [df, dr] : KING_STEPS)
        if (onBoard(f + df, r + dr)) king[sq] |= bit(sq + df + 8 * dr);
      for (auto [df, dr] : KNIGHT_STEPS)
        if (onBoard(f + df, r + dr)) knight[sq] |= bit(sq + df + 8 * dr);
      for (int df : {-1, 1}) {
        if (onBoard(f + df, r + 1)) pawn[WHITE][sq] |= bit(sq + df + 8);
        if (onBoard(f + df, r - 1)) pawn[BLACK][sq] |= bit(sq + df - 8);
      }
      for (int d = 0; d < 8; ++d) {
        Bitboard passed = 0;
        for (int nf = f + RAYS[d][0], nr = r + RAYS[d][1]; onBoard(nf, nr); nf += RAYS[d][0], nr += RAYS[d][1]) {
          int to = nf + 8 * nr;
          line[sq][to] = d < 4 ? STRAIGHT : DIAGONAL;
          between[sq][to] = passed;
          passed |= bit(to);
        }
      }
    }
  }
  static constexpr bool onBoard(int f, int r) { return f >= 0 && f < 8 && r >= 0 && r < 8; }
};

constexpr Tables T;

bool slides(int from, int to, Bitboard occupied, Line wanted) {
  return T.line[from][to] == wanted && !(T.between[from][to] & occupied);
}

Bitboard colourOccupied(const Board& b, int colour) {
  Bitboard o = 0;
  for (int i = 0; i < b.count; ++i)
    if (b.men[i].colour == colour) o |= bit(b.men[i].square);
  return o;
}

int manOn(const Board& b, int square) {
  for (int i = 0; i < b.count; ++i)
    if (b.men[i].square == square) return i;
  return -1;
}

// Adds the move if it leaves the mover's king safe; a pawn reaching the last rank adds all four promotions.
void addIfLegal(const Board& b, int man, int to, Move*& out) {
  Move m{uint8_t(man), uint8_t(to), int8_t(manOn(b, to)), KING};
  const Man& mover = b.men[man];
  bool promotes = mover.type == PAWN && (rankOf(to) == 7 || rankOf(to) == 0);
  if (promotes) m.promotion = QUEEN;
  if (inCheck(afterMove(b, m), mover.colour)) return;
  *out++ = m;
  if (promotes)
    for (uint8_t type : {ROOK, BISHOP, KNIGHT}) *out++ = Move{m.man, m.to, m.captured, type};
}

void pawnMoves(const Board& b, int man, Bitboard occupied, Bitboard enemies, Move*& out) {
  const Man& p = b.men[man];
  int forward = p.colour == WHITE ? 8 : -8;
  int one = p.square + forward;
  if (!(occupied & bit(one))) {
    addIfLegal(b, man, one, out);
    int start = p.colour == WHITE ? 1 : 6;
    if (rankOf(p.square) == start && !(occupied & bit(one + forward))) addIfLegal(b, man, one + forward, out);
  }
  for (Bitboard t = T.pawn[p.colour][p.square] & enemies; t; t &= t - 1) addIfLegal(b, man, __builtin_ctzll(t), out);
}

void sliderMoves(const Board& b, int man, int firstRay, int lastRay, Bitboard own, Bitboard occupied, Move*& out) {
  int from = b.men[man].square;
  for (int d = firstRay; d < lastRay; ++d) {
    int f = fileOf(from), r = rankOf(from);
    for (f += RAYS[d][0], r += RAYS[d][1]; Tables::onBoard(f, r); f += RAYS[d][0], r += RAYS[d][1]) {
      int to = f + 8 * r;
      if (own & bit(to)) break;
      addIfLegal(b, man, to, out);
      if (occupied & bit(to)) break;
    }
  }
}

// The squares a man may have come from without capturing, by its kind of move.
void sliderOrigins(int to, int firstRay, int lastRay, Bitboard occupied, int* origins, int& n) {
  for (int d = firstRay; d < lastRay; ++d) {
    int f = fileOf(to), r = rankOf(to);
    for (f += RAYS[d][0], r += RAYS[d][1]; Tables::onBoard(f, r); f += RAYS[d][0], r += RAYS[d][1]) {
      int from = f + 8 * r;
      if (occupied & bit(from)) break;
      origins[n++] = from;
    }
  }
}

}  // namespace

Bitboard Board::occupied() const {
  Bitboard o = 0;
  for (int i = 0; i < count; ++i) o |= bit(men[i].square);
  return o;
}

bool manAttacks(const Man& m, int target, Bitboard occupied) {
  switch (m.type) {
    case KING: return T.king[m.square] & bit(target);
    case KNIGHT: return T.knight[m.square] & bit(target);
    case PAWN: return T.pawn[m.colour][m.square] & bit(target);
    case ROOK: return slides(m.square, target, occupied, STRAIGHT);
    case BISHOP: return slides(m.square, target, occupied, DIAGONAL);
    default: return slides(m.square, target, occupied, STRAIGHT) || slides(m.square, target, occupied, DIAGONAL);
  }
}

bool squareAttacked(const Board& b, int square, int byColour) {
  Bitboard occupied = b.occupied();
  for (int i = 0; i < b.count; ++i)
    if (b.men[i].colour == byColour && manAttacks(b.men[i], square, occupied)) return true;
  return false;
}

bool inCheck(const Board& b, int colour) { return squareAttacked(b, b.men[colour].square, colour ^ 1); }

bool isLegal(const Board& b) {
  Bitboard seen = 0;
  for (int i = 0; i < b.count; ++i) {
    const Man& m = b.men[i];
    if (m.square > 63 || (seen & bit(m.square))) return false;
    if (m.type == PAWN && (rankOf(m.square) == 0 || rankOf(m.square) == 7)) return false;
    seen |= bit(m.square);
  }
  return !inCheck(b, b.side ^ 1);
}

int legalMoves(const Board& b, Move* out) {
  Move* start = out;
  Bitboard occupied = b.occupied(), own = colourOccupied(b, b.side), enemies = occupied & ~own;
  for (int i = 0; i < b.count; ++i) {
    const Man& m = b.men[i];
    if (m.colour != b.side) continue;
    switch (m.type) {
      case KING:
      case KNIGHT:
        for (Bitboard t = (m.type == KING ? T.king : T.knight)[m.square] & ~own; t; t &= t - 1)
          addIfLegal(b, i, __builtin_ctzll(t), out);
        break;
      case PAWN: pawnMoves(b, i, occupied, enemies, out); break;
      case ROOK: sliderMoves(b, i, 0, 4, own, occupied, out); break;
      case BISHOP: sliderMoves(b, i, 4, 8, own, occupied, out); break;
      default: sliderMoves(b, i, 0, 8, own, occupied, out); break;
    }
  }
  return int(out - start);
}

Board afterMove(const Board& b, const Move& m) {
  Board next = b;
  next.men[m.man].square = m.to;
  if (m.promotion != KING) next.men[m.man].type = m.promotion;
  if (m.captured >= 0) {
    for (int i = m.captured; i + 1 < next.count; ++i) next.men[i] = next.men[i + 1];
    --next.count;
  }
  next.side ^= 1;
  return next;
}

int enPassantCaptures(const Board& b, int pawnSquare, Board* out) {
  int n = 0, victim = manOn(b, pawnSquare);
  int passed = pawnSquare + (b.side == WHITE ? 8 : -8);
  for (int i = 0; i < b.count; ++i) {
    const Man& m = b.men[i];
    if (m.colour != b.side || m.type != PAWN || rankOf(m.square) != rankOf(pawnSquare)) continue;
    if (fileOf(m.square) - fileOf(pawnSquare) != 1 && fileOf(pawnSquare) - fileOf(m.square) != 1) continue;
    Board next = afterMove(b, Move{uint8_t(i), uint8_t(passed), int8_t(victim), KING});
    if (!inCheck(next, b.side)) out[n++] = next;
  }
  return n;
}

int unmoves(const Board& b, Unmove* out) {
  int n = 0, mover = b.side ^ 1;
  Bitboard occupied = b.occupied();
  for (int i = 0; i < b.count; ++i) {
    const Man& m = b.men[i];
    if (m.colour != mover) continue;
    int origins[32], count = 0, doubleFrom = -1;
    switch (m.type) {
      case KING:
      case KNIGHT:
        for (Bitboard t = (m.type == KING ? T.king : T.knight)[m.square] & ~occupied; t; t &= t - 1)
          origins[count++] = __builtin_ctzll(t);
        break;
      case PAWN: {
        int back = mover == WHITE ? -8 : 8, from = m.square + back;
        int relativeRank = mover == WHITE ? rankOf(m.square) : 7 - rankOf(m.square);
        if (relativeRank >= 2 && !(occupied & bit(from))) {
          origins[count++] = from;
          if (relativeRank == 3 && !(occupied & bit(from + back))) origins[count++] = doubleFrom = from + back;
        }
        break;
      }
      case ROOK: sliderOrigins(m.square, 0, 4, occupied, origins, count); break;
      case BISHOP: sliderOrigins(m.square, 4, 8, occupied, origins, count); break;
      default: sliderOrigins(m.square, 0, 8, occupied, origins, count); break;
    }
    for (int k = 0; k < count; ++k) {
      Unmove& u = out[n];
      u.before = b;
      u.before.men[i].square = uint8_t(origins[k]);
      u.before.side = uint8_t(mover);
      u.doublePush = origins[k] == doubleFrom ? int8_t(m.square) : int8_t(-1);
      if (!inCheck(u.before, b.side)) ++n;
    }
  }
  return n;
}

}  // namespace egbb
