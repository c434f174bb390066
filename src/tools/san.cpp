#include "tools/san.h"

#include <cstring>

#include "board/move.h"
#include "board/position.h"
#include "board/tables.h"
#include "movegen/validate.h"

namespace {

inline bool isFile(char c) { return c >= 'a' && c <= 'h'; }
inline bool isRank(char c) { return c >= '1' && c <= '8'; }

// The square written at s, or -1 when the two characters are no square.
Square squareAt(const char* s) {
  return isFile(s[0]) && isRank(s[1]) ? squareFromChars(s[0], s[1]) : -1;
}

// Promotion letter in either case to its offset from the queen promotion type, or -1.
int promotionIndex(char c) {
  switch (c) {
    case 'Q': case 'q': return 0;
    case 'N': case 'n': return 1;
    case 'R': case 'r': return 2;
    case 'B': case 'b': return 3;
    default: return -1;
  }
}

bool onBoard(Square sq) { return sq >= 0 && sq < 64; }

// One rank towards the mover's own side.
int behind(const Position& pos) { return pos.sideToMove == WHITE ? 8 : -8; }

Move castle(Position& pos, bool kingSide) {
  const bool white = pos.sideToMove == WHITE;
  const uint16_t right = kingSide ? (white ? WHITE_SHORT : BLACK_SHORT) : (white ? WHITE_LONG : BLACK_LONG);
  if (!(pos.castleRights & right)) return 0;
  const Square from = white ? E1 : E8;
  const Square to = from + (kingSide ? 2 : -2);
  const int type = kingSide ? (white ? WHITE_CASTLE_SHORT : BLACK_CASTLE_SHORT)
                            : (white ? WHITE_CASTLE_LONG : BLACK_CASTLE_LONG);
  return makeMoveWord(from, to, type);
}

// "e4": from one rank behind, or two when no pawn stands one rank behind.
Move pawnPush(Position& pos, const char* s) {
  const Square to = squareAt(s);
  if (to < 0) return 0;
  Square from = to + behind(pos);
  if (onBoard(from) && !isPawn(pos.board[from])) from += behind(pos);
  return onBoard(from) ? makeMoveWord(from, to, QUIET) : 0;
}

// "e8Q": a push onto the target with promotion, not tested for a capture.
Move promotionPush(Position& pos, const char* s, int promotion) {
  const Square to = squareAt(s);
  if (to < 0) return 0;
  const Square from = to + behind(pos);
  return onBoard(from) ? makeMoveWord(from, to, PROMO_Q + promotion) : 0;
}

// "ed8Q": the from-file lies to the right of the target when the first letter is not the smaller.
Move promotionCapture(Position& pos, const char* s, int promotion) {
  const Square to = squareAt(s + 1);
  if (to < 0) return 0;
  const bool white = pos.sideToMove == WHITE;
  const Square from = s[0] >= s[1] ? to + (white ? 9 : -7) : to + (white ? 7 : -9);
  if (!onBoard(from)) return 0;
  const int base = pos.board[to] != EMPTY ? CAPTURE_PROMO_Q : PROMO_Q;
  return makeMoveWord(from, to, base + promotion);
}

// "Nbd7", "R1e2": the disambiguator limits the from squares to one file or one rank.
Move disambiguatedPieceMove(Position& pos, const char* s) {
  Bitboard mask = 0;
  if (isFile(s[1])) {
    for (Square sq = s[1] - 'a'; sq < 64; sq += 8) mask |= SquareMask[sq];
  } else if (isRank(s[1])) {
    const Square first = 8 * ('8' - s[1]);
    for (Square sq = first; sq < first + 8; ++sq) mask |= SquareMask[sq];
  } else {
    return 0;
  }
  const Square to = squareAt(s + 2);
  return to < 0 ? 0 : findPieceMove(pos, s[0], to, mask);
}

// From squares of the side to move's pieces of the kind the letter names that reach the target.
Bitboard candidates(Position& pos, char letter, Square target, Bitboard fromMask) {
  const bool white = pos.sideToMove == WHITE;
  auto own = [white, &pos](Piece whiteCode) { return pos.pieceBB[white ? whiteCode : whiteCode + 1]; };
  switch (letter) {
    case 'K': return SquareMask[pos.kingSquare[pos.sideToMove]];
    case 'N': return KnightAttacks[target] & own(WKNIGHT) & fromMask;
    case 'B': return bishopAttacks(target, pos.occ) & own(WBISHOP) & fromMask;
    case 'R': return rookAttacks(target, pos.occ) & own(WROOK) & fromMask;
    case 'Q': return queenAttacks(target, pos.occ) & own(WQUEEN) & fromMask;
    default: break;
  }
  if (!isFile(letter)) return 0;
  Bitboard file = 0;
  for (Square sq = letter - 'a'; sq < 64; sq += 8) file |= SquareMask[sq];
  // A white pawn capturing onto the target stands where a black pawn on the target would attack.
  const Bitboard behindTarget = white ? BlackPawnAttacks[target] : WhitePawnAttacks[target];
  return behindTarget & own(WPAWN) & file & fromMask;
}

}  // namespace

Move findPieceMove(Position& pos, char letter, Square target, Bitboard fromMask) {
  Bitboard from = candidates(pos, letter, target, fromMask);
  if (!from) return 0;
  const bool occupied = pos.board[target] != EMPTY;
  const int type = occupied ? CAPTURE : isFile(letter) ? EN_PASSANT : QUIET;
  if (PopCount(from) == 1) return makeMoveWord(BitScan(from), target, type);

  Move found = 0;
  for (; from; from &= from - 1) {
    const Move m = makeMoveWord(BitScan(from), target, type);
    if (!isLegalMove(pos, m)) continue;
    if (found) return 0;  // ambiguous
    found = m;
  }
  return found;
}

Move parseSquarePair(Position& pos, const char* s) {
  const Square from = squareAt(s);
  const Square to = squareAt(s + 2);
  if (from < 0 || to < 0) return 0;

  // Castling is recognised by the rights alone; what stands on e1 or e8 is not examined.
  const uint16_t rights = pos.castleRights;
  if (from == E8 && (rights & (BLACK_SHORT | BLACK_LONG))) {
    if (to == C8 && (rights & BLACK_LONG)) return makeMoveWord(from, to, BLACK_CASTLE_LONG);
    if (to == G8 && (rights & BLACK_SHORT)) return makeMoveWord(from, to, BLACK_CASTLE_SHORT);
  } else if (from == E1 && (rights & (WHITE_SHORT | WHITE_LONG))) {
    if (to == C1 && (rights & WHITE_LONG)) return makeMoveWord(from, to, WHITE_CASTLE_LONG);
    if (to == G1 && (rights & WHITE_SHORT)) return makeMoveWord(from, to, WHITE_CASTLE_SHORT);
  }

  const bool occupied = pos.board[to] != EMPTY;
  if (pos.board[from] <= BPAWN) {
    const char c = s[4];
    if (c == '\0' || c == '\t' || c == ' ') {
      if (pos.epSquare && pos.epSquare == to) return makeMoveWord(from, to, EN_PASSANT);
    } else {
      const int promotion = promotionIndex(c);
      if (promotion < 0) return makeMoveWord(from, to, QUIET);
      return makeMoveWord(from, to, (occupied ? CAPTURE_PROMO_Q : PROMO_Q) + promotion);
    }
  }
  return makeMoveWord(from, to, occupied ? CAPTURE : QUIET);
}

Move parseSanMove(Position& pos, const char* text) {
  char s[10] = {};
  int n = 0;
  for (int i = 0; i < 9 && text[i]; ++i)
    if (!std::strchr("x+#!?=-", text[i])) s[n++] = text[i];
  s[n] = '\0';

  switch (n) {
    case 2:
      if (!std::strcmp(s, "OO") || !std::strcmp(s, "00")) return castle(pos, true);
      return pawnPush(pos, s);
    case 3: {
      if (!std::strcmp(s, "OOO") || !std::strcmp(s, "000")) return castle(pos, false);
      const int promotion = promotionIndex(s[2]);
      if (promotion >= 0) return promotionPush(pos, s, promotion);
      const Square to = squareAt(s + 1);
      return to < 0 ? 0 : findPieceMove(pos, s[0], to, ~Bitboard(0));
    }
    case 4: {
      const int promotion = promotionIndex(s[3]);
      if (isFile(s[0]) && isFile(s[1]) && isRank(s[2]) && promotion >= 0)
        return promotionCapture(pos, s, promotion);
      if (Move m = parseSquarePair(pos, s)) return m;
      return disambiguatedPieceMove(pos, s);
    }
    case 5:
      if (Move m = parseSquarePair(pos, s + 1)) return m;
      return parseSquarePair(pos, s);
    default:
      return 0;
  }
}
