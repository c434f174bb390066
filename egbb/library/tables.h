// The tables the library answers from: found in the directory the engine names, checked when
// they are loaded, and read block by block through the cache.
//
// Load modes: 0 and 1 read every block from its file when a probe first needs it; 2 holds the
// coded data of the 3- and 4-man tables in memory (checked whole at load) and reads the 5-man
// ones from their files; 3 to 5 hold every table's coded data in memory.
#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "core/index.h"
#include "core/table_file.h"
#include "library/block_cache.h"

namespace egbb {

class Tables {
 public:
  ~Tables() { clear(); }

  // Forgets the tables held, then loads those in `directory`. A file that is refused is named
  // on standard output with the reason; the rest are used.
  void load(const std::string& directory, size_t cacheBytes, int loadMode);

  // The stored value of a legal board (value.h), or -1 when no table answers for it.
  int value(const Board& board);

  size_t count() const { return tables_.size(); }

 private:
  struct Table {
    explicit Table(const Ending& e) : ending(e), indexer(e) {}
    Ending ending;
    Indexer indexer;
    TableFile file;
    std::string path;
    int fd = -1;
    std::vector<uint8_t> data;      // the coded blocks, when held in memory
    std::vector<bool> damaged;      // blocks found damaged: their positions get no answer
  };

  void clear();
  void add(const std::string& directory, const std::string& name, int loadMode);
  const uint8_t* block(uint32_t table, uint32_t id);

  std::vector<std::unique_ptr<Table>> tables_;
  std::unordered_map<uint32_t, uint32_t> byEnding_;  // ending key to table
  BlockCache cache_;
  std::vector<uint8_t> coded_;  // a block read from its file
};

}  // namespace egbb
