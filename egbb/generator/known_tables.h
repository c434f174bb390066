// The tables a generation reads the results of captures and promotions from, held whole in memory.
#pragma once
#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "core/index.h"

namespace egbb {

class KnownTables {
 public:
  explicit KnownTables(std::string directory) : directory_(std::move(directory)) {}

  // Reads the table of an ending from the directory unless it is held already; false with the
  // error when it cannot be read.
  bool load(const Ending& ending, std::string& error);

  // Holds a table just generated.
  void add(const Ending& ending, std::vector<uint8_t> values[2]);

  struct Table {
    explicit Table(const Ending& e) : indexer(e) {}
    Indexer indexer;
    std::vector<uint8_t> values[2];
  };

  // The tables held when it was taken, for one generation to read while others add theirs.
  class View {
   public:
    // The value of a legal board whose table is held; DRAW for the two kings alone.
    uint8_t value(const Board& board) const;

   private:
    friend class KnownTables;
    std::map<uint32_t, std::shared_ptr<const Table>> tables_;
  };
  View view();

 private:
  std::string directory_;
  std::mutex mutex_;  // guards adding tables; a generation reads only tables added before it began
  std::map<uint32_t, std::shared_ptr<const Table>> tables_;
};

}  // namespace egbb
