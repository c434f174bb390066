#include "driver/command_loop.h"

#include <cstring>

#include "board/move.h"
#include "driver/engine_state.h"
#include "driver/game_flow.h"
#include "driver/startup.h"
#include "driver/tool_commands.h"
#include "driver/xboard_commands.h"
#include "io/input.h"
#include "io/log.h"
#include "movegen/make_move.h"

namespace {

// Tested in this order after "time" and the moves; the first match wins.
constexpr CommandEntry Commands[] = {
    {"go", 2, goCommand},
    {"new", 3, newCommand},
    {"result", 6, newCommand},  // the score and comment words that follow match nothing
    {"level", 5, levelCommand},
    {"force", 5, forceCommand},
    {"setboard", 8, setboardCommand},
    {"easy", 0, easyCommand},
    {"hard", 0, hardCommand},
    {"quit", 4, quitCommand},
    {"white", 5, whiteCommand},
    {"black", 5, blackCommand},
    {"eval", 0, evalCommand},
    {"pgn2pos", 0, pgn2posCommand},
    {"pgn2game", 0, pgn2gameCommand},
    {"pgnlist2game", 0, pgnlist2gameCommand},
    {"game2pgn", 0, game2pgnCommand},
    {"game2pos", 0, game2posCommand},
    {"bookshow", 0, bookshowCommand},
    {"dbshow", 0, dbshowCommand},
    {"dbshowlin", 0, dbshowlinCommand},
    {"bookcreate", 0, bookcreateCommand},
    {"dbcreate", 0, dbcreateCommand},
    {"benchmark", 0, benchmarkCommand},
    {"benchmarkspeed", 0, benchmarkSpeedCommand},
    {"perft", 0, perftCommand},
    {"test", 0, testCommand},
};

// The clock and pondering settings leave a pondered move in place, so that the opponent's move
// can still be a ponder hit. Every other command acts on the game as it stands (or replaces it),
// so the pondered move comes off first: taken back later, it would be unmade from a position it
// was never made in.
bool keepsPonderMove(const CommandEntry& command) {
  return command.action == levelCommand || command.action == easyCommand || command.action == hardCommand;
}

bool matches(const char* token, const CommandEntry& command) {
  return command.prefix ? std::strncmp(token, command.name, command.prefix) == 0
                        : std::strcmp(token, command.name) == 0;
}

}  // namespace

const CommandEntry* FindCommand(const char* token) {
  for (const CommandEntry& command : Commands)
    if (matches(token, command)) return &command;
  return nullptr;
}

void DispatchCommand() {
  const char* token = driver.inputToken;
  if (std::strncmp(token, "time", 4) == 0) {
    timeCommand();
  } else if (Move m = ParseCoordinateMove(token)) {
    moveCommand(m);
  } else if (const CommandEntry* command = FindCommand(token)) {
    if (driver.engineState == PONDERING && !keepsPonderMove(*command)) {
      TakeBackPonderMove();
      driver.engineState = PLAYING;
    }
    command->action();
  }
}

void CommandLoop() {
  driver.ponderEnabled = true;
  driver.engineState = FORCE_MODE;
  StartUp();
  while (driver.engineState != QUITTING) {
    if (!driver.inputPending && !readToken(driver.inputToken, sizeof driver.inputToken)) {
      // A closed input can bring no more commands: end as if "quit" had come.
      logLine("-M: end of input");
      break;
    }
    driver.inputPending = false;
    logLine("::cmd:: %s", driver.inputToken);
    try {
      DispatchCommand();
    } catch (const MoveError&) {
      // The refused move has been reported; the next command is read as usual.
    }
  }
  driver.engineState = QUITTING;
}
