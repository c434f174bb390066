#include "movegen/exchange.h"

#include "board/phase_tables.h"
#include "board/position.h"
#include "board/tables.h"

namespace {

// Sliders of a kind hidden behind the piece on `from` as seen from `to`.
inline Bitboard behindOnRankFile(const Occupancy& occ, Square from, Square to, Bitboard rookLike) {
  return rookLike & RookReach[from] & RookReach[to] & rookAttacks(from, occ);
}
inline Bitboard behindOnDiagonal(const Occupancy& occ, Square from, Square to, Bitboard bishopLike) {
  return bishopLike & BishopReach[from] & BishopReach[to] & bishopAttacks(from, occ);
}

}  // namespace

// The sums are taken modulo 2^16.
int16_t staticExchange(const Position& pos, Piece mover, Square from, Square to, Bitboard rookLike, Bitboard bishopLike) {
  const int material = pos.totalMaterial;
  auto squareValue = [material](Piece p, Square sq) { return int(PhaseSelectorByPiece[p][material][sq]); };
  const int side = colourOf(mover);
  const Piece victim = pos.board[to];
  const Bitboard* bb = pos.pieceBB;

  int gain[64];  // one entry per capture on the square: never more than the other 63 squares hold
  gain[0] = CaptureValue[victim];
  int pst = -squareValue(mover, from);
  const Bitboard lastRank = side == WHITE ? RANK_8_BB : RANK_1_BB;
  if (isPawn(mover) && (SquareMask[to] & lastRank)) {
    gain[0] += 800;
    mover = pieceOf(side, WQUEEN);
  }
  auto victimValue = [&]() { return victim ? squareValue(victim, to) : 0; };

  Bitboard attackers = (bishopAttacks(to, pos.occ) & bishopLike) | (rookAttacks(to, pos.occ) & rookLike) |
                       (KingAttacks[to] & (SquareMask[pos.kingSquare[WHITE]] | SquareMask[pos.kingSquare[BLACK]])) |
                       (KnightAttacks[to] & (bb[WKNIGHT] | bb[BKNIGHT])) | (BlackPawnAttacks[to] & bb[WPAWN]) |
                       (WhitePawnAttacks[to] & bb[BPAWN]);
  const Bitboard fromMask = ~SquareMask[from];
  attackers &= fromMask;
  rookLike &= fromMask;
  bishopLike &= fromMask;

  // Where each colour's search for its least valuable attacker starts.
  int start[2];
  for (int c = BLACK; c <= WHITE; ++c)
    start[c] = (attackers & bb[pieceOf(c, WPAWN)]) ? pieceOf(c, WPAWN) : pieceOf(c, WKNIGHT);

  // X-rays behind a piece leaving `sq`; for a queen the diagonal is looked at only when the
  // rank or file behind it holds nothing. Returns 1 for a rank/file find, 2 for a diagonal one.
  auto xray = [&](Piece p, Square sq) {
    if (p == WKNIGHT || p == BKNIGHT || p == WKING || p == BKING) return 0;
    if (p == WROOK || p == BROOK || p == WQUEEN || p == BQUEEN) {
      Bitboard found = behindOnRankFile(pos.occ, sq, to, rookLike);
      if (found) {
        attackers |= found;
        rookLike &= ~found;
        return 1;
      }
      if (p == WROOK || p == BROOK) return 0;
    }
    Bitboard found = behindOnDiagonal(pos.occ, sq, to, bishopLike);
    attackers |= found;
    bishopLike &= ~found;
    return found ? 2 : 0;
  };

  xray(mover, from);
  const Bitboard enemyPieces = pos.colourPieces[side ^ 1];
  if ((mover == WKING || mover == BKING) && (attackers & enemyPieces)) return -32767;
  pst += squareValue(mover, to);

  if (!(attackers & enemyPieces)) {
    if (gain[0] == 0) return int16_t(pst - 29985);
    return int16_t(pst + victimValue() + gain[0] - 9500);
  }

  rookLike &= ~attackers;
  bishopLike &= ~attackers;
  int d = 1;
  int recapturer = side ^ 1;
  Piece onTarget = mover;
  while (attackers & pos.colourPieces[recapturer]) {
    Piece capturer = EMPTY;
    Square capturedFrom = 0;
    for (int code = start[recapturer]; code <= pieceOf(recapturer, WQUEEN); code += 2) {
      if (Bitboard found = attackers & bb[code]) {
        capturedFrom = BitScan(found);
        attackers &= ~SquareMask[capturedFrom];
        start[recapturer] = code;
        capturer = Piece(code);
        break;
      }
    }
    if (!capturer) {
      // The king may take last, when nothing else of either side still bears on the square.
      Bitboard king = SquareMask[pos.kingSquare[recapturer]];
      if (!(attackers & king) || (attackers & ~king)) break;
      attackers &= ~king;
      capturer = pieceOf(recapturer, WKING);
      capturedFrom = pos.kingSquare[recapturer];
    }

    gain[d] = CaptureValue[onTarget] - gain[d - 1];
    onTarget = capturer;
    if (gain[d] - CaptureValue[capturer] > 50) {
      if (recapturer != side) return int16_t(CaptureValue[capturer] / 2 - gain[d] - 30000 + pst);
      if (gain[0] == 0) return int16_t(pst - 29985);
      return int16_t(gain[d - 2] + pst + victimValue() - 9500);
    }

    int found = xray(capturer, capturedFrom);
    if (found && (capturer == WQUEEN || capturer == BQUEEN)) {
      Piece floor = found == 1 ? WROOK : WBISHOP;
      for (int c = BLACK; c <= WHITE; ++c)
        if (start[c] > pieceOf(c, floor)) start[c] = pieceOf(c, floor);
    }
    ++d;
    recapturer ^= 1;
  }

  for (int i = d - 1; i >= 1; --i)
    if (-gain[i] < gain[i - 1]) gain[i - 1] = -gain[i];
  if (gain[0] <= -50) return int16_t(pst + gain[0] - 30000);
  if (gain[0] == 0) return int16_t(pst - 29985);
  return int16_t(pst + victimValue() + gain[0] - 9500);
}
