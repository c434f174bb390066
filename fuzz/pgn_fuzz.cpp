// readPgnGame on arbitrary PGN text, game after game as the converters read it; the working
// position must be the initial one again after every game, also when the reader gives up.
#include <sstream>

#include "board/fen.h"
#include "board/position.h"
#include "fuzz_support.h"
#include "tools/pgn_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzz::setUp();
  static GameRecord game;
  static Position pos;
  std::istringstream in(fuzz::text(data, size));
  SetupPosition(pos, START_FEN);
  const HashKey initial = pos.hashKey;
  try {
    for (;;) {
      in >> std::ws;
      in.peek();
      if (!in.good()) break;
      const std::streampos start = in.tellg();
      readPgnGame(in, pos, game);
      if (pos.hashKey != initial) std::abort();
      // A reader that consumes nothing would loop forever in the converters.
      if (in.good() && in.tellg() == start) std::abort();
    }
  } catch (const PgnError&) {
    if (pos.hashKey != initial) std::abort();
  }
  return 0;
}
