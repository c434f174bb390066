#include "tools/converters.h"

#include <cstdio>
#include <cstring>
#include <fstream>
#include <memory>

#include "board/fen.h"
#include "io/log.h"
#include "tools/game_files.h"
#include "tools/game_store.h"
#include "tools/pgn_reader.h"

namespace {

// The game being converted and the position its moves are played on.
struct Conversion {
  Position pos;
  GameRecord game;
};

std::unique_ptr<Conversion> startConversion() {
  auto c = std::make_unique<Conversion>();
  SetupPosition(c->pos, START_FEN);
  return c;
}

struct PgnCounts {
  int converted = 0;
  int skipped = 0;
};

void warnSkipped(const PgnCounts& counts, const char* pgn) {
  std::printf("Warning: game %d (skipped) file: %s\n", counts.converted + counts.skipped, pgn);
}

void printCounts(const PgnCounts& counts) {
  std::printf("converted: %d games. (skipped: %d)\n", counts.converted, counts.skipped);
}

void reportFinished(const PgnCounts& counts, const char* pgn) {
  printCounts(counts);
  std::printf("file: %s \t\tfinished\n", pgn);
  logLine("<<< OK:\t%s\t>>>", pgn);
}

void reportError(const PgnError& error, const PgnCounts& counts, const char* pgn) {
  printCounts(counts);
  std::printf("ERROR: %s file: %s\n", error.message, pgn);
  logLine("converted: %d\tskipped: %d", counts.converted, counts.skipped);
  logLine("ERROR: %s", error.message);
}

// Trailing white space ends the file rather than counting as one more game.
bool moreGames(std::istream& in) {
  in >> std::ws;
  in.peek();
  return in.good();
}

// Text files saved with a UTF-8 byte-order mark are read from after it.
bool openPgn(std::ifstream& in, const char* pgn) {
  in.open(pgn);
  if (!in) {
    std::printf("Cannot open PGN input file: '%s'\n", pgn);
    return false;
  }
  char mark[3] = {};
  if (!in.read(mark, 3) || std::memcmp(mark, "\xEF\xBB\xBF", 3) != 0) {
    in.clear();
    in.seekg(0);
  }
  return true;
}

// One PGN file into the game store (opened on first use). False when the conversion must stop:
// the game file cannot be used or the PGN reader raised an error.
bool convertPgnToGames(const char* pgn, const char* gameFile, GameStore& store, int& total) {
  std::ifstream in;
  if (!openPgn(in, pgn)) return true;
  if (!store.isOpen() && !store.open(gameFile)) return false;
  auto c = startConversion();
  PgnCounts counts;
  try {
    while (moreGames(in)) {
      if (readPgnGame(in, c->pos, c->game) && store.append(c->game)) {
        ++counts.converted;
        ++total;
      } else {
        ++counts.skipped;
        warnSkipped(counts, pgn);
      }
    }
  } catch (const PgnError& error) {
    reportError(error, counts, pgn);
    return false;
  }
  reportFinished(counts, pgn);
  return true;
}

// Game file to PGN or to one position file: the two share everything but the writer.
void convertGameFile(const char* gameFile, const char* outFile, bool positions) {
  std::ifstream in(gameFile, std::ios::binary);
  if (!in) {
    std::printf("Cannot open GAME input file: '%s'\n", gameFile);
    return;
  }
  std::ofstream out(outFile, std::ios::app);
  if (!out) {
    std::printf(positions ? "Cannot create DB output file: '%s'\n" : "Cannot create PGN output file: '%s'\n",
                outFile);
    return;
  }
  const int games = countGames(in);
  if (games < 0) {
    std::printf("Game file corrupted! (error on game: %d)", -games);
    return;
  }
  auto c = startConversion();
  std::printf("Converting %d games [  0%%]...", games);
  std::ostream* output = &out;
  int converted = 0;
  int last = 0;
  try {
    while (readGameRecord(in, c->game)) {
      if (positions) writePositionLines(c->pos, c->game, &output, 1);
      else writePgnGame(out, c->game);
      ++converted;
      const int percent = converted * 100 / games;
      if (percent > last) {
        std::printf("\b\b\b\b\b\b\b\b%3d%%]...", percent);
        last = percent;
      }
    }
    std::printf(positions ? "\tOK\n" : "OK\n");
  } catch (const PgnError& error) {
    std::printf("ERROR: %s\n", error.message);
  }
  std::printf("converted: %d games.\n", converted);
}

}  // namespace

void Pgn2Pos(const char* pgn) {
  std::ifstream in;
  if (!openPgn(in, pgn)) return;
  std::ofstream files[16];
  std::ostream* outputs[16];
  for (int i = 0; i < 16; ++i) {
    char name[8];
    std::snprintf(name, sizeof name, "%X.pos", i);
    files[i].open(name, std::ios::trunc);
    if (!files[i]) {
      std::printf("Cannot create POS output file: '%s'\n", name);
      return;
    }
    outputs[i] = &files[i];
  }
  auto c = startConversion();
  PgnCounts counts;
  try {
    while (moreGames(in)) {
      if (readPgnGame(in, c->pos, c->game)) {
        writePositionLines(c->pos, c->game, outputs, 16);
        ++counts.converted;
      } else {
        ++counts.skipped;
        warnSkipped(counts, pgn);
      }
    }
  } catch (const PgnError& error) {
    reportError(error, counts, pgn);
    return;
  }
  reportFinished(counts, pgn);
}

void Pgn2Game(const char* pgn, const char* gameFile) {
  GameStore store;
  int total = 0;
  convertPgnToGames(pgn, gameFile, store, total);
}

void PgnList2Game(const char* list, const char* gameFile) {
  std::ifstream in;
  if (!openPgn(in, list)) return;
  GameStore store;
  int total = 0;
  char line[255];
  while (in.getline(line, sizeof line)) {
    const size_t n = std::strlen(line);
    if (n > 0 && line[n - 1] == '\r') line[n - 1] = '\0';  // lists written with CR LF line ends
    if (!convertPgnToGames(line, gameFile, store, total)) return;
  }
  std::printf("\nCONVERTED GAMES: %d\n", total);
}

void Game2Pgn(const char* gameFile, const char* pgn) { convertGameFile(gameFile, pgn, false); }

void Game2Pos(const char* gameFile, const char* positions) {
  convertGameFile(gameFile, positions, true);
}
