// SetupPosition on arbitrary text: a refused text leaves the position as it was, an accepted
// one can be written back as FEN and set up again.
#include <cstring>

#include "board/fen.h"
#include "board/position.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzz::setUp();
  const std::string input = fuzz::text(data, size);
  SetupPosition(START_FEN);
  const HashKey before = pos.hashKey;
  if (!SetupPosition(input.c_str())) {
    // False also covers an unreadable EPD move after a good FEN; only then may the key change.
    if (std::strstr(input.c_str(), "bm") == nullptr && std::strstr(input.c_str(), "am") == nullptr &&
        pos.hashKey != before)
      std::abort();
    return 0;
  }
  char fen[256];
  PositionToFen(fen);
  const HashKey accepted = pos.hashKey;
  if (!SetupPosition(fen) || pos.hashKey != accepted) std::abort();
  return 0;
}
