// A bitbase library with fixed answers, for tests. The score depends only on the first piece
// argument (the piece nearest h1), in the library's piece codes:
//   none (king against king) 0, white queen 7100, white rook 20000, white pawn 250,
//   black queen -20000, black rook -7005; black bishop 7250 with White to move; black pawn 7300
//   with Black to move; anything else 99999 (no result).
// The last two answer for one side to move only, so that a search can meet them below a root
// whose moves all lead to unknown positions.
// It also keeps the arguments of the last load and probe calls for the tests to read.
#include <cstring>

namespace {
char loadDirectory[512];
int loadArguments[2];   // cache bytes, load mode
int probeArguments[9];  // side, white king, black king, then piece and square three times
}  // namespace

extern "C" {

__attribute__((visibility("default"))) void load_egbb_5men(char* directory, int cacheBytes,
                                                           int loadMode) {
  std::strncpy(loadDirectory, directory, sizeof loadDirectory - 1);
  loadArguments[0] = cacheBytes;
  loadArguments[1] = loadMode;
}

__attribute__((visibility("default"))) int probe_egbb_5men(int side, int whiteKing, int blackKing,
                                                           int piece1, int square1, int piece2,
                                                           int square2, int piece3, int square3) {
  const int arguments[9] = {side, whiteKing, blackKing, piece1, square1,
                            piece2, square2, piece3, square3};
  std::memcpy(probeArguments, arguments, sizeof arguments);
  switch (piece1) {
    case 0: return 0;
    case 2: return 7100;
    case 3: return 20000;
    case 6: return 250;
    case 8: return -20000;
    case 9: return -7005;
    case 10: return side == 0 ? 7250 : 99999;
    case 12: return side == 1 ? 7300 : 99999;
    default: return 99999;
  }
}

// Test access: the directory and the numbers of the last load call, the last probe's arguments.
__attribute__((visibility("default"))) const char* fixed_egbb_load_directory(int* cacheBytes,
                                                                             int* loadMode) {
  *cacheBytes = loadArguments[0];
  *loadMode = loadArguments[1];
  return loadDirectory;
}

__attribute__((visibility("default"))) void fixed_egbb_last_probe(int* arguments) {
  std::memcpy(arguments, probeArguments, sizeof probeArguments);
}
}
