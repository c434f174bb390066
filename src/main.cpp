#include <csignal>

#include "driver/startup.h"
#include "io/log.h"

int main() {
  // The front end interrupts a thinking engine with SIGINT before it sends a command; the engine
  // reads its input on a thread of its own instead. A closed output pipe makes the next write
  // fail, which ends it cleanly.
  std::signal(SIGINT, SIG_IGN);
  std::signal(SIGPIPE, SIG_IGN);
  OpenLog();
  return RunEngine();
}
