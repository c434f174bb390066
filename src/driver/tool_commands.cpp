#include "driver/tool_commands.h"

#include <cstdio>

#include "board/fen.h"
#include "board/position.h"
#include "board/tables.h"
#include "book/book_create.h"
#include "db/db_commands.h"
#include "db/db_create.h"
#include "db/position_db.h"
#include "driver/engine_state.h"
#include "driver/game_position.h"
#include "driver/time_control.h"
#include "eval/bitbase.h"
#include "eval/evaluate.h"
#include "io/input.h"
#include "movegen/perft.h"
#include "search/search_state.h"
#include "tools/converters.h"

namespace {

constexpr const char* EVAL_FEN = "R7/8/8/6p1/8/b7/4k3/K7 w - - 0 1";
constexpr const char* TEST_FEN = "2rb1rk1/p4p2/2n3p1/q2NpPP1/2p5/P1Q1PP2/1P1R4/2K4R w - - 0 23";

}  // namespace

void evalCommand() {
  SetupGamePosition(EVAL_FEN);
  PrintBoard(pos.board);
  if (search.useBitbases && BitbaseCovers()) {
    int score = ProbeBitbase();
    if (score != BITBASE_NO_RESULT) {
      std::printf("egbb score: %d\n", score);
      return;
    }
  }
  std::printf("eval score: %d\n", Evaluate());
}

void testCommand() {
  static const int probeArguments[9] = {1, 24, 41, 8, 3, 6, 13, 2, 25};
  if (bitbases.loaded) ProbeBitbaseArguments(probeArguments);  // the answer does not matter
  SetupGamePosition(TEST_FEN);
  driver.engineState = PLAYING;
  driver.ponderEnabled = false;
  PrintBoard(pos.board);
  SetUnlimitedBudget();
}

void perftCommand() {
  int depth = 0;
  readInt(&depth);  // stays 0 when no number follows
  runPerft(depth);
}

void benchmarkCommand() {
  readInputWord();
  int count = 0;
  readInt(&count);
  std::printf("Define __STAT\n");
}

void benchmarkSpeedCommand() {
  readInputWord();
  std::printf("Define __STAT\n");
}

void pgn2posCommand() {
  InputWord pgn = readInputWord();
  Pgn2Pos(pgn.text);
}

void pgn2gameCommand() {
  InputWord pgn = readInputWord(), game = readInputWord();
  Pgn2Game(pgn.text, game.text);
}

void pgnlist2gameCommand() {
  InputWord list = readInputWord(), game = readInputWord();
  PgnList2Game(list.text, game.text);
}

void game2pgnCommand() {
  InputWord game = readInputWord(), pgn = readInputWord();
  Game2Pgn(game.text, pgn.text);
}

void game2posCommand() {
  InputWord game = readInputWord(), positions = readInputWord();
  Game2Pos(game.text, positions.text);
}

void bookshowCommand() { ShowBookPosition(); }

void dbshowCommand() { ShowDatabasePosition(false); }

void dbshowlinCommand() { ShowDatabasePosition(true); }

void bookcreateCommand() { CreateBookFromDatabase(); }

void dbcreateCommand() {
  InputWord source = readInputWord(), base = readInputWord();
  CreateDatabaseFiles(source.text, base.text);
}
