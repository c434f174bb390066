#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "tools/converters.h"

namespace {

namespace fs = std::filesystem;

// Each test runs in a directory of its own, since the commands write into the current one.
class Converters : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/dorvik_converters_XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    dir_ = pattern;
    old_ = fs::current_path();
    fs::current_path(dir_);
  }
  void TearDown() override {
    fs::current_path(old_);
    fs::remove_all(dir_);
  }
  static void write(const char* name, const std::string& text) {
    std::ofstream(name, std::ios::binary) << text;
  }
  static std::string contents(const char* name) {
    std::ifstream in(name, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
  }
  template <typename F>
  static std::string output(F command) {
    testing::internal::CaptureStdout();
    command();
    return testing::internal::GetCapturedStdout();
  }
  fs::path dir_, old_;
};

const char* const TwoGames =
    "[Event \"a\"]\n[Result \"1-0\"]\n\n1. e4 e5 2. Nf3 1-0\n\n"
    "[Event \"b\"]\n[Result \"0-1\"]\n\n1. d4 d5 0-1\n";
// The two games as stored: header, then the moves.
const std::string TwoRecords("\x03\x80\x24\x0D\x1C\x03\xAD\x0F"
                             "\x02\x40\xE3\x0C\xDB\x02",
                             14);

TEST_F(Converters, Pgn2GameStoresEveryGameOnce) {
  write("a.pgn", TwoGames);
  EXPECT_EQ(output([] { Pgn2Game("a.pgn", "g.bin"); }),
            "converted: 2 games. (skipped: 0)\nfile: a.pgn \t\tfinished\n");
  EXPECT_EQ(contents("g.bin"), TwoRecords);
  EXPECT_EQ(output([] { Pgn2Game("a.pgn", "g.bin"); }),
            "Warning: game 1 (skipped) file: a.pgn\nWarning: game 2 (skipped) file: a.pgn\n"
            "converted: 0 games. (skipped: 2)\nfile: a.pgn \t\tfinished\n");
  EXPECT_EQ(contents("g.bin"), TwoRecords);
}

TEST_F(Converters, Pgn2GameSkipsUndecidedGamesAndRepeatsWithinOneFile) {
  write("a.pgn", std::string(TwoGames) + "[Result \"*\"]\n1. c4 *\n" + TwoGames);
  EXPECT_EQ(output([] { Pgn2Game("a.pgn", "g.bin"); }),
            "Warning: game 3 (skipped) file: a.pgn\nWarning: game 4 (skipped) file: a.pgn\n"
            "Warning: game 5 (skipped) file: a.pgn\nconverted: 2 games. (skipped: 3)\n"
            "file: a.pgn \t\tfinished\n");
  EXPECT_EQ(contents("g.bin"), TwoRecords);
}

TEST_F(Converters, ByteOrderMarkBeforeTheFirstGameIsPassedOver) {
  write("a.pgn", std::string("\xEF\xBB\xBF") + TwoGames);
  EXPECT_EQ(output([] { Pgn2Game("a.pgn", "g.bin"); }),
            "converted: 2 games. (skipped: 0)\nfile: a.pgn \t\tfinished\n");
  EXPECT_EQ(contents("g.bin"), TwoRecords);
}

TEST_F(Converters, Pgn2GameCutsOffAPartialLastRecord) {
  write("a.pgn", TwoGames);
  write("g.bin", TwoRecords.substr(0, 8) + TwoRecords.substr(8, 3));
  const std::string out = output([] { Pgn2Game("a.pgn", "g.bin"); });
  EXPECT_EQ(out.substr(0, out.find('\n') + 1),
            "Game file 'g.bin': removed an incomplete last record (3 bytes)\n");
  EXPECT_NE(out.find("converted: 1 games. (skipped: 1)\n"), std::string::npos);
  EXPECT_EQ(contents("g.bin"), TwoRecords);
}

TEST_F(Converters, Pgn2GameRefusesAFileDamagedElsewhere) {
  write("a.pgn", TwoGames);
  const std::string damaged = std::string("\x01\x00\x24\x0D", 4) + TwoRecords.substr(8);
  write("g.bin", damaged);
  EXPECT_EQ(output([] { Pgn2Game("a.pgn", "g.bin"); }), "Game file corrupted! (error on game: 1)\n");
  EXPECT_EQ(contents("g.bin"), damaged);
  // A record of 1024 plies is damage too, even at the end.
  const std::string tooLong = TwoRecords + std::string("\x00\x84\x24\x0D", 4);
  write("g.bin", tooLong);
  EXPECT_EQ(output([] { Pgn2Game("a.pgn", "g.bin"); }), "Game file corrupted! (error on game: 3)\n");
  EXPECT_EQ(contents("g.bin"), tooLong);
}

TEST_F(Converters, RaisedErrorIsReportedAndEarlierGamesStay) {
  write("a.pgn", std::string(TwoGames) + "[Result \"1-0\"]\n1. e4 e5 2. Ke3 1-0\n" + TwoGames);
  const std::string out = output([] { Pgn2Game("a.pgn", "g.bin"); });
  EXPECT_NE(out.find("converted: 2 games. (skipped: 0)\nERROR: MOVE NOT LEGAL 1 file: a.pgn\n"),
            std::string::npos);
  EXPECT_EQ(contents("g.bin"), TwoRecords);
}

TEST_F(Converters, MissingFilesAreReported) {
  EXPECT_EQ(output([] { Pgn2Game("none.pgn", "g.bin"); }), "Cannot open PGN input file: 'none.pgn'\n");
  EXPECT_FALSE(fs::exists("g.bin"));
  write("a.pgn", TwoGames);
  EXPECT_EQ(output([] { Pgn2Game("a.pgn", "no/such/dir/g.bin"); }),
            "Cannot create GAME output file: 'no/such/dir/g.bin'\n");
  EXPECT_EQ(output([] { Game2Pgn("none.bin", "o.pgn"); }), "Cannot open GAME input file: 'none.bin'\n");
  EXPECT_EQ(output([] { Pgn2Pos("none.pgn"); }), "Cannot open PGN input file: 'none.pgn'\n");
}

TEST_F(Converters, PgnListConvertsEveryNamedFileIntoOneIndex) {
  write("a.pgn", TwoGames);
  write("b.pgn", "[Result \"1/2-1/2\"]\n1. c4 1/2-1/2\n");
  write("list.txt", "a.pgn\n\nb.pgn\r\na.pgn\n");
  const std::string out = output([] { PgnList2Game("list.txt", "g.bin"); });
  EXPECT_NE(out.find("Cannot open PGN input file: ''\n"), std::string::npos);
  EXPECT_NE(out.find("\nCONVERTED GAMES: 3\n"), std::string::npos);
  EXPECT_EQ(contents("g.bin"), TwoRecords + std::string("\x01\xC0\xA2\x0C", 4));
}

TEST_F(Converters, Game2PgnWritesEveryRecord) {
  write("g.bin", TwoRecords);
  write("o.pgn", "old\n");
  EXPECT_EQ(output([] { Game2Pgn("g.bin", "o.pgn"); }),
            "Converting 2 games [  0%]...\b\b\b\b\b\b\b\b 50%]...\b\b\b\b\b\b\b\b100%]...OK\n"
            "converted: 2 games.\n");
  EXPECT_EQ(contents("o.pgn"),
            "old\n[Result \"1-0\"]\n1. e2e4 e7e5 2. g1f3 1-0\n[Result \"0-1\"]\n1. d2d4 d7d5 0-1\n");
}

TEST_F(Converters, Game2PgnOfAnEmptyOrCorruptedFile) {
  write("g.bin", "");
  EXPECT_EQ(output([] { Game2Pgn("g.bin", "o.pgn"); }),
            "Converting 0 games [  0%]...OK\nconverted: 0 games.\n");
  write("g.bin", TwoRecords.substr(0, 8) + std::string("\x02\x00\x24\x0D", 4));
  EXPECT_EQ(output([] { Game2Pgn("g.bin", "o.pgn"); }), "Game file corrupted! (error on game: 2)");
  EXPECT_EQ(contents("o.pgn"), "");
}

TEST_F(Converters, Game2PosAppendsPositionLines) {
  write("g.bin", TwoRecords);
  write("p.pos", "");
  const std::string out = output([] { Game2Pos("g.bin", "p.pos"); });
  EXPECT_NE(out.find("]...\tOK\nconverted: 2 games.\n"), std::string::npos);
  const std::string lines = contents("p.pos");
  EXPECT_EQ(std::count(lines.begin(), lines.end(), '\n'), 5);
  EXPECT_NE(lines.find("\trnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq -\tW\t1\n"), std::string::npos);
  EXPECT_NE(lines.find("\trnbqkbnr/pppppppp/8/8/3P4/8/PPP1PPPP/RNBQKBNR b KQkq d3\tB\t2\n"), std::string::npos);
}

TEST_F(Converters, Game2PosStopsAtAStoredMoveThatIsNotLegal) {
  // Second record: 1. e2e4 e2e4, a well-formed record with an impossible second move.
  write("g.bin", TwoRecords.substr(0, 8) + std::string("\x02\x80\x24\x0D\x24\x0D", 6));
  const std::string out = output([] { Game2Pos("g.bin", "p.pos"); });
  EXPECT_NE(out.find("ERROR: ILLEGAL MOVE IN GAME FILE\nconverted: 1 games.\n"), std::string::npos);
  const std::string lines = contents("p.pos");
  EXPECT_EQ(std::count(lines.begin(), lines.end(), '\n'), 3);
}

TEST_F(Converters, Pgn2PosSplitsLinesByKeyAndStartsFilesEmpty) {
  write("7.pos", "stale\n");
  write("a.pgn", std::string(TwoGames) + "[Result \"*\"]\n1. c4 *\n");
  EXPECT_EQ(output([] { Pgn2Pos("a.pgn"); }),
            "Warning: game 3 (skipped) file: a.pgn\nconverted: 2 games. (skipped: 1)\n"
            "file: a.pgn \t\tfinished\n");
  int total = 0;
  for (int i = 0; i < 16; ++i) {
    char name[8];
    std::snprintf(name, sizeof name, "%X.pos", i);
    ASSERT_TRUE(fs::exists(name)) << name;
    std::istringstream in(contents(name));
    for (std::string line; std::getline(in, line); ++total) EXPECT_EQ(line[0], name[0]) << line;
  }
  EXPECT_EQ(total, 5);
}

TEST_F(Converters, Pgn2PosOfAFileWithOnlyAnUndecidedGame) {
  write("a.pgn", "[Result \"*\"]\n1. e4 *\n");
  EXPECT_EQ(output([] { Pgn2Pos("a.pgn"); }),
            "Warning: game 1 (skipped) file: a.pgn\nconverted: 0 games. (skipped: 1)\n"
            "file: a.pgn \t\tfinished\n");
}

}  // namespace
