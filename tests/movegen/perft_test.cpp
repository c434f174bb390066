// Perft: the shallow counts of the six standard positions and the command's printed report.
#include <cinttypes>
#include <cstdio>
#include <sstream>

#include "movegen/perft.h"
#include "movegen_fixture.h"

namespace {

struct PerftCase {
  const char* fen;
  uint64_t leaves[3];
};

const PerftCase Cases[] = {
    {START_FEN, {20, 400, 8902}},
    {"r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq -", {48, 2039, 97862}},
    {"8/2p5/3p4/KP5r/1R3p1k/8/4P1P1/8 w - -", {14, 191, 2812}},
    {"r3k2r/Pppp1ppp/1b3nbN/nP6/BBP1P3/q4N2/Pp1P2PP/R2Q1RK1 w kq -", {6, 264, 9467}},
    {"rnbq1k1r/pp1Pbppp/2p5/8/2B5/8/PPP1NnPP/RNBQK2R w KQ -", {44, 1486, 62379}},
    {"r4rk1/1pp1qppp/p1np1n2/2b1p1B1/2B1P1b1/P1NP1N2/1PP1QPPP/R4RK1 w - -", {46, 2079, 89890}},
};

// The count of every legal move path of length 1 to depth.
uint64_t paths(const char* fen, int depth) {
  Position pos;
  EXPECT_TRUE(SetupPosition(pos, fen)) << fen;
  const Position before = pos;
  const uint64_t count = perft(pos, depth).paths;
  expectPositionAsBefore(before, pos, "perft");
  return count;
}

TEST(Perft, StandardPositionsAtShallowDepths) {
  for (const PerftCase& c : Cases) {
    SCOPED_TRACE(c.fen);
    uint64_t sum = 0;
    for (int d = 1; d <= 3; ++d) {
      sum += c.leaves[d - 1];
      EXPECT_EQ(paths(c.fen, d), sum) << "depth " << d;
    }
  }
  // The kiwipete walk to depth 4 is still quick and covers every special move often.
  EXPECT_EQ(paths(Cases[1].fen, 4), 48u + 2039 + 97862 + 4085603);
}

TEST(Perft, UnusualPositions) {
  // Sixteen queens: long exchange sequences with x-rays on every line.
  EXPECT_EQ(paths("k7/qqqqqqqq/8/8/8/8/QQQQQQQQ/7K w - -", 2), 97u + 8745);
  // In check from a bishop, with en passant as one of the blocks.
  EXPECT_EQ(paths("4kb2/8/8/3pP3/8/K7/8/8 w - d6", 3), 5u + 55 + 330);
}

TEST(Perft, MatedAndStalematedSidesCountNothing) {
  EXPECT_EQ(paths("7k/6Q1/6K1/8/8/8/8/8 b - -", 1), 0u);  // mate
  EXPECT_EQ(paths("7k/5Q2/6K1/8/8/8/8/8 b - -", 2), 0u);  // stalemate
}

std::string runPerftOutput(Position& pos, int depth) {
  ::testing::internal::CaptureStdout();
  runPerft(pos, depth);
  return ::testing::internal::GetCapturedStdout();
}

TEST(Perft, CommandReport) {
  Position pos;
  ASSERT_TRUE(SetupPosition(pos, START_FEN));
  const Position before = pos;
  std::istringstream out(runPerftOutput(pos, 3));
  expectPositionAsBefore(before, pos, "perft command");
  std::string line;
  std::getline(out, line);
  EXPECT_EQ(line, "ply\tduration\tnodes");
  const uint64_t expected[3] = {20, 420, 9322};
  uint64_t made = 0;
  for (int d = 1; d <= 3; ++d) {
    std::getline(out, line);
    int depth = 0;
    double seconds = -1;
    uint64_t nodes = 0;
    ASSERT_EQ(std::sscanf(line.c_str(), "%d\t%lf\t%" SCNu64, &depth, &seconds, &nodes), 3) << line;
    EXPECT_EQ(depth, d);
    EXPECT_GE(seconds, 0.0);
    EXPECT_EQ(nodes, expected[d - 1]);
    EXPECT_NE(line.find('.'), std::string::npos);  // one decimal of seconds
    made += perft(pos, d).made;
  }
  std::getline(out, line);
  EXPECT_EQ(line, "total nodes: 9762");
  std::getline(out, line);
  // Every generated move is made, the illegal ones too: at least the legal count.
  unsigned printed = 0;
  ASSERT_EQ(std::sscanf(line.c_str(), "(total moves[32]: %u)", &printed), 1) << line;
  EXPECT_EQ(printed, made);
  EXPECT_GE(printed, 9762u);

  EXPECT_EQ(runPerftOutput(pos, 0), "ply\tduration\tnodes\ntotal nodes: 0\n(total moves[32]: 0)\n");
}

}  // namespace
