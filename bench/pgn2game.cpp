// pgn2game speed: 10,000 random legal games into an empty game file, then the same PGN again
// (every game already stored). Prints the time of each run and the game file's size.
#include <fcntl.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <random>
#include <string>

#include "board/fen.h"
#include "board/move.h"
#include "board/position.h"
#include "board/tables.h"
#include "eval/piece_tables.h"
#include "movegen/make_move.h"
#include "movegen/move_list.h"
#include "movegen/validate.h"
#include "tools/converters.h"

namespace {

constexpr int GAMES = 10000;
constexpr int MAX_PLIES = 120;

// One game of random legal moves from the initial position, written as PGN in coordinate notation.
void writeRandomGame(Position& pos, std::ofstream& out, std::mt19937& random) {
  static const char* const results[3] = {"1-0", "0-1", "1/2-1/2"};
  const char* result = results[random() % 3];
  out << "[Event \"bench\"]\n[Result \"" << result << "\"]\n\n";
  Move played[MAX_PLIES];
  int plies = 0;
  const int length = 20 + int(random() % (MAX_PLIES - 20));
  while (plies < length) {
    Move legal[MAX_GENERATED_MOVES];
    const int count = GenerateLegalMoves(pos, legal);
    if (count == 0) break;
    const Move m = legal[random() % unsigned(count)];
    makeMove(pos, m);
    char text[8];
    MoveToText(m, text);
    if (plies % 2 == 0) out << plies / 2 + 1 << ". ";
    out << text << ' ';
    played[plies++] = m;
  }
  out << result << "\n\n";
  while (plies > 0) unmakeMove(pos, played[--plies]);
}

// Runs the command with its console output discarded; returns the seconds it took.
double timedRun(const char* pgn, const char* game) {
  std::fflush(stdout);
  const int saved = dup(1);
  const int null = open("/dev/null", O_WRONLY);
  dup2(null, 1);
  const auto start = std::chrono::steady_clock::now();
  Pgn2Game(pgn, game);
  const auto stop = std::chrono::steady_clock::now();
  std::fflush(stdout);
  dup2(saved, 1);
  close(null);
  close(saved);
  return std::chrono::duration<double>(stop - start).count();
}

}  // namespace

int main() {
  InitTables();
  InitPieceSquareTables();
  namespace fs = std::filesystem;
  const fs::path dir = fs::temp_directory_path() / ("dorvik_bench_pgn2game_" + std::to_string(getpid()));
  fs::create_directories(dir);
  const std::string pgn = (dir / "games.pgn").string();
  const std::string game = (dir / "games.bin").string();

  auto pos = std::make_unique<Position>();
  SetupPosition(*pos, START_FEN);
  std::mt19937 random(20261207);
  {
    std::ofstream out(pgn);
    for (int i = 0; i < GAMES; ++i) writeRandomGame(*pos, out, random);
  }
  std::printf("PGN: %d games, %ju bytes\n", GAMES, uintmax_t(fs::file_size(pgn)));
  const double first = timedRun(pgn.c_str(), game.c_str());
  const uintmax_t size = fs::file_size(game);
  const double second = timedRun(pgn.c_str(), game.c_str());
  std::printf("pgn2game into an empty file:   %.3f s (%.0f games/s), game file %ju bytes\n", first,
              GAMES / first, size);
  std::printf("pgn2game again (all skipped):  %.3f s, game file %s\n", second,
              fs::file_size(game) == size ? "unchanged" : "CHANGED");
  fs::remove_all(dir);
  return 0;
}
