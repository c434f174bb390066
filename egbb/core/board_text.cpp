#include "core/board_text.h"

namespace egbb {

std::string squareText(int square) { return {char('a' + fileOf(square)), char('1' + rankOf(square))}; }

std::string moveText(const Board& board, const Move& move) {
  std::string text = squareText(board.men[move.man].square) + squareText(move.to);
  if (move.promotion != KING) text += "qrbn"[move.promotion];
  return text;
}

std::string fenOf(const Board& board) {
  char grid[64] = {};
  for (int i = 0; i < board.count; ++i) {
    char letter = "qrbnpk"[board.men[i].type];
    grid[board.men[i].square] = board.men[i].colour == WHITE ? char(letter - 'a' + 'A') : letter;
  }
  std::string fen;
  for (int rank = 7; rank >= 0; --rank) {
    int empty = 0;
    for (int file = 0; file < 8; ++file) {
      char c = grid[8 * rank + file];
      if (!c) {
        ++empty;
        continue;
      }
      if (empty) fen += char('0' + empty), empty = 0;
      fen += c;
    }
    if (empty) fen += char('0' + empty);
    if (rank) fen += '/';
  }
  return fen + (board.side == WHITE ? " w - - 0 1" : " b - - 0 1");
}

}  // namespace egbb
