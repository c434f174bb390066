#include "library/tables.h"

#include <dirent.h>
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>

#include "core/orient.h"

namespace egbb {

namespace {

void refuse(const std::string& path, const std::string& reason) {
  std::printf("EGBB ERROR: %s: %s; table not used\n", path.c_str(), reason.c_str());
  std::fflush(stdout);
}

bool heldInMemory(const Ending& ending, int loadMode) { return loadMode >= 3 || (loadMode == 2 && ending.men() <= 4); }

}  // namespace

void Tables::clear() {
  for (auto& t : tables_)
    if (t->fd >= 0) ::close(t->fd);
  tables_.clear();
  byEnding_.clear();
}

void Tables::load(const std::string& directory, size_t cacheBytes, int loadMode) {
  clear();
  cache_.reset(cacheBytes);
  coded_.clear();
  std::vector<std::string> names;
  if (DIR* dir = opendir(directory.c_str())) {
    while (dirent* entry = readdir(dir)) {
      std::string name = entry->d_name;
      size_t suffix = name.size() - std::min(name.size(), std::string(TABLE_SUFFIX).size());
      if (name.size() > suffix && name.compare(suffix, std::string::npos, TABLE_SUFFIX) == 0) names.push_back(name);
    }
    closedir(dir);
  }
  std::sort(names.begin(), names.end());
  std::string prefix = directory.empty() || directory.back() == '/' ? directory : directory + "/";
  for (const std::string& name : names) add(prefix, name, loadMode);
  if (tables_.empty()) std::printf("EGBB WARNING: no tables in %s\n", directory.c_str());
  std::fflush(stdout);
}

void Tables::add(const std::string& prefix, const std::string& name, int loadMode) {
  std::string path = prefix + name;
  Ending ending;
  std::string endingName = name.substr(0, name.size() - std::string(TABLE_SUFFIX).size());
  if (!Ending::parse(endingName, ending) || ending.men() < 3 || !ending.isStored())
    return refuse(path, "not the name of a table");
  if (byEnding_.count(ending.key())) return;
  auto table = std::make_unique<Table>(ending);
  table->path = path;
  table->fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  std::string error;
  if (table->fd < 0) return refuse(path, "cannot open");
  if (!table->file.open(table->fd, ending, error)) {
    ::close(table->fd);
    return refuse(path, error);
  }
  uint32_t blocks = 2 * table->file.blocks();
  table->damaged.assign(blocks, false);
  if (heldInMemory(ending, loadMode)) {
    bool whole = table->file.readData(table->fd, table->data);
    for (uint32_t id = 0; whole && id < blocks; ++id)
      if (!table->file.blockIntact(id, table->data.data() + table->file.blockOffset(id))) {
        error = "damaged block " + std::to_string(id) + " (checksum)";
        whole = false;
      }
    if (!whole) {
      ::close(table->fd);
      return refuse(path, error.empty() ? "cannot read the blocks" : error);
    }
  }
  byEnding_[ending.key()] = uint32_t(tables_.size());
  tables_.push_back(std::move(table));
}

const uint8_t* Tables::block(uint32_t t, uint32_t id) {
  Table& table = *tables_[t];
  if (table.damaged[id]) return nullptr;
  uint64_t key = (uint64_t(t) << 32) | id;
  if (const uint8_t* values = cache_.find(key)) return values;
  uint8_t* values = cache_.claim(key);
  const uint8_t* coded = nullptr;
  if (!table.data.empty()) {
    coded = table.data.data() + table.file.blockOffset(id);
  } else {
    coded_.resize(table.file.blockSize(id));
    if (table.file.readBlock(table.fd, id, coded_.data())) coded = coded_.data();
  }
  if (coded && table.file.decodeBlock(id, coded, values)) return values;
  cache_.forget(key);
  table.damaged[id] = true;
  std::printf("EGBB ERROR: %s: block %u is damaged; its positions get no result\n", table.path.c_str(), id);
  std::fflush(stdout);
  return nullptr;
}

int Tables::value(const Board& board) {
  Board b = board;
  auto found = byEnding_.find(orient(b).key());
  if (found == byEnding_.end()) return -1;
  const Table& table = *tables_[found->second];
  uint64_t number = table.indexer.index(b);
  if (number >= table.file.positions()) return -1;
  uint32_t id = uint32_t(b.side * table.file.blocks() + number / BLOCK_VALUES);
  const uint8_t* values = block(found->second, id);
  return values ? values[number % BLOCK_VALUES] : -1;
}

}  // namespace egbb
