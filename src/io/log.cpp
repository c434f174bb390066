#include "io/log.h"

#include <cstdarg>
#include <cstdio>

namespace {
FILE* logStream = nullptr;
}

void OpenLog(const char* path) {
  if (logStream) std::fclose(logStream);
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
