// Damaged table files: refused at load with a message naming the file and the fault, or, for a
// damaged block read when a probe needs it, "no result" for that block's positions. Never a
// wrong score, never a crash.
#include <unistd.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "core/chess.h"
#include "egbb/library_handle.h"

namespace {

namespace fs = std::filesystem;
using namespace egbb;

constexpr int NO_RESULT = 99999;

std::string readBytes(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

void writeBytes(const fs::path& p, const std::string& bytes) { std::ofstream(p, std::ios::binary) << bytes; }

// Every legal KRK position, White with the rook, either side to move.
std::vector<Board> everyKrkBoard() {
  std::vector<Board> boards;
  for (int side = 0; side < 2; ++side)
    for (int wk = 0; wk < 64; ++wk)
      for (int bk = 0; bk < 64; ++bk)
        for (int rook = 0; rook < 64; ++rook) {
          Board b{uint8_t(side), 3, {{WHITE, KING, uint8_t(wk)}, {BLACK, KING, uint8_t(bk)}, {WHITE, ROOK, uint8_t(rook)}}};
          if (isLegal(b)) boards.push_back(b);
        }
  return boards;
}

class DamagedTable : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/dorvik-egbb-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    dir_ = pattern;
    intact_ = readBytes(fs::path(DORVIK_EGBB_DIR) / "KRK.dtm");
    ASSERT_GT(intact_.size(), 10000u);
    boards_ = everyKrkBoard();
    library_.load(DORVIK_EGBB_DIR);
    for (const Board& b : boards_) expected_.push_back(library_.probe(b));
  }
  void TearDown() override { fs::remove_all(dir_); }

  // Loads the folder with `bytes` as the file `name` and returns what the library printed.
  std::string load(const std::string& name, const std::string& bytes, int loadMode = 1) {
    fs::remove_all(dir_);
    fs::create_directory(dir_);
    writeBytes(dir_ / name, bytes);
    return printed([&] { library_.load(dir_.string() + "/", 4 << 20, loadMode); });
  }
  template <typename F>
  std::string printed(F run) {
    std::fflush(stdout);
    fs::path capture = dir_.string() + ".out";
    int saved = dup(1);
    FILE* f = std::fopen(capture.c_str(), "w");
    dup2(fileno(f), 1);
    run();
    std::fflush(stdout);
    dup2(saved, 1);
    close(saved);
    std::fclose(f);
    std::string text = readBytes(capture);
    fs::remove(capture);
    return text;
  }
  // Every KRK answer is the intact table's or "no result"; returns how many are "no result".
  int probeAll() {
    int unanswered = 0;
    for (size_t i = 0; i < boards_.size(); ++i) {
      int got = library_.probe(boards_[i]);
      if (got == NO_RESULT) ++unanswered;
      else EXPECT_EQ(got, expected_[i]) << "a wrong score from a damaged table";
    }
    return unanswered;
  }
  std::string with(size_t offset, char xorMask) const {
    std::string bytes = intact_;
    bytes[offset] = char(bytes[offset] ^ xorMask);
    return bytes;
  }

  egbbtest::Library library_;
  fs::path dir_;
  std::string intact_;
  std::vector<Board> boards_;
  std::vector<int> expected_;
};

TEST_F(DamagedTable, RefusedAtLoadWithTheFaultNamed) {
  const std::string path = dir_.string() + "/KRK.dtm";
  struct Case {
    std::string bytes, fault;
  } cases[] = {
      {intact_.substr(0, intact_.size() - 1), "truncated (" + std::to_string(intact_.size() - 1) + " of "},
      {intact_.substr(0, 100), "truncated header"},
      {"", "truncated header"},
      {intact_ + "x", "longer than its header says"},
      {std::string(intact_.size(), 'x'), "not a table file"},
      {with(40, 1), "damaged header (checksum)"},  // a code length
      {with(590, 4), "damaged header (checksum)"},  // a block offset
  };
  for (const Case& c : cases) {
    std::string out = load("KRK.dtm", c.bytes);
    EXPECT_EQ(out.rfind("EGBB ERROR: " + path + ": " + c.fault, 0), 0u) << out;
    EXPECT_NE(out.find("; table not used\n"), std::string::npos) << out;
    EXPECT_EQ(probeAll(), int(boards_.size()));
  }
  EXPECT_EQ(load("KQK.dtm", intact_), "EGBB ERROR: " + dir_.string() + "/KQK.dtm: holds KRK, not KQK; table not used\n" +
                                          "EGBB WARNING: no tables in " + dir_.string() + "/\n");
  EXPECT_NE(load("KXK.dtm", intact_).find("KXK.dtm: not the name of a table"), std::string::npos);
}

TEST_F(DamagedTable, DamagedBlockGivesNoResultForItsPositionsOnly) {
  // A byte in the middle of the coded data, read at a probe.
  std::string bytes = with(intact_.size() - 2000, 0x10);
  EXPECT_EQ(load("KRK.dtm", bytes), "");
  int unanswered = 0;
  std::string out = printed([&] { unanswered = probeAll(); });
  EXPECT_GT(unanswered, 0);
  EXPECT_LT(unanswered, int(boards_.size()) / 4);
  EXPECT_NE(out.find("KRK.dtm: block "), std::string::npos) << out;
  EXPECT_EQ(out.find('\n'), out.size() - 1) << "one message for the block: " << out;
  // Held in memory, the table is checked whole at load.
  EXPECT_NE(load("KRK.dtm", bytes, 3).find("(checksum); table not used"), std::string::npos);
  EXPECT_EQ(probeAll(), int(boards_.size()));
}

}  // namespace
