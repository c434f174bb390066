// The whole command loop on an arbitrary command stream, in a scratch directory laid out afresh
// for every input with a few small files of each kind (fuzz/files). The fuzzing build keeps every
// search and perft short. Inputs that could name a file outside the scratch directory (a name
// starting with "/", anything with "..") are not run.
#include <sys/mman.h>

#include <filesystem>

#include "board/position.h"
#include "driver/command_loop.h"
#include "driver/engine_state.h"
#include "driver/game_position.h"
#include "driver/time_control.h"
#include "fuzz_support.h"
#include "io/input.h"
#include "io/log.h"
#include "search/search_state.h"

namespace {

// A "/" that does not follow a letter or digit may start an absolute path.
bool mayLeaveScratch(const uint8_t* data, size_t size) {
  for (size_t i = 0; i < size; ++i) {
    if (data[i] == '.' && i + 1 < size && data[i + 1] == '.') return true;
    if (data[i] == '/' && (i == 0 || !std::isalnum(data[i - 1]))) return true;
  }
  return false;
}

// The game state a fresh process starts with, so that every input runs as the engine's first:
// a finding then replays from its input alone.
struct FreshState {
  Position position = pos;
  DriverState driverState = driver;
  SearchState searchState = search;
  TimeControl clock = timeControl;
  GameLine line = gameLine;

  void restore() const {
    pos = position;
    driver = driverState;
    search = searchState;
    timeControl = clock;
    gameLine = line;
  }
};

void layOutScratch(const std::string& dir) {
  namespace fs = std::filesystem;
  for (const fs::directory_entry& entry : fs::directory_iterator(dir)) fs::remove_all(entry.path());
  fs::copy(DORVIK_FUZZ_FILES, dir, fs::copy_options::recursive);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const FreshState fresh;
  const std::string& dir = fuzz::setUp();
  if (mayLeaveScratch(data, size)) return -1;
  layOutScratch(dir);
  std::filesystem::current_path(dir);

  int fd = memfd_create("commands", 0);
  if (fd < 0 || (size && write(fd, data, size) != ssize_t(size)) || lseek(fd, 0, SEEK_SET) != 0) std::abort();
  fresh.restore();
  setInputDescriptor(fd);
  OpenLog();
  CommandLoop();
  close(fd);
  return 0;
}
