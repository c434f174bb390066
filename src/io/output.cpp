#include "io/output.h"

#include <unistd.h>

#include <cerrno>
#include <cstdarg>
#include <cstdio>
#include <mutex>
#include <string>

namespace {
std::mutex outputMutex;
}

void SendLine(const char* format, ...) {
  char text[1024];
  va_list args;
  va_start(args, format);
  int n = std::vsnprintf(text, sizeof text - 1, format, args);
  va_end(args);
  std::string line;
  if (n < 0) return;
  if (size_t(n) < sizeof text - 1) {
    line.assign(text, size_t(n));
  } else {  // a long line (a multi-move principal variation): formatted again at its length
    line.resize(size_t(n) + 1);
    va_start(args, format);
    std::vsnprintf(line.data(), line.size(), format, args);
    va_end(args);
    line.resize(size_t(n));
  }
  line += '\n';
  std::lock_guard<std::mutex> lock(outputMutex);
  // Standard output is unbuffered (tools print with printf), so nothing is waiting before this.
  for (size_t done = 0; done < line.size();) {
    ssize_t w = write(STDOUT_FILENO, line.data() + done, line.size() - done);
    if (w > 0) done += size_t(w);
    else if (w < 0 && errno == EINTR) continue;
    else return;  // a closed pipe: the front end has gone
  }
}
