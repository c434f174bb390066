// What a table stores for a position, one byte: 0 a draw; 1 + d for a position decided d plies
// before mate, with best play on both sides (odd d: the side to move mates; even d: it is mated);
// NO_POSITION where the number stands for no legal position.
#pragma once
#include <cstdint>

namespace egbb {

inline constexpr uint8_t DRAW = 0;
inline constexpr uint8_t NO_POSITION = 255;
inline constexpr int MAX_PLIES = 253;

constexpr uint8_t decided(int plies) { return uint8_t(plies + 1); }
constexpr bool isDecided(uint8_t value) { return value != DRAW && value != NO_POSITION; }
constexpr int pliesOf(uint8_t value) { return value - 1; }
constexpr bool isWin(uint8_t value) { return isDecided(value) && (pliesOf(value) & 1); }
constexpr bool isLoss(uint8_t value) { return isDecided(value) && !(pliesOf(value) & 1); }

// The value of the position before a move, seen from the side that played it, for a move whose
// result has `value`.
constexpr uint8_t valueBefore(uint8_t value) { return isDecided(value) ? decided(pliesOf(value) + 1) : value; }

// The probe's answer: 0 for a draw; for a win in m moves (m of the winner's own moves to mate)
// 17000 - 10 m, for a loss in m moves -(17000 - 10 m). The engine maps 17000 - 10 m to 8000 - m,
// above every evaluation and below every mate its search finds, so a shorter win scores higher
// and a longer defence scores higher for the losing side.
constexpr int WIN_SCORE = 17000, SCORE_PER_MOVE = 10;
constexpr int scoreOf(uint8_t value) {
  if (!isDecided(value)) return 0;
  int plies = pliesOf(value);
  return isWin(value) ? WIN_SCORE - SCORE_PER_MOVE * ((plies + 1) / 2) : -(WIN_SCORE - SCORE_PER_MOVE * (plies / 2));
}

}  // namespace egbb
