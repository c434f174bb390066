#include <csignal>

#include "driver/command_line.h"
#include "driver/startup.h"
#include "io/log.h"

int main(int argc, char** argv) {
  if (argc > 1) return RunCommandLine(argc, argv);
  // The front end interrupts a thinking engine with SIGINT before it sends a command; the engine
  // reads its input on a thread of its own instead. A closed output pipe makes the next write
  // fail, which ends it cleanly.
  std::signal(SIGINT, SIG_IGN);
  std::signal(SIGPIPE, SIG_IGN);
  OpenEngineLog();
  return RunEngine();
}
