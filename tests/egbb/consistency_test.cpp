// Every table the build made, position by position: a position is won in d plies exactly when
// its fastest move to a lost position reaches one lost in d - 1, lost in d when every move
// reaches a won position and the slowest one is won in d - 1, and drawn otherwise; mates and
// stalemates have no moves, captures and promotions are read from the smaller tables, and a
// double step the opponent may take en passant gives him that choice too.
#include <dirent.h>

#include <gtest/gtest.h>

#include <atomic>
#include <map>
#include <memory>
#include <mutex>
#include <thread>

#include "core/index.h"
#include "core/orient.h"
#include "core/table_file.h"
#include "core/value.h"

namespace {

using namespace egbb;

struct Loaded {
  explicit Loaded(const Ending& e) : ending(e), indexer(e) {}
  Ending ending;
  Indexer indexer;
  std::vector<uint8_t> values[2];
};

class AllTables {
 public:
  // The tables of up to four men, those the build makes: 5-man ones made by hand are not checked.
  explicit AllTables(const std::string& directory) {
    DIR* dir = opendir(directory.c_str());
    if (!dir) return;
    while (dirent* entry = readdir(dir)) {
      std::string name = entry->d_name;
      Ending e;
      if (name.size() < 5 || name.substr(name.size() - 4) != TABLE_SUFFIX ||
          !Ending::parse(name.substr(0, name.size() - 4), e) || e.men() > 4)
        continue;
      auto table = std::make_unique<Loaded>(e);
      std::string error;
      if (readTable(directory + name, e, table->values, error)) tables_[e.key()] = std::move(table);
      else errors_.push_back(error);
    }
    closedir(dir);
  }
  const std::vector<std::string>& errors() const { return errors_; }
  std::vector<const Loaded*> all() const {
    std::vector<const Loaded*> list;
    for (auto& [key, t] : tables_) list.push_back(t.get());
    return list;
  }
  // The stored value of a legal board; -1 without a table.
  int value(const Board& board) const {
    if (board.count == 2) return DRAW;
    Board b = board;
    auto found = tables_.find(orient(b).key());
    if (found == tables_.end()) return -1;
    return found->second->values[b.side][found->second->indexer.index(b)];
  }

 private:
  std::map<uint32_t, std::unique_ptr<Loaded>> tables_;
  std::vector<std::string> errors_;
};

// The best of the values a side can move to, seen from that side: the fastest win, else a
// draw, else the slowest loss.
struct Best {
  bool any = false;
  uint8_t value = DRAW;
  void offer(uint8_t before) {
    if (!any) {
      any = true;
      value = before;
      return;
    }
    auto rank = [](uint8_t v) { return isWin(v) ? 1000 - pliesOf(v) : isLoss(v) ? -1000 + pliesOf(v) : 0; };
    if (rank(before) > rank(value)) value = before;
  }
};

// The value a position of `table` should have, from the values of the positions its moves lead
// to; -1 when a table it needs is missing.
int expectedValue(const AllTables& tables, const Loaded& table, const Board& b) {
  Move moves[MAX_MOVES];
  int n = legalMoves(b, moves);
  if (n == 0) return inCheck(b, b.side) ? decided(0) : DRAW;
  Best best;
  for (int i = 0; i < n; ++i) {
    Board child = afterMove(b, moves[i]);
    bool staysInEnding = moves[i].captured < 0 && moves[i].promotion == KING;
    int v = staysInEnding ? table.values[child.side][table.indexer.index(child)] : tables.value(child);
    if (v < 0) return -1;
    Board taken[2];
    int captures = isDoublePush(b, moves[i]) ? enPassantCaptures(child, moves[i].to, taken) : 0;
    if (captures > 0) {
      // The opponent chooses between his other moves and taking en passant.
      Best reply;
      Move replies[MAX_MOVES];
      if (legalMoves(child, replies) > 0) reply.offer(uint8_t(v));
      for (int k = 0; k < captures; ++k) {
        int t = tables.value(taken[k]);
        if (t < 0) return -1;
        reply.offer(valueBefore(uint8_t(t)));
      }
      v = reply.value;
    }
    best.offer(valueBefore(uint8_t(v)));
  }
  return best.value;
}

TEST(TableConsistency, EveryPositionOfEveryTableFollowsFromItsMoves) {
  AllTables tables(DORVIK_EGBB_DIR);
  for (const std::string& e : tables.errors()) ADD_FAILURE() << e;
  std::vector<const Loaded*> list = tables.all();
  ASSERT_EQ(list.size(), 35u) << "the build makes the 5 tables of 3 men and the 30 of 4 men";
  std::atomic<long> checked{0}, wrong{0};
  std::mutex reportLock;
  for (const Loaded* table : list) {
    uint64_t size = table->indexer.size();
    auto check = [&](uint64_t first, uint64_t step) {
      for (uint64_t number = first; number < size; number += step)
        for (int side = 0; side < 2; ++side) {
          Board b;
          if (!table->indexer.decode(number, side, b) || !isLegal(b) || table->indexer.index(b) != number) continue;
          int expected = expectedValue(tables, *table, b), stored = table->values[side][number];
          ++checked;
          if (expected == stored) continue;
          if (++wrong <= 10) {
            std::lock_guard<std::mutex> lock(reportLock);
            ADD_FAILURE() << table->ending.name() << " side " << side << " number " << number << ": stored " << stored
                          << ", its moves give " << expected;
          }
        }
    };
    // Two threads share each table; the sanitizer build checks every CHECK_STRIDE-th position.
    std::thread other(check, CHECK_STRIDE, 2 * CHECK_STRIDE);
    check(0, 2 * CHECK_STRIDE);
    other.join();
  }
  EXPECT_EQ(wrong.load(), 0);
  std::printf("checked %ld positions in %zu tables\n", checked.load(), list.size());
}

}  // namespace
