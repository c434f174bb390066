#include "io/log.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cstdarg>
#include <cstdio>
#include <string>

#include "io/user_folders.h"

namespace {

FILE* logStream = nullptr;

// Front ends start several engines in one folder (pychess starts three), so a few names are
// needed; beyond this many the engine goes on without a log.
constexpr int MAX_LOG_NAMES = 64;
constexpr mode_t LOG_MODE = 0644;

std::string logName(int number) { return number == 1 ? "Dorvik.log" : "Dorvik." + std::to_string(number) + ".log"; }

void closeLog() {
  if (logStream) std::fclose(logStream);
  logStream = nullptr;
}

// Opens the first log name in the folder that no running engine holds, locks it and empties it;
// whether it did. The file is opened without truncation: only the holder of the lock may empty
// it. The lock goes with the process, however it ends.
bool openFreeLog(const std::string& folder) {
  for (int number = 1; number <= MAX_LOG_NAMES; ++number) {
    int fd = open((folder + logName(number)).c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, LOG_MODE);
    if (fd < 0) return false;  // the folder takes no file
    if (flock(fd, LOCK_EX | LOCK_NB) == 0) {
      if (ftruncate(fd, 0) == 0 && (logStream = fdopen(fd, "w"))) return true;
      close(fd);
      return false;
    }
    close(fd);
  }
  return false;
}

}  // namespace

void OpenEngineLog() {
  closeLog();
  if (openFreeLog("")) return;
  std::string state = UserStateFolder();
  if (!state.empty() && MakeUserFolder(state + "/dorvik")) openFreeLog(state + "/dorvik/");
}

void OpenLog(const char* path) {
  closeLog();
  logStream = std::fopen(path, "w");
}

void logLine(const char* format, ...) {
  if (!logStream) return;
  va_list args;
  va_start(args, format);
  // The search thread and the front end's thread both write: a line is written whole.
  flockfile(logStream);
  std::vfprintf(logStream, format, args);
  std::fputc('\n', logStream);
  std::fflush(logStream);
  funlockfile(logStream);
  va_end(args);
}
