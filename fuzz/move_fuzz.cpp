// parseSanMove and ParseCoordinateMove on an arbitrary token in an arbitrary position: the first
// line is the position (the initial one when it is refused), the rest the token. Neither reader
// may change the position.
#include <cstring>

#include "board/fen.h"
#include "board/move.h"
#include "board/position.h"
#include "fuzz_support.h"
#include "tools/san.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzz::setUp();
  const std::string input = fuzz::text(data, size);
  const size_t newline = input.find('\n');
  const std::string fen = input.substr(0, newline);
  const std::string token = newline == std::string::npos ? std::string() : input.substr(newline + 1);
  static Position pos;
  if (!SetupPosition(pos, fen.c_str())) SetupPosition(pos, START_FEN);
  const HashKey before = pos.hashKey;
  parseSanMove(pos, token.c_str());
  parseSquarePair(pos, token.c_str());
  ParseCoordinateMove(pos, token.c_str());
  if (pos.hashKey != before || !PositionOk(pos)) std::abort();
  return 0;
}
