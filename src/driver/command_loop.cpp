#include "driver/command_loop.h"

#include <cstdio>
#include <cstring>

#include "board/move.h"
#include "driver/analysis.h"
#include "driver/engine_state.h"
#include "driver/game_flow.h"
#include "driver/startup.h"
#include "driver/tool_commands.h"
#include "driver/uci_loop.h"
#include "driver/xboard_commands.h"
#include "driver/xboard_settings.h"
#include "io/input.h"
#include "io/log.h"
#include "movegen/make_move.h"

namespace {

using enum CommandKind;

// Tested in this order after "time" and the moves; the first match wins.
constexpr CommandEntry Commands[] = {
    {"go", 2, goCommand, GAME},
    {"new", 3, newCommand, GAME},
    {"result", 6, resultCommand, GAME},
    {"level", 5, levelCommand, SETTING},
    {"force", 5, forceCommand, GAME},
    {"setboard", 8, setboardCommand, GAME},
    {"easy", 0, easyCommand, SETTING},
    {"hard", 0, hardCommand, SETTING},
    {"quit", 4, quitCommand, GAME},
    {"white", 5, whiteCommand, GAME},
    {"black", 5, blackCommand, GAME},
    {"ping", 0, pingCommand, AT_ONCE},
    {"st", 0, stCommand, SETTING},
    {"sd", 0, sdCommand, SETTING},
    {"post", 0, postCommand, AT_ONCE},
    {"nopost", 0, nopostCommand, AT_ONCE},
    {"undo", 0, undoCommand, GAME},
    {"remove", 0, removeCommand, GAME},
    {"hint", 0, hintCommand, AT_ONCE},
    {"draw", 0, drawCommand, AT_ONCE},
    {"otim", 0, otimCommand, AT_ONCE},
    {"name", 0, nameCommand, AT_ONCE},
    {"rating", 0, ratingCommand, AT_ONCE},
    {"computer", 0, noEffectCommand, AT_ONCE},
    {"random", 0, noEffectCommand, AT_ONCE},
    {"ics", 0, icsCommand, AT_ONCE},
    {"memory", 0, memoryCommand, AT_ONCE},
    {"cores", 0, coresCommand, AT_ONCE},
    {"protover", 0, protoverCommand, AT_ONCE},
    {"accepted", 0, featureReplyCommand, AT_ONCE},
    {"rejected", 0, featureReplyCommand, AT_ONCE},
    {"?", 0, noEffectCommand, AT_ONCE},  // "move now" with no move being thought
    {"variant", 0, variantCommand, SETTING},
    {"playother", 0, playotherCommand, GAME},
    {"analyze", 0, analyzeCommand, GAME},
    {"exit", 0, exitCommand, GAME},
    {".", 0, statusCommand, AT_ONCE},
    {"eval", 0, evalCommand, GAME},
    {"pgn2pos", 0, pgn2posCommand, GAME},
    {"pgn2game", 0, pgn2gameCommand, GAME},
    {"pgnlist2game", 0, pgnlist2gameCommand, GAME},
    {"game2pgn", 0, game2pgnCommand, GAME},
    {"game2pos", 0, game2posCommand, GAME},
    {"bookshow", 0, bookshowCommand, GAME},
    {"dbshow", 0, dbshowCommand, GAME},
    {"dbshowlin", 0, dbshowlinCommand, GAME},
    {"bookcreate", 0, bookcreateCommand, GAME},
    {"dbcreate", 0, dbcreateCommand, GAME},
    {"benchmark", 0, benchmarkCommand, GAME},
    {"benchmarkspeed", 0, benchmarkSpeedCommand, GAME},
    {"perft", 0, perftCommand, GAME},
    {"test", 0, testCommand, GAME},
};

bool matches(const char* token, const CommandEntry& command) {
  return command.prefix ? std::strncmp(token, command.name, command.prefix) == 0
                        : std::strcmp(token, command.name) == 0;
}

void xboardLoop() {
  while (driver.engineState != QUITTING) {
    // Analysis runs until a command arrives, and again after one that changed the position.
    if (driver.engineState == ANALYZING && driver.analysisDue && !driver.inputPending) Analyze();
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
}

}  // namespace

const CommandEntry* FindCommand(const char* token) {
  for (const CommandEntry& command : Commands)
    if (matches(token, command)) return &command;
  return nullptr;
}

void ReportUnknownCommand(const char* token) { std::printf("Error (unknown command): %s\n", token); }

void DispatchCommand() {
  const char* token = driver.inputToken;
  if (std::strncmp(token, "time", 4) == 0) {
    timeCommand();
  } else if (Move m = ParseCoordinateMove(token)) {
    moveCommand(m);
  } else if (const CommandEntry* command = FindCommand(token)) {
    // A pondered move is taken back before the game changes: taken back later, it would be
    // unmade from a position it was never made in.
    if (driver.engineState == PONDERING && command->kind == GAME) {
      TakeBackPonderMove();
      driver.engineState = PLAYING;
    }
    command->action();
  } else {
    ReportUnknownCommand(token);
  }
}

void CommandLoop() {
  driver.ponderEnabled = true;
  driver.engineState = FORCE_MODE;
  if (StartUp() == Protocol::UCI) UciLoop();
  else xboardLoop();
  driver.engineState = QUITTING;
}
