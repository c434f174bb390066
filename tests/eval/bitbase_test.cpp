// The bitbase interface against the fixed-answer library built with the project.
#include <dlfcn.h>

#include <gtest/gtest.h>

#include <string>

#include "board/fen.h"
#include "eval/bitbase.h"

namespace {

const std::string FIXED_LIBRARY = std::string(DORVIK_EGBB_FIXED_DIR) + "egbbso64.so";

// Loads the fixed library for one test and unloads the engine's view of it afterwards, so that
// no other test meets loaded bitbases.
class FixedBitbases : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(LoadBitbases(DORVIK_EGBB_FIXED_DIR, 6, 2));
    handle_ = dlopen(FIXED_LIBRARY.c_str(), RTLD_NOW | RTLD_NOLOAD);  // the engine's own copy
    ASSERT_NE(handle_, nullptr);
  }
  void TearDown() override {
    bitbases.loaded = false;
    if (handle_) dlclose(handle_);
  }
  int probe(const char* fen) {
    EXPECT_TRUE(SetupPosition(fen)) << fen;
    return ProbeBitbase();
  }
  std::vector<int> lastProbe() {
    auto read = reinterpret_cast<void (*)(int*)>(dlsym(handle_, "fixed_egbb_last_probe"));
    std::vector<int> arguments(9);
    read(arguments.data());
    return arguments;
  }

  void* handle_ = nullptr;
};

TEST_F(FixedBitbases, LoadPassesDirectoryCacheBytesAndMode) {
  auto read = reinterpret_cast<const char* (*)(int*, int*)>(dlsym(handle_, "fixed_egbb_load_directory"));
  ASSERT_NE(read, nullptr);
  int cacheBytes = 0, loadMode = 0;
  EXPECT_STREQ(read(&cacheBytes, &loadMode), DORVIK_EGBB_FIXED_DIR);
  EXPECT_EQ(cacheBytes, 6 << 20);
  EXPECT_EQ(loadMode, 2);
  EXPECT_TRUE(bitbases.loaded);
  EXPECT_EQ(bitbases.loadMode, 2);
}

TEST_F(FixedBitbases, ScoresBeyond7000AreCompressed) {
  EXPECT_EQ(probe("4k3/8/8/8/8/8/8/Q3K3 w - -"), 7010);     // library 7100
  EXPECT_EQ(probe("4k3/8/8/8/8/8/8/R3K3 w - -"), 8001);     // library 20000
  EXPECT_EQ(probe("4k3/8/8/8/8/8/8/r3K3 w - -"), -7000);    // library -7005, truncated
  EXPECT_EQ(probe("4k3/8/8/8/8/8/8/q3K3 w - -"), -8001);    // library -20000
  EXPECT_EQ(probe("4k3/8/8/8/8/8/8/P3K3 w - -"), 250);      // within range: unchanged
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
  EXPECT_EQ(ProbeBitbaseArguments(arguments), -20000);  // piece 8: no mapping on the raw answer
  EXPECT_EQ(lastProbe(), std::vector<int>(arguments, arguments + 9));
}

// The library is never told of an en-passant square, so a position in which the capture can be
// made is not given to it: its answer would be for the position without that capture.
TEST_F(FixedBitbases, PositionWithAnEnPassantCaptureIsNotCovered) {
  ASSERT_TRUE(SetupPosition("4k3/8/8/2pP4/8/8/8/4K3 w - c6"));
  EXPECT_FALSE(BitbaseCovers());
  ASSERT_TRUE(SetupPosition("4k3/8/8/3Pp3/8/8/8/4K3 w - e6"));
  EXPECT_FALSE(BitbaseCovers());
  // A double step that no pawn can take changes nothing.
  ASSERT_TRUE(SetupPosition("4k3/8/8/p2P4/8/8/8/4K3 w - a6"));
  EXPECT_TRUE(BitbaseCovers());
  ASSERT_TRUE(SetupPosition("4k3/8/8/3P4/8/8/8/4K3 w - -"));
  EXPECT_TRUE(BitbaseCovers());
  // Six men are beyond the library.
  ASSERT_TRUE(SetupPosition("4k3/8/8/3P4/8/8/1PP5/4K3 w - -"));
  EXPECT_TRUE(BitbaseCovers());
  ASSERT_TRUE(SetupPosition("4k3/8/8/3P4/8/8/PPP5/4K3 w - -"));
  EXPECT_FALSE(BitbaseCovers());
}

TEST(Bitbases, NotLoadedMeansNoResult) {
  bitbases.loaded = false;
  ASSERT_TRUE(SetupPosition("4k3/8/8/8/8/8/8/Q3K3 w - -"));
  EXPECT_EQ(ProbeBitbase(), BITBASE_NO_RESULT);
  EXPECT_FALSE(LoadBitbases("/nonexistent/", 4, 1));
  EXPECT_FALSE(bitbases.loaded);
}

}  // namespace
