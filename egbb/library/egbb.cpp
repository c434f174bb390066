// The engine's endgame bitbase library: the two functions the engine calls.
//   load_egbb_5men(directory, cache bytes, load mode)  loads the tables of the directory
//   probe_egbb_5men(side, white king, black king, piece, square, ...)  a position's score for
//     the side to move (value.h), or 99999 when no table answers for it
// Pieces: white queen 2, rook 3, bishop 4, knight 5, pawn 6; black 8 to 12; 0 an empty slot.
// Squares from a1 = 0 to h8 = 63. The library keeps one set of tables; probes may come from several
// threads at once and take their turns at the tables and their cache of decoded blocks.
#include <mutex>

#include "core/value.h"
#include "library/tables.h"

namespace {

constexpr int NO_RESULT = 99999;
constexpr int EMPTY_SLOT = 0, WHITE_QUEEN = 2, BLACK_QUEEN = 8;

egbb::Tables tables;
std::mutex tablesMutex;

// Adds a probe argument pair to the board; false for a piece code or square out of range.
bool addMan(egbb::Board& board, int piece, int square) {
  if (piece == EMPTY_SLOT) return true;
  int colour = piece >= BLACK_QUEEN ? egbb::BLACK : egbb::WHITE;
  int type = piece - (colour == egbb::BLACK ? BLACK_QUEEN : WHITE_QUEEN);
  if (type < egbb::QUEEN || type > egbb::PAWN || square < 0 || square > 63) return false;
  board.men[board.count++] = egbb::Man{uint8_t(colour), uint8_t(type), uint8_t(square)};
  return true;
}

}  // namespace

extern "C" {

__attribute__((visibility("default"))) void load_egbb_5men(char* directory, int cacheBytes, int loadMode) {
  std::lock_guard<std::mutex> lock(tablesMutex);
  tables.load(directory ? directory : "", cacheBytes > 0 ? size_t(cacheBytes) : 0, loadMode);
}

__attribute__((visibility("default"))) int probe_egbb_5men(int side, int whiteKing, int blackKing, int piece1,
                                                           int square1, int piece2, int square2, int piece3,
                                                           int square3) {
  if ((side != 0 && side != 1) || whiteKing < 0 || whiteKing > 63 || blackKing < 0 || blackKing > 63)
    return NO_RESULT;
  egbb::Board board;
  board.side = uint8_t(side);
  board.count = 2;
  board.men[0] = egbb::Man{egbb::WHITE, egbb::KING, uint8_t(whiteKing)};
  board.men[1] = egbb::Man{egbb::BLACK, egbb::KING, uint8_t(blackKing)};
  if (!addMan(board, piece1, square1) || !addMan(board, piece2, square2) || !addMan(board, piece3, square3) ||
      !egbb::isLegal(board))
    return NO_RESULT;
  if (board.count == 2) return 0;  // the kings alone: a draw
  std::unique_lock<std::mutex> lock(tablesMutex);
  int value = tables.value(board);
  lock.unlock();
  return value < 0 ? NO_RESULT : egbb::scoreOf(uint8_t(value));
}
}
