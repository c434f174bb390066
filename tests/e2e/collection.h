// The repository's game collection (data/collection.pgn) and what its tags say about it.
#pragma once
#include <map>
#include <sstream>
#include <string>

#include "e2e/harness.h"

namespace e2e {

inline const std::string COLLECTION_PATH = std::string(DORVIK_SOURCE_DIR) + "/data/collection.pgn";

inline const std::string& collectionText() {
  static const std::string text = readFile(COLLECTION_PATH);
  return text;
}

// Games per value of their Result tag ("1-0", "0-1", "1/2-1/2", "*").
inline std::map<std::string, int> collectionResults() {
  std::map<std::string, int> results;
  std::istringstream lines(collectionText());
  for (std::string line; std::getline(lines, line);) {
    const std::string tag = "[Result \"";
    if (line.rfind(tag, 0) != 0) continue;
    results[line.substr(tag.size(), line.find('"', tag.size()) - tag.size())]++;
  }
  return results;
}

// Games with a result, the ones the game-file tools keep.
inline int decidedGames(const std::map<std::string, int>& results) {
  int n = 0;
  for (const auto& [result, count] : results)
    if (result != "*") n += count;
  return n;
}

}  // namespace e2e
