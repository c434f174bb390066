// The bitbase interface against the fixed-answer library built with the project.
#include <dlfcn.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "board/fen.h"
#include "board/score.h"
#include "eval/bitbase.h"

namespace {

const std::string FIXED_LIBRARY = std::string(DORVIK_EGBB_FIXED_DIR) + "egbbso64.so";

// Each test loads the fixed library into bitbases of its own; the library's record of the last
// calls is read through a handle of the test's own.
class FixedBitbases : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(bitbases.load(DORVIK_EGBB_FIXED_DIR, 6, 2)) << bitbases.error();
    handle_ = dlopen(FIXED_LIBRARY.c_str(), RTLD_NOW | RTLD_NOLOAD);  // the copy the load opened
    ASSERT_NE(handle_, nullptr);
  }
  void TearDown() override {
    if (handle_) dlclose(handle_);
  }
  int probe(const char* fen) {
    EXPECT_TRUE(SetupPosition(pos, fen)) << fen;
    return bitbases.probe(pos);
  }
  bool covers(const char* fen) {
    EXPECT_TRUE(SetupPosition(pos, fen)) << fen;
    return bitbases.covers(pos);
  }
  std::vector<int> lastProbe() {
    auto read = reinterpret_cast<void (*)(int*)>(dlsym(handle_, "fixed_egbb_last_probe"));
    std::vector<int> arguments(9);
    read(arguments.data());
    return arguments;
  }

  Bitbases bitbases;
  Position pos;
  void* handle_ = nullptr;
};

TEST_F(FixedBitbases, LoadPassesDirectoryCacheBytesAndMode) {
  auto read = reinterpret_cast<const char* (*)(int*, int*)>(dlsym(handle_, "fixed_egbb_load_directory"));
  ASSERT_NE(read, nullptr);
  int cacheBytes = 0, loadMode = 0;
  EXPECT_STREQ(read(&cacheBytes, &loadMode), DORVIK_EGBB_FIXED_DIR);
  EXPECT_EQ(cacheBytes, 6 << 20);
  EXPECT_EQ(loadMode, 2);
  EXPECT_TRUE(bitbases.loaded());
  EXPECT_EQ(bitbases.loadMode(), 2);
  EXPECT_EQ(bitbases.error(), "");
}

// Beyond +-7000 the library's answers count moves to mate (17000 - 10 m); they become bitbase
// scores, which stay above 7000 and at most BITBASE_WIN, whatever the library says.
TEST_F(FixedBitbases, ScoresBeyond7000BecomeBitbaseScores) {
  EXPECT_EQ(probe("4k3/8/8/8/8/8/8/Q3K3 w - -"), 7001);          // library 7100: 990 moves
  EXPECT_EQ(probe("4k3/8/8/8/8/8/8/R3K3 w - -"), BITBASE_WIN);   // library 20000: beyond the scale
  EXPECT_EQ(probe("4k3/8/8/8/8/8/8/r3K3 w - -"), -7001);         // library -7005
  EXPECT_EQ(probe("4k3/8/8/8/8/8/8/q3K3 w - -"), -BITBASE_WIN);  // library -20000
  EXPECT_EQ(probe("4k3/8/8/8/8/8/P7/4K3 w - -"), 250);           // within range: unchanged
  EXPECT_EQ(probe("4k3/8/8/8/8/8/8/4K3 w - -"), 0);
  EXPECT_EQ(probe("4k3/8/8/8/8/8/8/N3K3 w - -"), BITBASE_NO_RESULT);
}

TEST_F(FixedBitbases, ArgumentsUseA1NumberingAndScanFromH1) {
  // Black to move; white king e1, black king e8; knight b1, black pawn g5, white rook a8.
  probe("R3k3/8/8/6p1/8/8/8/1N2K3 b - -");
  // a1 = 0 numbering: e1 4, e8 60, b1 1, g5 38, a8 56. Pieces in order h1 ... a8.
  EXPECT_EQ(lastProbe(), (std::vector<int>{1, 4, 60, 5, 1, 12, 38, 3, 56}));
  probe("4k3/8/8/8/8/8/8/4K2Q w - -");
  EXPECT_EQ(lastProbe(), (std::vector<int>{0, 4, 60, 2, 7, 0, 0, 0, 0}));  // empty slots are 0, 0
}

TEST_F(FixedBitbases, RawProbePassesArgumentsUnchanged) {
  const int arguments[9] = {1, 24, 41, 8, 3, 6, 13, 2, 25};
  EXPECT_EQ(bitbases.probeArguments(arguments), -20000);  // piece 8: no mapping on the raw answer
  EXPECT_EQ(lastProbe(), std::vector<int>(arguments, arguments + 9));
}

// The library is never told of an en-passant square, so a position in which the capture can be
// made is not given to it: its answer would be for the position without that capture.
TEST_F(FixedBitbases, PositionWithAnEnPassantCaptureIsNotCovered) {
  EXPECT_FALSE(covers("4k3/8/8/2pP4/8/8/8/4K3 w - c6"));
  EXPECT_FALSE(covers("4k3/8/8/3Pp3/8/8/8/4K3 w - e6"));
  // A double step that no pawn can take changes nothing.
  EXPECT_TRUE(covers("4k3/8/8/p2P4/8/8/8/4K3 w - a6"));
  EXPECT_TRUE(covers("4k3/8/8/3P4/8/8/8/4K3 w - -"));
  // Six men are beyond the library, and so is a castling right.
  EXPECT_TRUE(covers("4k3/8/8/3P4/8/8/1PP5/4K3 w - -"));
  EXPECT_FALSE(covers("4k3/8/8/3P4/8/8/PPP5/4K3 w - -"));
  EXPECT_FALSE(covers("4k3/8/8/8/8/8/8/4K2R w K -"));
}

TEST_F(FixedBitbases, FailedLoadKeepsTheLibraryInUse) {
  EXPECT_FALSE(bitbases.load("/nonexistent/", 4, 1));
  EXPECT_NE(bitbases.error(), "");
  EXPECT_TRUE(bitbases.loaded());
  EXPECT_EQ(bitbases.loadMode(), 2);
  EXPECT_EQ(probe("4k3/8/8/8/8/8/P7/4K3 w - -"), 250);
}

TEST(Bitbases, NotLoadedMeansNoResult) {
  Bitbases bitbases;
  Position pos;
  ASSERT_TRUE(SetupPosition(pos, "4k3/8/8/8/8/8/8/Q3K3 w - -"));
  EXPECT_FALSE(bitbases.covers(pos));
  EXPECT_EQ(bitbases.probe(pos), BITBASE_NO_RESULT);
  EXPECT_FALSE(bitbases.load("/nonexistent/", 4, 1));
  EXPECT_NE(bitbases.error(), "");
  EXPECT_FALSE(bitbases.loaded());
  EXPECT_EQ(bitbases.probe(pos), BITBASE_NO_RESULT);
}

}  // namespace
