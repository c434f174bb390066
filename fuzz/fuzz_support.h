// What every fuzz target shares: the engine's tables, a silent standard output and a scratch
// directory of its own for the files an input becomes.
#pragma once
#include <fcntl.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "board/tables.h"
#include "eval/piece_tables.h"

namespace fuzz {

// Done once per process: tables built, standard output discarded (the engine talks a lot), and
// a fresh scratch directory made; returns the directory (ending in "/").
inline const std::string& setUp() {
  static const std::string dir = [] {
    InitTables();
    InitPieceSquareTables();
    int devNull = ::open("/dev/null", O_WRONLY);
    if (devNull >= 0) ::dup2(devNull, STDOUT_FILENO);
    char pattern[] = "/tmp/dorvik_fuzz_XXXXXX";
    const char* made = ::mkdtemp(pattern);
    if (!made) std::abort();
    return std::string(made) + "/";
  }();
  return dir;
}

inline void writeFile(const std::string& path, const uint8_t* data, size_t size) {
  FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) std::abort();
  if (size && std::fwrite(data, 1, size, f) != size) std::abort();
  std::fclose(f);
}

// The input as a zero-terminated string (the engine reads C strings).
inline std::string text(const uint8_t* data, size_t size) { return std::string(reinterpret_cast<const char*>(data), size); }

}  // namespace fuzz
