// egbbpick: positions for test games, picked by the tables.
//   egbbpick DIR ENDING win|draw COUNT SEED
// Prints COUNT positions of ENDING as FEN lines, the side to move being the one under test:
//   win   the stronger side is to move and wins, in at least half as many moves as the
//         longest such win of the ending;
//   draw  the weaker side (or either, in an even ending) is to move and draws, has no capture,
//         and has at least one move that loses.
// Every second position has its colours swapped. The same arguments give the same positions.
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>

#include "core/board_text.h"
#include "core/index.h"
#include "core/table_file.h"
#include "core/value.h"

namespace {

using namespace egbb;

int usage() {
  std::fprintf(stderr, "usage: egbbpick DIR ENDING win|draw COUNT SEED\n");
  return 2;
}

struct Picker {
  const Indexer& indexer;
  const std::vector<uint8_t>* values;  // the table, per side to move

  uint8_t value(const Board& b) const { return values[b.side][indexer.index(b)]; }

  // A draw for the side to move that has no capture and can lose.
  bool testingDraw(const Board& b) const {
    if (value(b) != DRAW) return false;
    Move moves[MAX_MOVES];
    int n = legalMoves(b, moves);
    bool canLose = false;
    for (int i = 0; i < n; ++i) {
      if (moves[i].captured >= 0 || moves[i].promotion != KING) return false;
      canLose = canLose || isWin(value(afterMove(b, moves[i])));
    }
    return canLose;
  }
};

}  // namespace

int main(int argc, char** argv) {
  if (argc != 6) return usage();
  Ending ending;
  std::string kind = argv[3];
  int count = std::atoi(argv[4]);
  if (!Ending::parse(argv[2], ending) || !ending.isStored() || ending.men() < 3 || (kind != "win" && kind != "draw") ||
      count < 1)
    return usage();
  std::vector<uint8_t> values[2];
  std::string error;
  if (!readTable(std::string(argv[1]) + "/" + ending.name() + TABLE_SUFFIX, ending, values, error)) {
    std::fprintf(stderr, "egbbpick: %s\n", error.c_str());
    return 1;
  }
  Indexer indexer(ending);
  Picker picker{indexer, values};
  bool wins = kind == "win";
  int side = wins ? WHITE : BLACK;
  auto candidate = [&](uint64_t number, Board& b) {
    return indexer.decode(number, side, b) && isLegal(b) && indexer.index(b) == number;
  };
  int longest = 0;
  for (uint64_t number = 0; wins && number < indexer.size(); ++number)
    if (Board b; candidate(number, b) && isWin(values[side][number])) longest = std::max(longest, pliesOf(values[side][number]));
  if (wins && longest == 0) {
    std::fprintf(stderr, "egbbpick: no wins in %s\n", ending.name().c_str());
    return 1;
  }
  std::mt19937_64 random(std::strtoull(argv[5], nullptr, 10));
  for (int found = 0; found < count;) {
    Board b;
    uint64_t number = random() % indexer.size();
    if (!candidate(number, b)) continue;
    uint8_t v = values[side][number];
    if (wins ? !isWin(v) || 2 * pliesOf(v) < longest : !picker.testingDraw(b)) continue;
    std::printf("%s\n", fenOf(found % 2 ? flippedBoard(b) : b).c_str());
    ++found;
  }
  return 0;
}
