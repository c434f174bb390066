#include "driver/tool_commands.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "board/fen.h"
#include "book/book_create.h"
#include "db/db_commands.h"
#include "eval/bitbase.h"
#include "movegen/perft.h"
#include "tools/converters.h"

namespace {

constexpr const char* EVAL_FEN = "R7/8/8/6p1/8/b7/4k3/K7 w - - 0 1";
constexpr const char* TEST_FEN = "2rb1rk1/p4p2/2n3p1/q2NpPP1/2p5/P1Q1PP2/1P1R4/2K4R w - - 0 23";

// A word argument; missing ones are empty.
const char* word(LineWords& arguments) {
  const char* w = arguments.next();
  return w ? w : "";
}

void evalCommand(Engine& engine, LineWords&) {
  engine.setUp(EVAL_FEN);
  PrintBoard(engine.game().position().board);
  const Bitbases& bitbases = engine.bitbases();
  if (bitbases.covers(engine.game().position())) {
    const int score = bitbases.probe(engine.game().position());
    if (score != BITBASE_NO_RESULT) {
      std::printf("egbb score: %d\n", score);
      return;
    }
  }
  std::printf("eval score: %d\n", engine.evaluate());
}

void testCommand(Engine& engine, LineWords&) {
  static const int probeArguments[9] = {1, 24, 41, 8, 3, 6, 13, 2, 25};
  engine.bitbases().probeArguments(probeArguments);  // the answer does not matter
  engine.setUp(TEST_FEN);
  PrintBoard(engine.game().position().board);
}

void perftCommand(Engine& engine, LineWords& arguments) {
  const int depth = std::atoi(word(arguments));  // 0 when no number follows
  runPerft(engine.position(), depth);
}

void benchmarkCommand(Engine&, LineWords&) { std::printf("Define __STAT\n"); }

void pgn2posCommand(Engine&, LineWords& arguments) { Pgn2Pos(word(arguments)); }

void pgn2gameCommand(Engine&, LineWords& arguments) {
  const char* pgn = word(arguments);
  Pgn2Game(pgn, word(arguments));
}

void pgnlist2gameCommand(Engine&, LineWords& arguments) {
  const char* list = word(arguments);
  PgnList2Game(list, word(arguments));
}

void game2pgnCommand(Engine&, LineWords& arguments) {
  const char* game = word(arguments);
  Game2Pgn(game, word(arguments));
}

void game2posCommand(Engine&, LineWords& arguments) {
  const char* game = word(arguments);
  Game2Pos(game, word(arguments));
}

void bookshowCommand(Engine& engine, LineWords&) { ShowBookPosition(engine.books(), engine.game().position()); }

void dbshowCommand(Engine& engine, LineWords&) { ShowDatabasePosition(engine.game().position(), false); }

void dbshowlinCommand(Engine& engine, LineWords&) { ShowDatabasePosition(engine.game().position(), true); }

void bookcreateCommand(Engine&, LineWords&) { CreateBookFromDatabase(); }

void dbcreateCommand(Engine&, LineWords& arguments) {
  const char* source = word(arguments);
  CreateDatabaseFiles(source, word(arguments));
}

struct Tool {
  const char* name;
  void (*run)(Engine& engine, LineWords& arguments);
};

constexpr Tool Tools[] = {
    {"eval", evalCommand},         {"test", testCommand},           {"perft", perftCommand},
    {"benchmark", benchmarkCommand}, {"benchmarkspeed", benchmarkCommand}, {"pgn2pos", pgn2posCommand},
    {"pgn2game", pgn2gameCommand}, {"pgnlist2game", pgnlist2gameCommand}, {"game2pgn", game2pgnCommand},
    {"game2pos", game2posCommand}, {"bookshow", bookshowCommand},   {"dbshow", dbshowCommand},
    {"dbshowlin", dbshowlinCommand}, {"bookcreate", bookcreateCommand}, {"dbcreate", dbcreateCommand},
};

const Tool* findTool(const char* name) {
  for (const Tool& t : Tools)
    if (std::strcmp(t.name, name) == 0) return &t;
  return nullptr;
}

}  // namespace

bool IsToolCommand(const char* name) { return findTool(name) != nullptr; }

void RunToolCommand(Engine& engine, const char* name, LineWords& arguments) {
  if (const Tool* tool = findTool(name)) tool->run(engine, arguments);
}
