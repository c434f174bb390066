#include "eval/bitbase.h"

#include <dlfcn.h>
#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstring>

#include "board/score.h"
#include "board/tables.h"

namespace {

using LoadFunction = void (*)(char* directory, int cacheBytes, int loadMode);

constexpr const char* LIBRARY_FILE = "egbbso64.so";

// The library's piece codes by our piece code; kings are passed by their own arguments.
constexpr int LibraryPiece[13] = {0, 6, 12, 5, 11, 4, 10, 3, 9, 2, 8, 0, 0};

// The library numbers squares from a1 = 0; ours run from a8 = 0.
constexpr int librarySquare(Square sq) { return sq ^ 56; }

// The library scores a win in m moves 17000 - 10 m, a loss the negative. Answers within
// +-LIBRARY_EXACT are taken as they are; beyond, the moves to mate become a bitbase score, below
// every mate the search finds and ordered by the distance.
constexpr int LIBRARY_WIN = 17000;
constexpr int LIBRARY_MOVE = 10;
constexpr int LIBRARY_EXACT = 7000;

int mapScore(int r) {
  if (r >= -LIBRARY_EXACT && r <= LIBRARY_EXACT) return r;
  const int moves = (LIBRARY_WIN - std::abs(r)) / LIBRARY_MOVE;
  const int score = std::clamp(BITBASE_WIN - moves, LIBRARY_EXACT + 1, BITBASE_WIN);
  return r > 0 ? score : -score;
}

}  // namespace

bool Bitbases::load(const char* directory, int cacheMegabytes, int loadMode) {
  const std::string path = std::string(directory) + LIBRARY_FILE;
  struct stat st;
  if (stat(directory, &st) != 0) return failedLoad(std::string("no folder ") + directory + ": " + std::strerror(errno));
  if (stat(path.c_str(), &st) != 0) return failedLoad("no library " + path + ": " + std::strerror(errno));
  void* library = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (!library) {
    const char* reason = dlerror();
    return failedLoad(reason ? reason : "cannot load " + path);
  }
  auto load = reinterpret_cast<LoadFunction>(dlsym(library, "load_egbb_5men"));
  auto probe = reinterpret_cast<ProbeFunction>(dlsym(library, "probe_egbb_5men"));
  if (!load || !probe) {  // some other library of that name: do not call into it
    dlclose(library);
    return failedLoad(path + " is no bitbase library: it lacks load_egbb_5men or probe_egbb_5men");
  }
  loadMode_ = loadMode;
  // The cache size is configured in megabytes; a size past the int range is passed as the largest.
  const long long bytes = (long long)cacheMegabytes << 20;
  std::string directoryText = directory;
  load(directoryText.data(), bytes > INT_MAX ? INT_MAX : int(bytes), loadMode);
  probe_ = probe;
  error_.clear();
  return true;
}

bool Bitbases::covers(const Position& pos) const {
  if (!loaded() || pos.castleRights) return false;
  if (pos.pawnCount[WHITE] + pos.pawnCount[BLACK] > 3 || PopCount(pos.occ.all) > 5) return false;
  const int us = pos.sideToMove;
  return !pos.epSquare || !(pawnAttackersOf(us, pos.epSquare) & pos.pieceBB[pieceOf(us, WPAWN)]);
}

int Bitbases::probeArguments(const int a[9]) const {
  if (!loaded()) return BITBASE_NO_RESULT;
  return probe_(a[0], a[1], a[2], a[3], a[4], a[5], a[6], a[7], a[8]);
}

int Bitbases::probe(const Position& pos) const {
  if (!loaded()) return BITBASE_NO_RESULT;
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
  const int result = probeArguments(arguments);
  return result == BITBASE_NO_RESULT ? result : mapScore(result);
}
