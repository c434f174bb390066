// The game-file tools on the repository's real collection: "pgn2game" stores every game with a
// result once, "game2pgn" writes the same moves pgn-extract reads from the source, and "game2pos"
// writes the same positions as "pgn2pos".
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "e2e/collection.h"
#include "e2e/harness.h"

namespace {

using e2e::readFile;

struct Game {
  std::string result;
  std::vector<std::string> moves;
};

std::vector<std::string> lines(const std::string& text) {
  std::vector<std::string> out;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) out.push_back(line);
  return out;
}

std::string tagValue(const std::string& line) {
  size_t open = line.find('"');
  return line.substr(open + 1, line.rfind('"') - open - 1);
}

// Games of a PGN text whose movetext is coordinate moves: tags, then movetext lines, in which move
// numbers ("12.") and the result token are dropped.
std::vector<Game> coordinateGames(const std::string& text) {
  std::vector<Game> games;
  bool inTags = false;
  for (const std::string& line : lines(text)) {
    if (line.empty()) continue;
    if (line[0] == '[') {
      if (!inTags) games.emplace_back();
      inTags = true;
      if (line.rfind("[Result ", 0) == 0) games.back().result = tagValue(line);
      continue;
    }
    inTags = false;
    std::istringstream words(line);
    for (std::string w; words >> w;) {
      if (w.back() == '.' || w == "1-0" || w == "0-1" || w == "1/2-1/2" || w == "*") continue;
      games.back().moves.push_back(w);
    }
  }
  return games;
}

// pgn-extract as Debian installs it, or empty.
std::string pgnExtract() {
  for (const char* path : {"/usr/games/pgn-extract", "/usr/bin/pgn-extract", "/usr/local/bin/pgn-extract"})
    if (access(path, X_OK) == 0) return path;
  return "";
}

std::string commandOutput(const std::string& command) {
  std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(command.c_str(), "r"), pclose);
  std::string out;
  if (!pipe) return out;
  char buffer[65536];
  for (size_t n; (n = fread(buffer, 1, sizeof buffer, pipe.get())) > 0;) out.append(buffer, n);
  return out;
}

// One run of the converters on the collection, shared by the tests below.
class CollectionConverters : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    results = e2e::collectionResults();
    e2e::Run run(
        "tools\n"
        "pgn2game collection.pgn games.game\n"
        "pgn2game collection.pgn games.game\n"
        "game2pgn games.game out.pgn\n"
        "game2pos games.game out.pos\n"
        "pgn2pos collection.pgn\n"
        "quit\n",
        "", {{"collection.pgn", e2e::collectionText()}});
    run.timeoutSeconds = 300;
    converted = new e2e::Result(e2e::runDorvik(run));
  }
  static void TearDownTestSuite() {
    delete converted;
    converted = nullptr;
  }

  // The game file's records: header words, each followed by its moves.
  static std::vector<std::pair<uint16_t, int>> gameRecords() {
    std::string bytes = converted->file("games.game");
    std::vector<std::pair<uint16_t, int>> records;
    for (size_t at = 0; at + 2 <= bytes.size();) {
      uint16_t header = uint16_t(uint8_t(bytes[at]) | uint8_t(bytes[at + 1]) << 8);
      records.emplace_back(header, header & 0x3FFF);
      at += 2 + 2 * size_t(header & 0x3FFF);
      EXPECT_LE(at, bytes.size()) << "record " << records.size() << " is cut short";
    }
    return records;
  }

  static inline std::map<std::string, int> results;
  static inline e2e::Result* converted = nullptr;
};

TEST_F(CollectionConverters, EveryGameWithAResultIsStoredOnce) {
  const int total = results["1-0"] + results["0-1"] + results["1/2-1/2"] + results["*"];
  const int decided = e2e::decidedGames(results);
  ASSERT_GT(decided, 300) << "the collection holds " << total << " games";
  const std::string& out = converted->out;
  const std::string first = "converted: " + std::to_string(decided) + " games. (skipped: " +
                            std::to_string(total - decided) + ")\n";
  const std::string second = "converted: 0 games. (skipped: " + std::to_string(total) + ")\n";
  size_t at = out.find(first);
  ASSERT_NE(at, std::string::npos) << out.substr(0, 2000);
  EXPECT_NE(out.find(second, at), std::string::npos);
  EXPECT_EQ(e2e::afterStartUp(out).find("ERROR"), std::string::npos);

  auto records = gameRecords();
  ASSERT_EQ(records.size(), size_t(decided));
  std::map<int, int> byCode;
  for (auto [header, plies] : records) {
    byCode[header >> 14]++;
    EXPECT_GT(plies, 0);
  }
  EXPECT_EQ(byCode[2], results["1-0"]);
  EXPECT_EQ(byCode[1], results["0-1"]);
  EXPECT_EQ(byCode[3], results["1/2-1/2"]);
  EXPECT_EQ(byCode[0], 0);
}

TEST_F(CollectionConverters, CoordinateMovesMatchPgnExtract) {
  const std::string tool = pgnExtract();
  if (tool.empty()) GTEST_SKIP() << "pgn-extract is not installed (Debian package pgn-extract)";
  std::string source = (converted->dir->path() / "collection.pgn").string();
  std::vector<Game> reference =
      coordinateGames(commandOutput(tool + " -s -Wuci --noresults -w 100000 '" + source + "' 2>/dev/null"));
  std::erase_if(reference, [](const Game& g) { return g.result != "1-0" && g.result != "0-1" &&
                                                       g.result != "1/2-1/2"; });
  std::vector<Game> ours = coordinateGames(converted->file("out.pgn"));
  ASSERT_EQ(reference.size(), size_t(e2e::decidedGames(results)));
  ASSERT_EQ(ours.size(), reference.size());

  int promotions = 0, castlings = 0;
  for (size_t g = 0; g < ours.size(); ++g) {
    EXPECT_EQ(ours[g].result, reference[g].result) << "game " << g + 1;
    std::vector<std::string> expected = reference[g].moves;
    for (std::string& m : expected) {
      if (m.size() == 5) {
        // pgn-extract writes the promotion piece in upper case; coordinate notation wants lower.
        EXPECT_TRUE(std::isupper(uint8_t(m[4]))) << m;
        m[4] = char(std::tolower(uint8_t(m[4])));
        ++promotions;
      }
      castlings += m == "e1g1" || m == "e1c1" || m == "e8g8" || m == "e8c8";
    }
    ASSERT_EQ(ours[g].moves, expected) << "game " << g + 1;
  }
  // The comparison covered the notations that differ between formats.
  EXPECT_GT(promotions, 0);
  EXPECT_GT(castlings, 0);
}

TEST_F(CollectionConverters, GamePositionsEqualThoseOfThePgnFile) {
  auto records = gameRecords();
  size_t expectedLines = 0;
  for (auto [header, plies] : records) expectedLines += size_t(std::min(plies, 64));

  std::vector<std::string> fromGames = lines(converted->file("out.pos"));
  ASSERT_EQ(fromGames.size(), expectedLines);
  const std::string initial = "\trnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq -\t";
  size_t starts = std::count_if(fromGames.begin(), fromGames.end(), [&](const std::string& l) {
    return l.find(initial) == 16 && l.size() >= 2 && l.compare(l.size() - 2, 2, "\t1") == 0;
  });
  EXPECT_EQ(starts, records.size());

  std::vector<std::string> fromPgn;
  const char digits[] = "0123456789ABCDEF";
  for (int d = 0; d < 16; ++d) {
    for (std::string& l : lines(converted->file(std::string(1, digits[d]) + ".pos"))) {
      EXPECT_EQ(l[0], digits[d]) << l;  // each file holds the keys of its first digit
      fromPgn.push_back(std::move(l));
    }
  }
  std::sort(fromGames.begin(), fromGames.end());
  std::sort(fromPgn.begin(), fromPgn.end());
  EXPECT_TRUE(fromGames == fromPgn) << fromGames.size() << " lines from the game file, " << fromPgn.size()
                                    << " from the PGN file";
}

}  // namespace
