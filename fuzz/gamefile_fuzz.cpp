// readGameRecord, countGames and the game store on arbitrary game-file bytes; the records read are
// written out as PGN and as positions, as "game2pgn" and "game2pos" do.
#include <fstream>
#include <sstream>

#include "board/fen.h"
#include "board/position.h"
#include "fuzz_support.h"
#include "tools/game_files.h"
#include "tools/game_store.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string& dir = fuzz::setUp();
  static GameRecord game;
  const std::string bytes = fuzz::text(data, size);

  std::istringstream in(bytes);
  const int counted = countGames(in);
  if (in.tellg() != 0) std::abort();  // countGames restores the position

  static Position pos;
  SetupPosition(pos, START_FEN);
  const HashKey initial = pos.hashKey;
  int read = 0;
  std::ostringstream pgn, positions;
  std::ostream* outputs[1] = {&positions};
  try {
    while (readGameRecord(in, game)) {
      ++read;
      writePgnGame(pgn, game);
      writePositionLines(pos, game, outputs, 1);
      if (pos.hashKey != initial) std::abort();
    }
  } catch (const PgnError&) {
    if (pos.hashKey != initial) std::abort();
  }
  if (counted >= 0 && read > counted) std::abort();

  // The store repairs a cut-short last record and refuses any other damage.
  const std::string path = dir + "f.gam";
  fuzz::writeFile(path, data, size);
  GameStore store;
  if (store.open(path.c_str())) {
    std::ifstream repaired(path, std::ios::binary);
    if (countGames(repaired) < 0) std::abort();
  }
  return 0;
}
