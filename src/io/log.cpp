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
  std::vfprintf(logStream, format, args);
  va_end(args);
  std::fputc('\n', logStream);
  std::fflush(logStream);
}
