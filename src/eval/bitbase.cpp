#include "eval/bitbase.h"

#include <dlfcn.h>
#include <sys/stat.h>

#include <cerrno>
#include <climits>
#include <cstring>
#include <string>

#include "board/position.h"
#include "board/score.h"
#include "board/tables.h"

Bitbases bitbases;

namespace {

using LoadFunction = void (*)(char* directory, int cacheBytes, int loadMode);
using ProbeFunction = int (*)(int side, int whiteKing, int blackKing, int piece1, int square1,
                              int piece2, int square2, int piece3, int square3);

ProbeFunction probeFunction = nullptr;

constexpr const char* LIBRARY_FILE = "egbbso64.so";

bool failedLoad(const std::string& reason) {
  bitbases.loadError = reason;
  return false;
}

// The library's piece codes by our piece code; kings are passed by their own arguments.
constexpr int LibraryPiece[13] = {0, 6, 12, 5, 11, 4, 10, 3, 9, 2, 8, 0, 0};

// The library numbers squares from a1 = 0; ours run from a8 = 0.
constexpr int librarySquare(Square sq) { return sq ^ 56; }

// Scores beyond +-BITBASE_EXACT are compressed tenfold so that no bitbase score reaches a mate score.
int mapScore(int r) {
  constexpr int MAX_STEPS = BITBASE_LIMIT - BITBASE_EXACT - 1;
  if (r > BITBASE_EXACT) {
    int q = (r - BITBASE_EXACT) / 10;
    return q > MAX_STEPS ? BITBASE_LIMIT : BITBASE_EXACT + q;
  }
  if (r < -BITBASE_EXACT) {
    int q = (r + BITBASE_EXACT) / 10;
    return q < -MAX_STEPS ? -BITBASE_LIMIT : -BITBASE_EXACT + q;
  }
  return r;
}

}  // namespace

bool LoadBitbases(const char* directory, int cacheMegabytes, int loadMode) {
  std::string path = std::string(directory) + LIBRARY_FILE;
  bitbases.loaded = false;
  struct stat st;
  if (stat(directory, &st) != 0) return failedLoad(std::string("no folder ") + directory + ": " + std::strerror(errno));
  if (stat(path.c_str(), &st) != 0) return failedLoad("no library " + path + ": " + std::strerror(errno));
  void* library = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (!library) return failedLoad(dlerror());
  auto load = reinterpret_cast<LoadFunction>(dlsym(library, "load_egbb_5men"));
  auto probe = reinterpret_cast<ProbeFunction>(dlsym(library, "probe_egbb_5men"));
  if (!load || !probe) {  // some other library of that name: do not call into it
    dlclose(library);
    return failedLoad(path + " is no bitbase library: it lacks load_egbb_5men or probe_egbb_5men");
  }
  probeFunction = probe;
  bitbases.loadMode = loadMode;
  // The cache size is configured in megabytes; a size past the int range is passed as the largest.
  long long bytes = (long long)cacheMegabytes << 20;
  std::string directoryText = directory;
  load(directoryText.data(), bytes > INT_MAX ? INT_MAX : int(bytes), loadMode);
  bitbases.loaded = true;
  bitbases.loadError.clear();
  return true;
}

bool BitbaseCovers() {
  if (!bitbases.loaded || pos.castleRights) return false;
  if (pos.pawnCount[WHITE] + pos.pawnCount[BLACK] > 3 || PopCount(pos.occupied) > 5) return false;
  const int us = pos.sideToMove;
  return !pos.epSquare || !(pawnAttackersOf(us, pos.epSquare) & pos.pieceBB[pieceOf(us, WPAWN)]);
}

int ProbeBitbaseArguments(const int a[9]) {
  if (!bitbases.loaded) return BITBASE_NO_RESULT;
  return probeFunction(a[0], a[1], a[2], a[3], a[4], a[5], a[6], a[7], a[8]);
}

int ProbeBitbase() {
  if (!bitbases.loaded) return BITBASE_NO_RESULT;
  if (pos.kingSquare[WHITE] >= 64 || pos.kingSquare[BLACK] >= 64) return BITBASE_NO_RESULT;
  int pieces[3] = {0, 0, 0};
  int squares[3] = {0, 0, 0};
  int found = 0;
  for (Square sq = 63; sq >= 0 && found < 3; --sq) {
    Piece p = pos.board[sq];
    if (p == EMPTY || p == WKING || p == BKING) continue;
    pieces[found] = LibraryPiece[p];
    squares[found++] = librarySquare(sq);
  }
  const int arguments[9] = {pos.sideToMove == WHITE ? 0 : 1, librarySquare(pos.kingSquare[WHITE]),
                            librarySquare(pos.kingSquare[BLACK]), pieces[0], squares[0], pieces[1],
                            squares[1], pieces[2], squares[2]};
  int result = ProbeBitbaseArguments(arguments);
  return result == BITBASE_NO_RESULT ? result : mapScore(result);
}
