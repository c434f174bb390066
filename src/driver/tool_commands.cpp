// The typed commands: test positions, perft, the book, database and game-file tools.
#include <cstdio>

#include "board/fen.h"
#include "board/position.h"
#include "board/tables.h"
#include "driver/commands.h"
#include "driver/engine_state.h"
#include "driver/input.h"
#include "eval/bitbase.h"
#include "search/search_state.h"

namespace {

constexpr const char* EVAL_FEN = "R7/8/8/6p1/8/b7/4k3/K7 w - - 0 1";
constexpr const char* TEST_FEN = "2rb1rk1/p4p2/2n3p1/q2NpPP1/2p5/P1Q1PP2/1P1R4/2K4R w - - 0 23";

// File names and other word arguments of the tools.
struct Word {
  char text[INPUT_TOKEN_SIZE] = "";
};

Word readWord() {
  Word word;
  readToken(word.text, sizeof word.text);
  return word;
}

bool bitbaseMayProbe() {
  return bitbases.loaded && search.useBitbases && pos.pawnCount[WHITE] + pos.pawnCount[BLACK] <= 3 &&
         PopCount(pos.occupied) <= 5;
}

}  // namespace

void evalCommand() {
  SetupPosition(EVAL_FEN);
  PrintBoard(pos.board);
  if (bitbaseMayProbe()) {
    int score = ProbeBitbase();
    if (score != BITBASE_NO_RESULT) {
      std::printf("egbb score: %d\n", score);
      return;
    }
  }
  // std::printf("eval score: %d\n", Evaluate()); (evaluation)
}

void testCommand() {
  static const int probeArguments[9] = {1, 24, 41, 8, 3, 6, 13, 2, 25};
  if (bitbases.loaded) ProbeBitbaseArguments(probeArguments);  // the answer does not matter
  // timeControl.movesPerTimeControl = 1; timeControl.timeIncrement = 0; (time control)
  SetupPosition(TEST_FEN);
  driver.engineState = PLAYING;
  driver.ponderEnabled = false;
  PrintBoard(pos.board);
  // ComputeTimeBudget(999999999) (time control)
}

void perftCommand() {
  int depth = 0;
  readInt(&depth);  // stays 0 when no number follows
  // runPerft(depth) (movegen)
}

void benchmarkCommand() {
  readWord();
  int count = 0;
  readInt(&count);
  std::printf("Define __STAT\n");
}

void benchmarkSpeedCommand() {
  readWord();
  std::printf("Define __STAT\n");
}

void pgn2posCommand() {
  [[maybe_unused]] Word pgn = readWord();
  // pgn2pos(pgn.text) (game-file tools)
}

void pgn2gameCommand() {
  [[maybe_unused]] Word pgn = readWord(), game = readWord();
  // pgn2game(pgn.text, game.text) (game-file tools)
}

void pgnlist2gameCommand() {
  [[maybe_unused]] Word list = readWord(), game = readWord();
  // pgnlist2game(list.text, game.text) (game-file tools)
}

void game2pgnCommand() {
  [[maybe_unused]] Word game = readWord(), pgn = readWord();
  // game2pgn(game.text, pgn.text) (game-file tools)
}

void game2posCommand() {
  [[maybe_unused]] Word game = readWord(), positions = readWord();
  // game2pos(game.text, positions.text) (game-file tools)
}

void bookshowCommand() {
  // printf(mainBookHasPosition() ? "YES\n" : "NO\n"); printf(secondBookHasPosition() ? "2: YES\n" : "2: NO\n"); (book)
}

void dbshowCommand() {
  // open the databases, PrintBoard, ordered look-up of pos.hashKey, print the record (database)
}

void dbshowlinCommand() {
  // open the databases, PrintBoard, sequential look-up of pos.hashKey, print the record (database)
}

void bookcreateCommand() {
  // open the databases, create the book, print "created.\n" or the error text (book creation)
}

void dbcreateCommand() {
  [[maybe_unused]] Word source = readWord(), base = readWord();
  // create base + "_white.db" and base + "_black.db" from source; print "created.\n" or the error (database)
}
