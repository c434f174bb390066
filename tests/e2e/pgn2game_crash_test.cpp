// "pgn2game" killed while it appends: every record written before the kill stays readable, and
// the next "pgn2game" on the same files goes on to the very file an uninterrupted run writes.
#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <vector>

#include "e2e/harness.h"

namespace {

using Clock = std::chrono::steady_clock;

// Distinct games: a first move for each side, then a number of knight round trips.
std::string manyGames(int count) {
  static const char* const white[] = {"a3", "a4", "b3", "b4", "c3", "c4", "d3", "d4", "e3", "e4", "h3", "h4"};
  static const char* const black[] = {"a6", "a5", "b6", "b5", "c6", "c5", "d6", "d5", "e6", "e5", "h6", "h5"};
  static const char* const results[] = {"1-0", "0-1", "1/2-1/2"};
  std::string pgn;
  for (int i = 0; i < count; ++i) {
    const char* result = results[i % 3];
    pgn += std::string("[Event \"crash\"]\n[Result \"") + result + "\"]\n\n1. " + white[i % 12] + " " +
           black[i / 12 % 12];
    const int trips = i / 144 + 1;
    for (int t = 0; t < trips; ++t)
      pgn += " " + std::to_string(2 + 2 * t) + ". Nf3 Nf6 " + std::to_string(3 + 2 * t) + ". Ng1 Ng8";
    pgn += std::string(" ") + result + "\n\n";
  }
  return pgn;
}

// The engine converting games.pgn into g.gam in `dir`, standard output discarded.
pid_t startConversion(const std::filesystem::path& dir) {
  const std::string input = std::string(e2e::XBOARD_HANDSHAKE) + "pgn2game games.pgn g.gam\nquit\n";
  e2e::writeFile(dir / "commands", input);
  pid_t child = fork();
  if (child == 0) {
    if (chdir(dir.c_str()) != 0) _exit(126);
    int in = open("commands", O_RDONLY), out = open("/dev/null", O_WRONLY);
    if (in < 0 || out < 0) _exit(126);
    dup2(in, 0);
    dup2(out, 1);
    dup2(out, 2);
    execl(DORVIK_BINARY, DORVIK_BINARY, static_cast<char*>(nullptr));
    _exit(127);
  }
  return child;
}

// Waits for the conversion; kills it first when `killAfter` passes. True when it was killed.
bool awaitConversion(pid_t child, Clock::duration killAfter) {
  const Clock::time_point deadline = Clock::now() + killAfter;
  int status = 0;
  while (waitpid(child, &status, WNOHANG) == 0) {
    if (Clock::now() >= deadline) {
      kill(child, SIGKILL);
      waitpid(child, &status, 0);
      return true;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  return false;
}

// The number of whole records at the start of a game file's bytes.
size_t wholeRecords(const std::string& bytes, size_t& end) {
  size_t count = 0;
  end = 0;
  while (end + 2 <= bytes.size()) {
    const size_t plies = (uint8_t(bytes[end]) | uint8_t(bytes[end + 1]) << 8) & 0x3FFF;
    if (end + 2 + 2 * plies > bytes.size()) break;
    end += 2 + 2 * plies;
    ++count;
  }
  return count;
}

TEST(Pgn2GameCrash, KilledAppendsKeepEveryRecordAndTheNextRunFinishesTheFile) {
  const std::string pgn = manyGames(6000);

  e2e::TempDir clean;
  e2e::writeFile(clean.path() / "games.pgn", pgn);
  const Clock::time_point begin = Clock::now();
  ASSERT_FALSE(awaitConversion(startConversion(clean.path()), std::chrono::minutes(5)));
  const Clock::duration cleanRun = Clock::now() - begin;
  const std::string expected = e2e::readFile(clean.path() / "g.gam");
  size_t expectedEnd;
  ASSERT_EQ(wholeRecords(expected, expectedEnd), 6000u);
  ASSERT_EQ(expectedEnd, expected.size());

  e2e::TempDir work;
  e2e::writeFile(work.path() / "games.pgn", pgn);
  int killedMidway = 0;
  size_t previous = 0;
  for (double share : {0.2, 0.35, 0.5, 0.65, 0.8, 0.95}) {
    SCOPED_TRACE("killed after " + std::to_string(share) + " of a clean run");
    const bool killed = awaitConversion(startConversion(work.path()),
                                        std::chrono::duration_cast<Clock::duration>(cleanRun * share));
    const std::string bytes = e2e::readFile(work.path() / "g.gam");
    size_t end;
    wholeRecords(bytes, end);
    // Whole records are the clean file's first ones, in order; the next run removes a partial one.
    EXPECT_EQ(bytes.substr(0, end), expected.substr(0, end));
    EXPECT_GE(end, previous);
    previous = end;
    if (killed && end > 0 && end < expected.size()) ++killedMidway;
  }
  // Each run goes on from where the last one was killed, so some kill must land mid-file.
  EXPECT_GT(killedMidway, 0) << "no kill landed while records were being appended";

  ASSERT_FALSE(awaitConversion(startConversion(work.path()), std::chrono::minutes(5)));
  EXPECT_TRUE(e2e::readFile(work.path() / "g.gam") == expected);
}

}  // namespace
