#include "eval/material_balance.h"

#include "board/position.h"

namespace {

constexpr int PIECE_UP = 100;       // a whole piece more in an otherwise balanced trade
constexpr int EXCHANGE_UP = 60;     // rook against a minor, or a queen against lesser pieces
constexpr int TWO_ROOKS_UP = 130;   // two rooks against three or more minors
constexpr int QUEEN_WITH_HELP = 12; // units of pieces beside which a lone queen is worth more

}  // namespace

int MaterialImbalance(const Position& pos, int minors, int majors) {
  const int whiteMaterial = pos.pieceMaterial[WHITE], blackMaterial = pos.pieceMaterial[BLACK];
  if (whiteMaterial < 5 && blackMaterial < 5) return 0;
  const bool whiteQueen = pos.pieceBB[WQUEEN], blackQueen = pos.pieceBB[BQUEEN];
  const bool onlyWhiteQueen = whiteQueen && !blackQueen, onlyBlackQueen = blackQueen && !whiteQueen;

  if (minors != 0) {
    switch (majors) {
      case 0:
        return whiteQueen == blackQueen ? (minors > 0 ? PIECE_UP : -PIECE_UP) : 0;
      case 1: {
        int s = minors < -1 ? -PIECE_UP : minors == -1 ? EXCHANGE_UP : 0;
        if (onlyBlackQueen && blackMaterial >= QUEEN_WITH_HELP) s -= EXCHANGE_UP;
        return s;
      }
      case -1: {
        int s = minors > 1 ? PIECE_UP : minors == 1 ? -EXCHANGE_UP : 0;
        if (onlyWhiteQueen && whiteMaterial >= QUEEN_WITH_HELP) s += EXCHANGE_UP;
        return s;
      }
      case 2:
        return minors < -2 ? -TWO_ROOKS_UP : 0;
      case -2:
        return minors > 2 ? TWO_ROOKS_UP : 0;
      default:
        return 0;
    }
  }
  if (majors != 0) {
    if (whiteQueen && blackQueen) return majors > 0 ? PIECE_UP : -PIECE_UP;
    if (onlyWhiteQueen) return whiteMaterial >= QUEEN_WITH_HELP ? EXCHANGE_UP : 0;
    if (onlyBlackQueen) return blackMaterial >= QUEEN_WITH_HELP ? -EXCHANGE_UP : 0;
    return majors > 0 ? PIECE_UP : -PIECE_UP;
  }
  return onlyWhiteQueen ? EXCHANGE_UP : onlyBlackQueen ? -EXCHANGE_UP : 0;
}
