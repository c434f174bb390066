#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <utility>

#include "board/fen.h"
#include "board/move.h"
#include "board/position.h"
#include "driver/engine_state.h"
#include "driver/search_hooks.h"
#include "driver/time_control.h"
#include "io/clock.h"
#include "io/input.h"
#include "io/log.h"
#include "search/poll.h"
#include "search/search_state.h"

namespace {

// After 1. e4 the engine ponders on 1... e5.
constexpr const char* AFTER_E4 = "rnbqkbnr/pppppppp/8/8/4P3/8/PPPP1PPP/RNBQKBNR b KQkq e3";
constexpr Move E7E5 = makeMoveWord(E7, E5, QUIET);

// Feeds the search's input through a pipe and captures the log.
class SearchInputTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(pipe(fds), 0);
    setInputDescriptor(fds[0]);
    // One log per process: the tests may run side by side.
    logPath = ::testing::TempDir() + "search_input." + std::to_string(getpid()) + ".log";
    OpenLog(logPath.c_str());
    ASSERT_TRUE(SetupPosition(AFTER_E4));
    savedTime = timeControl;
    savedLimits = search.limits;
    search.limits.pondering = true;
    search.limits.infinite = false;
    search.limits.hardLimit = 1 << 30;
    search.callerWaiting = false;
    InstallSearchHooks();
    search.stopSearch = 0;
    search.iterationDepth = 5;
    search.nextPollAt = 16384;
    driver.inputPending = false;
    driver.engineState = PONDERING;
    driver.ponderMove = E7E5;
  }
  void TearDown() override {
    setInputDescriptor(0);
    close(fds[0]);
    close(fds[1]);
    timeControl = savedTime;
    search.limits = savedLimits;
    search.hooks = {};
    driver.engineState = PLAYING;
    driver.ponderMove = 0;
    driver.inputPending = false;
    search.stopSearch = 0;
    OpenLog("/dev/null");
    std::remove(logPath.c_str());
  }

  // Reads one token as a running search would, which stops when the verdict says so.
  void handle() {
    if (HandleSearchInput() == InputVerdict::STOP) search.stopSearch = 1;
  }

  void send(const char* text) { ASSERT_EQ(write(fds[1], text, std::strlen(text)), ssize_t(std::strlen(text))); }

  std::string log() {
    std::ifstream in(logPath);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
  }

  int fds[2];
  std::string logPath;
  TimeControl savedTime;
  SearchLimits savedLimits;
};

TEST_F(SearchInputTest, PonderHitTurnsPonderingIntoThinkingAndChargesTwoThirds) {
  search.limits.budget = 3000;
  search.limits.startTime = processClock() - 10000;
  search.stopSearch = 1;
  uint16_t plyCount = pos.plyCount, age = pos.searchAge;
  send("e7e5\n");
  handle();
  int used = processClock() - search.limits.startTime;
  EXPECT_GE(used, 2000);
  EXPECT_LT(used, 2500);
  EXPECT_EQ(search.stopSearch, 0);
  EXPECT_FALSE(driver.inputPending);
  EXPECT_EQ(driver.engineState, THINKING);
  EXPECT_EQ(driver.ponderMove, 0);
  EXPECT_EQ(pos.plyCount, plyCount + 1);
  EXPECT_EQ(pos.searchAge, age + 1);
  EXPECT_NE(log().find("-cC: e7e5\n--- GOOD PONDER --- cmd:e7e5\n"), std::string::npos) << log();
}

TEST_F(SearchInputTest, PonderHitSoonAfterTheStartKeepsTheStartTime) {
  search.limits.budget = 30000;
  int start = processClock() - 100;
  search.limits.startTime = start;
  send("e7e5\n");
  handle();
  EXPECT_EQ(search.limits.startTime, start);
  EXPECT_EQ(driver.engineState, THINKING);
}

TEST_F(SearchInputTest, AnyOtherMoveStopsTheSearchForTheLoop) {
  send("d7d5\n");
  handle();
  EXPECT_TRUE(driver.inputPending);
  EXPECT_EQ(search.stopSearch, 1);
  EXPECT_STREQ(driver.inputToken, "d7d5");
  EXPECT_EQ(driver.engineState, PONDERING);
  EXPECT_EQ(driver.ponderMove, E7E5);
  // The predicted move while thinking is just another move.
  driver.engineState = THINKING;
  search.stopSearch = 0;
  driver.inputPending = false;
  send("e7e5\n");
  handle();
  EXPECT_TRUE(driver.inputPending);
  EXPECT_EQ(search.stopSearch, 1);
}

TEST_F(SearchInputTest, TimeLineRecomputesTheBudgetWithoutStopping) {
  SetLevel(40, 0);
  pos.plyCount = 1;
  ComputeTimeBudget(30000);
  const int expected = search.limits.budget;
  search.limits.budget = 1;
  send("time 30000 otim 29000\n");
  handle();
  EXPECT_EQ(search.limits.budget, expected);
  EXPECT_EQ(search.stopSearch, 0);
  EXPECT_FALSE(driver.inputPending);
  EXPECT_NE(log().find("-cC: time\n30000 otim 29000 [cC]\n"), std::string::npos) << log();
  SetLevel(35, 0);
}

TEST_F(SearchInputTest, MalformedTimeLineKeepsTheBudget) {
  search.limits.budget = 1234;
  send("time soon\n");
  handle();
  EXPECT_EQ(search.limits.budget, 1234);
  EXPECT_FALSE(driver.inputPending);
  // What follows is read as a word of its own: unknown, it is answered and the search goes on.
  ::testing::internal::CaptureStdout();
  handle();
  EXPECT_EQ(::testing::internal::GetCapturedStdout(), "Error (unknown command): soon\n");
  EXPECT_FALSE(driver.inputPending);
  EXPECT_EQ(search.stopSearch, 0);
}

TEST_F(SearchInputTest, StopCommandsAndOtherTokens) {
  for (EngineState state : {PONDERING, THINKING, ANALYZING}) {
    for (const char* stop : {"force", "quit"}) {
      driver.engineState = state;
      search.stopSearch = 0;
      driver.inputPending = false;
      send(stop);
      send("\n");
      handle();
      EXPECT_TRUE(driver.inputPending) << stop;
      EXPECT_EQ(search.stopSearch, 1) << stop;
      EXPECT_STREQ(driver.inputToken, stop);
    }
  }
  // "?" moves now while thinking; pondering has no move to make.
  search.stopSearch = 0;
  driver.inputPending = false;
  send("?\n");
  handle();
  EXPECT_FALSE(driver.inputPending);
  EXPECT_EQ(search.stopSearch, 0);
  driver.engineState = THINKING;
  send("?\n");
  handle();
  EXPECT_TRUE(driver.inputPending);
  EXPECT_EQ(search.stopSearch, 1);
  // Thinking goes on past a command for the loop; pondering and analysis, which have no time
  // limit, stop for it.
  search.stopSearch = 0;
  driver.inputPending = false;
  send("easy\n");
  handle();
  EXPECT_TRUE(driver.inputPending);
  EXPECT_EQ(search.stopSearch, 0);
  EXPECT_STREQ(driver.inputToken, "easy");
  for (EngineState state : {PONDERING, ANALYZING}) {
    driver.inputPending = false;
    search.stopSearch = 0;
    driver.engineState = state;
    send("undo\n");
    handle();
    EXPECT_TRUE(driver.inputPending);
    EXPECT_EQ(search.stopSearch, 1);
    EXPECT_STREQ(driver.inputToken, "undo");
  }
}

// A ping is answered once everything before it is done: at once while pondering or analysing
// (and the search goes on), after the move while thinking on one. Commands that leave the game
// alone are handled at once in any state.
TEST_F(SearchInputTest, PingWaitsOnlyForTheEnginesOwnMove) {
  // The hint is the pondered move, or the analysis's choice so far (none yet here).
  search.result = {};
  for (auto [state, answer] : {std::pair{PONDERING, "pong 7\nHint: e7e5\n"}, std::pair{ANALYZING, "pong 7\n"}}) {
    driver.engineState = state;
    send("ping 7\nnopost\npost\nhint\n");
    ::testing::internal::CaptureStdout();
    for (int i = 0; i < 4; ++i) handle();
    EXPECT_EQ(::testing::internal::GetCapturedStdout(), answer);
    EXPECT_FALSE(driver.inputPending);
    EXPECT_EQ(search.stopSearch, 0);
    EXPECT_TRUE(driver.postThinking);
  }
  // While thinking, the search goes on reading its input and the pong waits for the move.
  driver.engineState = THINKING;
  send("ping 8\n");
  ::testing::internal::CaptureStdout();
  handle();
  EXPECT_EQ(::testing::internal::GetCapturedStdout(), "");
  EXPECT_FALSE(driver.inputPending);
  EXPECT_EQ(search.stopSearch, 0);
  EXPECT_STREQ(driver.owedPong, "8");
  driver.owedPong[0] = '\0';
}

TEST_F(SearchInputTest, EndOfInputCountsAsQuit) {
  close(fds[1]);
  fds[1] = -1;
  handle();
  EXPECT_STREQ(driver.inputToken, "quit");
  EXPECT_TRUE(driver.inputPending);
  EXPECT_EQ(search.stopSearch, 1);
}

TEST_F(SearchInputTest, PollStopsOnTheFlagOnTimeFromTheThirdIterationAndOnCommands) {
  search.stopSearch = 1;
  EXPECT_TRUE(PollSearch());
  EXPECT_EQ(search.nextPollAt, 16384u);

  // Time is up, but the first two iterations always finish.
  search.stopSearch = 0;
  driver.engineState = THINKING;
  search.limits.pondering = false;
  search.limits.budget = 0;
  search.limits.startTime = processClock() - 10;
  search.iterationDepth = 2;
  EXPECT_FALSE(PollSearch());
  EXPECT_EQ(search.stopSearch, 0);
  EXPECT_EQ(search.nextPollAt, 16384u + POLL_INTERVAL);
  search.iterationDepth = 3;
  EXPECT_TRUE(PollSearch());
  EXPECT_EQ(search.stopSearch, 1);

  // Time left: waiting input is read and acted on.
  search.stopSearch = 0;
  search.limits.budget = 60000;
  search.limits.startTime = processClock();
  EXPECT_FALSE(PollSearch());
  send("easy\n");
  EXPECT_FALSE(PollSearch());
  EXPECT_TRUE(driver.inputPending);
  // The pending token is not replaced: later input waits until the loop has taken it.
  send("force\n");
  EXPECT_FALSE(PollSearch());
  EXPECT_STREQ(driver.inputToken, "easy");
  // The next search, after the loop has taken it, reads on.
  driver.inputPending = false;
  search.callerWaiting = false;
  EXPECT_TRUE(PollSearch());
  EXPECT_STREQ(driver.inputToken, "force");
}

}  // namespace
