// The book chain on the repository's real collection, as a user runs it: scripts/build_book.sh
// (pgn2pos, sorting, dbcreate, bookcreate), then the engine playing from that book and showing the
// database; and the repository's own "Dorvik.ini" with its book, as a first start finds them.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "e2e/collection.h"
#include "e2e/harness.h"

namespace {

namespace fs = std::filesystem;
using e2e::readFile;

const char* const BOOK_FILES[] = {"bookbtm.mbk", "bookbtm.mbx", "bookwtm.mbk", "bookwtm.mbx"};

// The counts part of the database line "dbshow" prints for w, b and d.
std::string dbCounts(int w, int b, int d) {
  return "w: " + std::to_string(w) + ", b: " + std::to_string(b) + ", d: " + std::to_string(d) + ", score: ";
}

class BookChain : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    dir = new e2e::TempDir;
    std::string command = "DORVIK='" DORVIK_BINARY "' '" DORVIK_SOURCE_DIR "/scripts/build_book.sh' '" +
                          e2e::COLLECTION_PATH + "' '" + (dir->path() / "book").string() + "' '" +
                          (dir->path() / "work").string() + "' >'" + (dir->path() / "build.log").string() +
                          "' 2>&1";
    status = std::system(command.c_str());
  }
  static void TearDownTestSuite() {
    delete dir;
    dir = nullptr;
  }
  void SetUp() override { ASSERT_EQ(status, 0) << readFile(dir->path() / "build.log"); }

  static inline e2e::TempDir* dir = nullptr;
  static inline int status = -1;
};

TEST_F(BookChain, ScriptWritesTheBookAndKeepsTheDatabases) {
  std::string log = readFile(dir->path() / "build.log");
  const int decided = e2e::decidedGames(e2e::collectionResults());
  EXPECT_NE(log.find("converted: " + std::to_string(decided) + " games."), std::string::npos) << log;
  for (const char* name : BOOK_FILES) EXPECT_TRUE(fs::exists(dir->path() / "book" / name)) << name;
  EXPECT_EQ(fs::file_size(dir->path() / "book" / "bookwtm.mbx"), 524288u);
  EXPECT_GT(fs::file_size(dir->path() / "book" / "bookbtm.mbk"), 0u);
  EXPECT_EQ(fs::file_size(dir->path() / "work" / "white.db") % 54, 0u);
  EXPECT_GT(fs::file_size(dir->path() / "work" / "black.db"), 0u);
  // The sorted, joined position file is ordered by key, as dbcreate needs.
  std::ifstream positions(dir->path() / "work" / "positions.pos");
  std::string line, previous;
  size_t count = 0;
  while (std::getline(positions, line)) {
    ASSERT_GE(line.substr(0, 16), previous) << "line " << count + 1;
    previous = line.substr(0, 16);
    ++count;
  }
  EXPECT_GT(count, 10000u);
}

TEST_F(BookChain, EnginePlaysFromTheBookAndShowsTheDatabase) {
  auto results = e2e::collectionResults();
  const int w = results["1-0"], b = results["0-1"], d = results["1/2-1/2"];
  std::string ini = "BOOK_PATH=" + (dir->path() / "book").string() + "\n";
  e2e::Run run(std::string(e2e::XBOARD_HANDSHAKE) +
                   "new\ndbshow\nbookshow\ntime 30000\notim 30000\ngo\nbookshow\nforce\nquit\n",
               ini.c_str(),
               {{"white.db", readFile(dir->path() / "work" / "white.db")},
                {"black.db", readFile(dir->path() / "work" / "black.db")}});
  auto r = e2e::runDorvik(run);
  EXPECT_EQ(r.out.find("BOOK ERROR"), std::string::npos) << r.out;
  std::string out = e2e::afterStartUp(r.out);

  // The initial position: every stored game passed through it. It is in the white-to-move side
  // only when black, who has just "moved", scored better than half.
  const double score = (w + d / 2.0) / (w + b + d);
  std::string db = dbCounts(w, b, d);
  size_t at = out.find(db);
  ASSERT_NE(at, std::string::npos) << "no " << db << " in\n" << out;
  at += db.size();
  size_t lineEnd = out.find('\n', at);
  ASSERT_NE(lineEnd, std::string::npos);
  EXPECT_NEAR(std::stod(out.substr(at, lineEnd - at)), score, 1e-6);  // printed with six decimals
  at = lineEnd + 1;
  const bool blackScoredMore = score < 0.5;
  std::string first = blackScoredMore ? "YES\n2: NO\n" : "NO\n2: NO\n";
  EXPECT_EQ(out.substr(at, first.size()), first);
  at += first.size();

  // "go" is answered at once from the book, and the position it reaches is in the book.
  ASSERT_EQ(out.compare(at, 5, "move "), 0) << out.substr(at);
  size_t end = out.find('\n', at);
  std::string move = out.substr(at + 5, end - at - 5);
  EXPECT_NE(r.log.find("move (book) " + move + "\n"), std::string::npos) << r.log;
  EXPECT_EQ(out.substr(end + 1), "YES\n2: NO\n");
  EXPECT_EQ(r.status, 0);
}

// The repository's book is what the script makes of the repository's collection.
TEST_F(BookChain, RepositoryBookIsBuiltFromTheCollection) {
  for (const char* name : BOOK_FILES)
    EXPECT_TRUE(readFile(dir->path() / "book" / name) == readFile(fs::path(DORVIK_SOURCE_DIR) / "book" / name))
        << name << " differs: rebuild book/ with scripts/build_book.sh data/collection.pgn book";
}

// A first start from the repository's top folder: its "Dorvik.ini" names book/ and build/egbb/,
// relative to the folder the engine starts in.
TEST(RepositoryDefaults, FirstStartLoadsTheBookAndTheBitbases) {
  const fs::path top = DORVIK_SOURCE_DIR;
  std::string ini = readFile(top / "Dorvik.ini");
  ASSERT_NE(ini.find("BOOK_PATH=book/"), std::string::npos) << ini;
  ASSERT_NE(ini.find("EGBB_PATH=build/egbb/"), std::string::npos) << ini;
  // The library and the tables the build made beside it.
  e2e::Run::Files files;
  for (const auto& entry : fs::directory_iterator(DORVIK_EGBB_DIR))
    if (entry.path().extension() == ".dtm" || entry.path().filename() == "egbbso64.so")
      files.emplace_back("build/egbb/" + entry.path().filename().string(), readFile(entry.path()));
  for (const char* name : BOOK_FILES) files.emplace_back(std::string("book/") + name, readFile(top / "book" / name));
  auto r = e2e::runDorvik({std::string(e2e::XBOARD_HANDSHAKE) + "new\ngo\nforce\nquit\n", ini.c_str(), files});
  EXPECT_EQ(r.out.find("ERROR"), std::string::npos) << r.out;
  EXPECT_EQ(r.out.find("WARNING"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("EGBB_LOAD=1\nEGBB_CACHE=4\n"), std::string::npos) << r.out;
  EXPECT_EQ(e2e::afterStartUp(r.out).rfind("move ", 0), 0u) << r.out;
  EXPECT_NE(r.log.find("move (book) "), std::string::npos);
}

}  // namespace
