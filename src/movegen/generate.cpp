#include "movegen/generate.h"

#include "board/move.h"
#include "board/position.h"
#include "board/tables.h"
#include "movegen/exchange.h"

namespace {

inline MoveEntry* put(MoveEntry* out, int score, Square from, Square to, int type) {
  out->score = int16_t(score);
  out->move = makeMoveWord(from, to, type);
  return out + 1;
}

// Promotion scores in the order queen, knight, rook, bishop; a capture adds the victim's value.
constexpr int PromotionScore[4] = {-9401, -30005, -30025, -30050};

inline MoveEntry* putPromotions(MoveEntry* out, Square from, Square to, int firstType, int value) {
  for (int i = 0; i < 4; ++i) out = put(out, value + PromotionScore[i], from, to, firstType + i);
  return out;
}

enum Kind { KNIGHT_KIND, BISHOP_KIND, ROOK_KIND, QUEEN_KIND, KING_KIND };

// A capture of a piece at least as valuable as the capturer is scored by the table; a cheaper
// victim goes through the exchange evaluation.
struct CaptureScale {
  int threshold, offset;
};
constexpr CaptureScale CaptureScales[5] = {{270, 9820}, {275, 9825}, {450, 10000}, {900, 10450}, {1950, 11500}};
// Evasion blocks by knight, bishop, rook, queen.
constexpr int BlockScore[4] = {-30320, -30325, -30500, -30950};

template <Kind K>
inline Bitboard attacksFrom(Square sq, const Occupancy& occ) {
  if constexpr (K == KNIGHT_KIND) return KnightAttacks[sq];
  else if constexpr (K == BISHOP_KIND) return bishopAttacks(sq, occ);
  else if constexpr (K == ROOK_KIND) return rookAttacks(sq, occ);
  else if constexpr (K == QUEEN_KIND) return queenAttacks(sq, occ);
  else return KingAttacks[sq];
}

constexpr Piece WhiteCodeOf[5] = {WKNIGHT, WBISHOP, WROOK, WQUEEN, WKING};

// Everything one colour's generators need, taken from the position once per call.
template <int C>
struct Generator {
  static constexpr int O = C ^ 1;
  static constexpr Bitboard LastRank = C == WHITE ? RANK_8_BB : RANK_1_BB;
  static constexpr Bitboard StartRank = C == WHITE ? 0x000000000000FF00ULL : 0x00FF000000000000ULL;
  static constexpr Bitboard SeventhRank = C == WHITE ? 0x00FF000000000000ULL : 0x000000000000FF00ULL;
  static constexpr int Push = C == WHITE ? -8 : 8;         // square delta of a single push
  static constexpr int TowardA = C == WHITE ? -9 : 7;      // capture toward the a-file
  static constexpr int TowardH = C == WHITE ? -7 : 9;      // capture toward the h-file
  static constexpr Piece Pawn = pieceOf(C, WPAWN);

  const Position& pos;
  Bitboard own = pos.colourPieces[C];
  Bitboard enemy = pos.colourPieces[O];
  Bitboard empty = ~pos.occ.all;
  Bitboard rookLike = pos.pieceBB[WROOK] | pos.pieceBB[BROOK] | pos.pieceBB[WQUEEN] | pos.pieceBB[BQUEEN];
  Bitboard bishopLike = pos.pieceBB[WBISHOP] | pos.pieceBB[BBISHOP] | pos.pieceBB[WQUEEN] | pos.pieceBB[BQUEEN];

  // Moves a set of squares by a square delta (negative toward the 8th rank).
  static Bitboard shift(Bitboard b, int delta) { return delta < 0 ? b << -delta : b >> delta; }

  // The king's targets: never next to the enemy king, never onto own pieces.
  Bitboard kingTargets() const {
    return KingAttacks[pos.kingSquare[C]] & ~KingAttacks[pos.kingSquare[O]] & ~own;
  }

  template <Kind K>
  int captureScore(Square from, Square to) const {
    int value = CaptureValue[pos.board[to]];
    const CaptureScale& scale = CaptureScales[K];
    if (value >= scale.threshold) return value - scale.offset;
    return staticExchange(pos, pieceOf(C, WhiteCodeOf[K]), from, to, rookLike, bishopLike);
  }

  // One diagonal direction of pawn captures: en passant, promotion captures, then the others.
  template <int Delta>
  MoveEntry* pawnCaptures(MoveEntry* out) const {
    constexpr Bitboard edge = (Delta == TowardA) ? FILE_A_BB : FILE_H_BB;
    Bitboard reach = shift(pos.pieceBB[Pawn] & ~edge, Delta);
    if (pos.epSquare && (reach & SquareMask[pos.epSquare]))
      out = put(out, -9500, pos.epSquare - Delta, pos.epSquare, EN_PASSANT);
    Bitboard targets = reach & enemy;
    for (Bitboard b = targets & LastRank; b; b &= b - 1) {
      Square to = BitScan(b);
      out = putPromotions(out, to - Delta, to, CAPTURE_PROMO_Q, CaptureValue[pos.board[to]]);
    }
    for (Bitboard b = targets & ~LastRank; b; b &= b - 1) {
      Square to = BitScan(b);
      out = put(out, CaptureValue[pos.board[to]] - 9600, to - Delta, to, CAPTURE);
    }
    return out;
  }

  // Captures (and, unless capturesOnly, quiet moves) of every piece of one kind.
  template <Kind K, bool CapturesOnly>
  MoveEntry* pieceMoves(MoveEntry* out) const {
    for (Bitboard pieces = pos.pieceBB[pieceOf(C, WhiteCodeOf[K])]; pieces; pieces &= pieces - 1) {
      Square from = BitScan(pieces);
      Bitboard targets = attacksFrom<K>(from, pos.occ);
      for (Bitboard b = targets & enemy; b; b &= b - 1) {
        Square to = BitScan(b);
        int score = captureScore<K>(from, to);
        if (CapturesOnly && score < -10000) continue;
        out = put(out, score, from, to, CAPTURE);
      }
      if (!CapturesOnly)
        for (Bitboard b = targets & empty; b; b &= b - 1) out = put(out, -30000, from, BitScan(b), QUIET);
    }
    return out;
  }

  // King captures (a defended victim, scored -32767, is left out), then quiet king moves.
  MoveEntry* kingMoves(MoveEntry* out, Bitboard targets, bool capturesOnly) const {
    Square from = pos.kingSquare[C];
    for (Bitboard b = targets & enemy; b; b &= b - 1) {
      Square to = BitScan(b);
      int score = captureScore<KING_KIND>(from, to);
      if (score == -32767 || (capturesOnly && score < -10000)) continue;
      out = put(out, score, from, to, CAPTURE);
    }
    if (!capturesOnly)
      for (Bitboard b = targets & empty; b; b &= b - 1) out = put(out, -30000, from, BitScan(b), QUIET);
    return out;
  }

  // Pushes whose destination lies in `allowed`: promotions first or double pushes first.
  MoveEntry* pawnPushes(MoveEntry* out, Bitboard allowed, bool doublesFirst) const {
    Bitboard single = shift(pos.pieceBB[Pawn], Push) & empty;
    Bitboard doubles = shift(shift(pos.pieceBB[Pawn] & StartRank, Push) & empty, Push) & empty & allowed;
    single &= allowed;
    if (doublesFirst)
      for (Bitboard b = doubles; b; b &= b - 1) out = put(out, -30000, BitScan(b) - 2 * Push, BitScan(b), QUIET);
    for (Bitboard b = single & LastRank; b; b &= b - 1) {
      Square to = BitScan(b);
      out = putPromotions(out, to - Push, to, PROMO_Q, 0);
    }
    if (!doublesFirst)
      for (Bitboard b = doubles; b; b &= b - 1) out = put(out, -30000, BitScan(b) - 2 * Push, BitScan(b), QUIET);
    for (Bitboard b = single & ~LastRank; b; b &= b - 1) out = put(out, -30000, BitScan(b) - Push, BitScan(b), QUIET);
    return out;
  }
};

template <int C>
MoveEntry* generateAllFor(const Position& pos, MoveEntry* out) {
  const Generator<C> side{pos};
  out = side.template pawnCaptures<Generator<C>::TowardA>(out);
  out = side.template pawnCaptures<Generator<C>::TowardH>(out);
  out = side.template pieceMoves<KNIGHT_KIND, false>(out);
  out = side.template pieceMoves<QUEEN_KIND, false>(out);
  out = side.template pieceMoves<ROOK_KIND, false>(out);
  out = side.template pieceMoves<BISHOP_KIND, false>(out);
  out = side.pawnPushes(out, ~Bitboard(0), false);
  out = side.kingMoves(out, side.kingTargets(), false);

  // Castling needs the right and empty squares between king and rook; attacks are tested after
  // the move is made.
  constexpr uint16_t shortRight = C == WHITE ? WHITE_SHORT : BLACK_SHORT;
  constexpr uint16_t longRight = C == WHITE ? WHITE_LONG : BLACK_LONG;
  constexpr int row = C == WHITE ? 7 : 0;
  const Bitboard occupied = pos.occ.all;
  if ((pos.castleRights & shortRight) && !(occupied & (SquareMask[8 * row + 5] | SquareMask[8 * row + 6])))
    out = put(out, -29000, 8 * row + 4, 8 * row + 6, C == WHITE ? WHITE_CASTLE_SHORT : BLACK_CASTLE_SHORT);
  if ((pos.castleRights & longRight) &&
      !(occupied & (SquareMask[8 * row + 1] | SquareMask[8 * row + 2] | SquareMask[8 * row + 3])))
    out = put(out, -29500, 8 * row + 4, 8 * row + 2, C == WHITE ? WHITE_CASTLE_LONG : BLACK_CASTLE_LONG);
  return out;
}

template <int C>
MoveEntry* generateCapturesFor(const Position& pos, MoveEntry* out) {
  const Generator<C> side{pos};
  out = side.template pawnCaptures<Generator<C>::TowardA>(out);
  out = side.template pawnCaptures<Generator<C>::TowardH>(out);
  // Queen promotions by push, kept only when the exchange on the promotion square is not lost.
  Bitboard pushes = Generator<C>::shift(pos.pieceBB[Generator<C>::Pawn] & Generator<C>::SeventhRank, Generator<C>::Push) & side.empty;
  for (; pushes; pushes &= pushes - 1) {
    Square to = BitScan(pushes), from = to - Generator<C>::Push;
    int score = staticExchange(pos, Generator<C>::Pawn, from, to, side.rookLike, side.bishopLike);
    if (score >= -10000) out = put(out, score, from, to, PROMO_Q);
  }
  out = side.template pieceMoves<KNIGHT_KIND, true>(out);
  out = side.template pieceMoves<BISHOP_KIND, true>(out);
  out = side.template pieceMoves<ROOK_KIND, true>(out);
  out = side.template pieceMoves<QUEEN_KIND, true>(out);
  return side.kingMoves(out, side.kingTargets(), true);
}

// Of at most two squares, the one nearer the a-file (the lower square number) first.
template <typename Emit>
inline MoveEntry* aSideFirst(MoveEntry* out, Bitboard squares, Emit emit) {
  while (squares) {
    Square sq = __builtin_clzll(squares);  // the lowest square number is the highest bit
    out = emit(out, sq);
    squares &= ~SquareMask[sq];
  }
  return out;
}

template <int C>
MoveEntry* generateEvasionsFor(const Position& pos, MoveEntry* out, const CheckInfo* info) {
  const Generator<C> side{pos};
  const Bitboard checkers = info->checkers;
  Bitboard blocks = 0;
  if (!(checkers & (checkers - 1))) {
    const Square q = BitScan(checkers);
    const Piece checker = pos.board[q];
    const Square king = pos.kingSquare[C];
    const bool slider = checker >= WBISHOP && checker <= BQUEEN;
    if (slider && !(KingAttacks[king] & SquareMask[q]))
      blocks = info->rookCheckLine ? info->rookCheckLine & rookAttacks(q, pos.occ) : info->bishopCheckLine & bishopAttacks(q, pos.occ);

    // En passant: takes the pawn that just made its double step, or lands on a blocking square.
    if (Square ep = pos.epSquare) {
      if (q == ep - Generator<C>::Push || (blocks & SquareMask[ep])) {
        Bitboard capturers = (C == WHITE ? BlackPawnAttacks[ep] : WhitePawnAttacks[ep]) & pos.pieceBB[Generator<C>::Pawn];
        out = aSideFirst(out, capturers, [&](MoveEntry* o, Square from) { return put(o, -9500, from, ep, EN_PASSANT); });
      }
    }

    // Pawn captures of the checker.
    const int value = CaptureValue[checker];
    Bitboard pawnCapturers = (C == WHITE ? BlackPawnAttacks[q] : WhitePawnAttacks[q]) & pos.pieceBB[Generator<C>::Pawn];
    out = aSideFirst(out, pawnCapturers, [&](MoveEntry* o, Square from) {
      if (SquareMask[q] & Generator<C>::LastRank) return putPromotions(o, from, q, CAPTURE_PROMO_Q, value);
      return put(o, value - 9600, from, q, CAPTURE);
    });

    // Pieces: captures of the checker, then blocks.
    auto pieces = [&]<Kind K>() {
      const Bitboard mine = pos.pieceBB[pieceOf(C, WhiteCodeOf[K])];
      for (Bitboard b = attacksFrom<K>(q, pos.occ) & mine; b; b &= b - 1)
        out = put(out, value - CaptureScales[K].offset, BitScan(b), q, CAPTURE);
      if (blocks)
        for (Bitboard b = mine; b; b &= b - 1) {
          Square from = BitScan(b);
          for (Bitboard t = attacksFrom<K>(from, pos.occ) & blocks; t; t &= t - 1)
            out = put(out, BlockScore[K], from, BitScan(t), QUIET);
        }
    };
    pieces.template operator()<KNIGHT_KIND>();
    pieces.template operator()<BISHOP_KIND>();
    pieces.template operator()<ROOK_KIND>();
    pieces.template operator()<QUEEN_KIND>();

    if (blocks) out = side.pawnPushes(out, blocks, true);
  }
  return side.kingMoves(out, side.kingTargets() & ~blocks, false);
}

}  // namespace

const GenerateFn generateAll[2] = {generateAllFor<BLACK>, generateAllFor<WHITE>};
const GenerateFn generateCaptures[2] = {generateCapturesFor<BLACK>, generateCapturesFor<WHITE>};
const EvasionFn generateEvasions[2] = {generateEvasionsFor<BLACK>, generateEvasionsFor<WHITE>};
