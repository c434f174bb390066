// Generates a set of endings into a directory: first every ending they lead to by captures and
// promotions that has no readable table there yet, smaller endings first, several at a time.
#pragma once
#include <string>
#include <vector>

#include "core/ending.h"

namespace egbb {

struct ScheduleOptions {
  std::string directory;
  int threads = 1;
  bool force = false;  // generate the requested endings even where their tables are there
};

// Prints one line per table to standard output; returns false after printing the first error.
bool generateEndings(const std::vector<Ending>& requested, const ScheduleOptions& options);

}  // namespace egbb
