#include "generator/known_tables.h"

#include "core/orient.h"
#include "core/table_file.h"
#include "core/value.h"

namespace egbb {

bool KnownTables::load(const Ending& ending, std::string& error) {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    if (tables_.count(ending.key())) return true;
  }
  auto table = std::make_shared<Table>(ending);
  if (!readTable(directory_ + "/" + ending.name() + TABLE_SUFFIX, ending, table->values, error)) return false;
  std::lock_guard<std::mutex> lock(mutex_);
  tables_.emplace(ending.key(), std::move(table));
  return true;
}

void KnownTables::add(const Ending& ending, std::vector<uint8_t> values[2]) {
  auto table = std::make_shared<Table>(ending);
  table->values[0] = std::move(values[0]);
  table->values[1] = std::move(values[1]);
  std::lock_guard<std::mutex> lock(mutex_);
  tables_[ending.key()] = std::move(table);
}

KnownTables::View KnownTables::view() {
  std::lock_guard<std::mutex> lock(mutex_);
  View v;
  v.tables_ = tables_;
  return v;
}

uint8_t KnownTables::View::value(const Board& board) const {
  if (board.count == 2) return DRAW;
  Board b = board;
  const Table& table = *tables_.at(orient(b).key());
  return table.values[b.side][table.indexer.index(b)];
}

}  // namespace egbb
