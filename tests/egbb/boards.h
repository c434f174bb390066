// Random legal boards of an ending, for tests that check properties over many positions.
#pragma once
#include <random>

#include "core/ending.h"

namespace egbbtest {

// A legal board of `ending` (White's men then Black's, in the name's order) with a random side to move.
inline egbb::Board randomBoard(const egbb::Ending& ending, std::mt19937& random) {
  for (;;) {
    egbb::Board b;
    b.side = uint8_t(random() % 2);
    b.count = 2;
    b.men[0] = egbb::Man{egbb::WHITE, egbb::KING, uint8_t(random() % 64)};
    b.men[1] = egbb::Man{egbb::BLACK, egbb::KING, uint8_t(random() % 64)};
    for (int colour = 0; colour < 2; ++colour)
      for (int type = 0; type < egbb::PIECE_TYPES; ++type)
        for (int k = 0; k < ending.count[colour][type]; ++k)
          b.men[b.count++] = egbb::Man{uint8_t(colour), uint8_t(type), uint8_t(random() % 64)};
    if (egbb::isLegal(b)) return b;
  }
}

}  // namespace egbbtest
