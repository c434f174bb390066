// Boards for the tests: random legal ones of an ending, and their FEN and move texts.
#pragma once
#include <random>
#include <string>

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

inline std::string squareText(int sq) { return {char('a' + egbb::fileOf(sq)), char('1' + egbb::rankOf(sq))}; }

inline std::string moveText(const egbb::Board& b, const egbb::Move& m) {
  std::string t = squareText(b.men[m.man].square) + squareText(m.to);
  if (m.promotion != egbb::KING) t += "qrbn"[m.promotion];
  return t;
}

inline std::string fenOf(const egbb::Board& b) {
  char grid[8][8] = {};
  for (int i = 0; i < b.count; ++i) {
    char letter = "qrbnpk"[b.men[i].type];
    grid[egbb::rankOf(b.men[i].square)][egbb::fileOf(b.men[i].square)] =
        b.men[i].colour == egbb::WHITE ? char(letter - 'a' + 'A') : letter;
  }
  std::string fen;
  for (int r = 7; r >= 0; --r) {
    int empty = 0;
    for (int f = 0; f < 8; ++f) {
      if (!grid[r][f]) {
        ++empty;
        continue;
      }
      if (empty) fen += char('0' + empty), empty = 0;
      fen += grid[r][f];
    }
    if (empty) fen += char('0' + empty);
    if (r) fen += '/';
  }
  return fen + (b.side == egbb::WHITE ? " w - - 0 1" : " b - - 0 1");
}

}  // namespace egbbtest
