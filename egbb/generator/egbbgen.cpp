// egbbgen: makes the bitbase library's tables.
//   egbbgen [--out DIR] [--threads N] [--force] ENDING...   the named endings, such as KRPKR
//   egbbgen [--out DIR] [--threads N] [--force] --men N     every ending of 3 to N men
// Endings the named ones lead to by captures and promotions are made first unless their tables
// are in DIR already; --force makes the named ones again even where they are there.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "generator/schedule.h"

namespace {

int usage() {
  std::fprintf(stderr,
               "usage: egbbgen [--out DIR] [--threads N] [--force] ENDING...\n"
               "       egbbgen [--out DIR] [--threads N] [--force] --men N   (N from 3 to 5)\n"
               "An ending names White's king and men, then Black's: KQKR, KRPKR, KBNK.\n");
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  egbb::ScheduleOptions options{".", 1, false};
  std::vector<egbb::Ending> endings;
  for (int i = 1; i < argc; ++i) {
    std::string arg = argv[i];
    bool hasValue = i + 1 < argc;
    if (arg == "--out" && hasValue) {
      options.directory = argv[++i];
    } else if (arg == "--threads" && hasValue) {
      options.threads = std::atoi(argv[++i]);
      if (options.threads < 1) return usage();
    } else if (arg == "--force") {
      options.force = true;
    } else if (arg == "--men" && hasValue) {
      int men = std::atoi(argv[++i]);
      if (men < 3 || men > egbb::MAX_MEN) return usage();
      for (int m = 3; m <= men; ++m)
        for (const egbb::Ending& e : egbb::endingsWithMen(m)) endings.push_back(e);
    } else {
      egbb::Ending e;
      if (!egbb::Ending::parse(arg, e) || e.men() < 3) {
        std::fprintf(stderr, "egbbgen: '%s' is no ending of 3 to 5 men\n", arg.c_str());
        return usage();
      }
      endings.push_back(e);
    }
  }
  if (endings.empty()) return usage();
  return egbb::generateEndings(endings, options) ? 0 : 1;
}
