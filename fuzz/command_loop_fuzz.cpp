// The whole command loop on an arbitrary command stream, in a scratch directory laid out afresh
// for every input with a few small files of each kind (fuzz/files). The fuzzing build keeps every
// search and perft short. Inputs that could name a file outside the scratch directory (a name
// starting with "/", anything with "..") are not run.
#include <sys/mman.h>

#include <filesystem>

#include "driver/startup.h"
#include "fuzz_support.h"
#include "io/input.h"
#include "io/log.h"

namespace {

// A "/" that does not follow a letter or digit may start an absolute path.
bool mayLeaveScratch(const uint8_t* data, size_t size) {
  for (size_t i = 0; i < size; ++i) {
    if (data[i] == '.' && i + 1 < size && data[i + 1] == '.') return true;
    if (data[i] == '/' && (i == 0 || !std::isalnum(data[i - 1]))) return true;
  }
  return false;
}

void layOutScratch(const std::string& dir) {
  namespace fs = std::filesystem;
  for (const fs::directory_entry& entry : fs::directory_iterator(dir)) fs::remove_all(entry.path());
  fs::copy(DORVIK_FUZZ_FILES, dir, fs::copy_options::recursive);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string& dir = fuzz::setUp();
  if (mayLeaveScratch(data, size)) return -1;
  layOutScratch(dir);
  std::filesystem::current_path(dir);

  int fd = memfd_create("commands", 0);
  if (fd < 0 || (size && write(fd, data, size) != ssize_t(size)) || lseek(fd, 0, SEEK_SET) != 0) std::abort();
  // Every input runs as the engine's first: start-up makes a new engine, in its full reset state,
  // so a finding replays from its input alone. Inputs of odd length search on two threads.
  setInputDescriptor(fd);
  OpenLog();
  RunEngine(size % 2 ? 2 : 1);
  close(fd);
  return 0;
}
