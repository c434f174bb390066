// Retrograde analysis of one ending: the distance to mate of every position with best play,
// every capture and promotion read from the tables of the endings they lead to.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "generator/known_tables.h"

namespace egbb {

struct GenerationResult {
  std::vector<uint8_t> values[2];  // per side to move, by position number (value.h)
  int longestPlies = 0;            // the longest decided distance found
  std::string error;               // set when the ending cannot be generated
};

// `known` holds every ending one capture or promotion away; `threads` share the first pass.
GenerationResult generateEnding(const Ending& ending, const KnownTables::View& known, int threads);

}  // namespace egbb
