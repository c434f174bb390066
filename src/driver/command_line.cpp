#include "driver/command_line.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "driver/bench_command.h"
#include "driver/engine_identity.h"
#include "board/score.h"

namespace {

constexpr int USAGE_ERROR = 2;

constexpr const char* USAGE =
    "Usage: dorvik                 play through standard input and output (xboard or UCI)\n"
    "       dorvik bench [DEPTH]   fixed-depth searches of the bench positions; the last line\n"
    "                              is \"NODES nodes SPEED nps\"\n"
    "       dorvik --version       the name and version\n"
    "       dorvik --help          this text\n"
    "Settings are read from Dorvik.ini: see the manual page dorvik(6).\n";

int wrongUsage(const char* problem) {
  std::fprintf(stderr, "dorvik: %s\n%s", problem, USAGE);
  return USAGE_ERROR;
}

}  // namespace

int RunCommandLine(int argc, char** argv) {
  const char* command = argv[1];
  const bool bench = std::strcmp(command, "bench") == 0;
  const bool version = std::strcmp(command, "--version") == 0, help = std::strcmp(command, "--help") == 0;
  // The program's name, the command and, for the bench, a depth.
  const int mostArguments = bench ? 3 : 2;
  char problem[128];
  if (!(bench || version || help) || argc > mostArguments) {
    const char* unexpected = bench || version || help ? argv[mostArguments] : command;
    std::snprintf(problem, sizeof problem, "unexpected argument '%s'", unexpected);
    return wrongUsage(problem);
  }
  if (version) {
    std::printf("%s\n", ENGINE_NAME);
    return 0;
  }
  if (help) {
    std::printf("%s", USAGE);
    return 0;
  }
  int depth = 0;
  if (argc == 3) {
    char* end;
    long value = std::strtol(argv[2], &end, 10);
    if (end == argv[2] || *end || value < 1 || value > long(MAX_SEARCH_DEPTH)) {
      std::snprintf(problem, sizeof problem, "the bench depth is a number of plies from 1 to %d, not '%s'",
                    MAX_SEARCH_DEPTH, argv[2]);
      return wrongUsage(problem);
    }
    depth = int(value);
  }
  return RunSearchBench(depth);
}
