// SetupPosition on arbitrary text: a refused text leaves the position as it was, an accepted
// one is consistent and can be written back as FEN and set up again.
#include <cstring>

#include "board/fen.h"
#include "board/position.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzz::setUp();
  const std::string input = fuzz::text(data, size);
  static Position pos;
  SetupPosition(pos, START_FEN);
  const HashKey before = pos.hashKey;
  if (!SetupPosition(pos, input.c_str())) {
    if (pos.hashKey != before) std::abort();
    return 0;
  }
  if (!PositionOk(pos)) std::abort();
  char fen[256];
  PositionToFen(pos, fen);
  const HashKey accepted = pos.hashKey;
  if (!SetupPosition(pos, fen) || pos.hashKey != accepted) std::abort();
  return 0;
}
