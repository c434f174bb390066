// The line reader over read(2), and the wait for input, on a pipe and on a terminal, ended by
// input or by a wake-up from another thread.
#include <fcntl.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

#include <chrono>
#include <string>
#include <thread>

#include <gtest/gtest.h>

#include "io/input.h"

namespace {

// Another thread sends its text (or its wake-up) after a pause, so that it arrives while the test
// waits; joined when it goes out of scope.
class Later {
 public:
  template <typename F>
  explicit Later(F action)
      : thread_([action] {
          std::this_thread::sleep_for(std::chrono::milliseconds(50));
          action();
        }) {}
  ~Later() { thread_.join(); }

 private:
  std::thread thread_;
};

// The reader over a descriptor of the test's; pointed back at standard input afterwards. A
// wake-up left unconsumed would end the next test's first wait, so each test consumes its own.
class InputTest : public ::testing::Test {
 protected:
  void TearDown() override { setInputDescriptor(0); }
  std::string line(size_t size = 256) {
    std::string buffer(size, '#');
    return readLine(buffer.data(), size) ? std::string(buffer.c_str()) : "<end>";
  }
};

class PipeInput : public InputTest {
 protected:
  void SetUp() override {
    ASSERT_EQ(pipe(fds_), 0);
    setInputDescriptor(fds_[0]);
  }
  void TearDown() override {
    if (fds_[1] >= 0) close(fds_[1]);
    close(fds_[0]);
    InputTest::TearDown();
  }
  void send(const std::string& text) { ASSERT_EQ(write(fds_[1], text.data(), text.size()), ssize_t(text.size())); }
  void closeWriter() {
    close(fds_[1]);
    fds_[1] = -1;
  }

  int fds_[2] = {-1, -1};
};

TEST_F(PipeInput, LinesWithTheirEndsUntilTheInputEnds) {
  send("  xboard\n\tprotover   2\r\n\nquit");
  closeWriter();
  EXPECT_EQ(line(), "  xboard\n");
  EXPECT_EQ(line(), "\tprotover   2\r\n");
  EXPECT_EQ(line(), "\n");
  EXPECT_EQ(line(), "quit");  // the last line ends with the input
  EXPECT_EQ(line(), "<end>");
  EXPECT_EQ(line(), "<end>");  // stays at the end
  char buffer[4] = {'#', '#', '#', '#'};
  EXPECT_FALSE(readLine(buffer, sizeof buffer));
  EXPECT_EQ(buffer[0], '\0');
}

TEST_F(PipeInput, OverlongLineIsCutAndItsRestDropped) {
  send(std::string(300, 'x') + " quit\nwhite\n");
  EXPECT_EQ(line(255), std::string(254, 'x'));
  EXPECT_EQ(line(), "white\n");
  // Longer than the reader's own buffer too.
  send(std::string(5000, 'a') + " next\nmore\n");
  closeWriter();
  EXPECT_EQ(line(), std::string(255, 'a'));
  EXPECT_EQ(line(), "more\n");
  EXPECT_EQ(line(), "<end>");
}

TEST_F(PipeInput, SmallBufferNeverOverflows) {
  send("abcdef\ngh\n");
  closeWriter();
  char buffer[6] = {'#', '#', '#', '#', '#', '#'};
  ASSERT_TRUE(readLine(buffer, 4));
  EXPECT_STREQ(buffer, "abc");
  EXPECT_EQ(buffer[4], '#');
  EXPECT_EQ(line(), "gh\n");
}

TEST_F(PipeInput, WaitEndsForDataWaitingOrBufferedAndAtTheEnd) {
  send("a\nb\n");
  EXPECT_EQ(WaitForInput(), InputEvent::INPUT);  // in the pipe, not yet read
  EXPECT_EQ(line(), "a\n");
  EXPECT_EQ(WaitForInput(), InputEvent::INPUT);  // in the reader's buffer, the pipe is empty
  EXPECT_EQ(line(), "b\n");
  closeWriter();
  EXPECT_EQ(WaitForInput(), InputEvent::INPUT);  // the end is news for a waiting reader too
  EXPECT_EQ(line(), "<end>");
  EXPECT_EQ(WaitForInput(), InputEvent::INPUT);
}

TEST_F(PipeInput, LineSentDuringTheWaitEndsIt) {
  Later writer([this] { send("stop\n"); });
  EXPECT_EQ(WaitForInput(), InputEvent::INPUT);
  EXPECT_EQ(line(), "stop\n");
}

TEST_F(PipeInput, WakeUpFromAnotherThreadEndsTheWaitWithoutInput) {
  {
    Later waker([] { WakeInputReader(); });
    EXPECT_EQ(WaitForInput(), InputEvent::WAKE);
  }
  // A wake-up before the wait ends the next wait at once, and only that one.
  WakeInputReader();
  WakeInputReader();
  EXPECT_EQ(WaitForInput(), InputEvent::WAKE);
  Later writer([this] { send("go\n"); });
  EXPECT_EQ(WaitForInput(), InputEvent::INPUT);
  EXPECT_EQ(line(), "go\n");
}

// A pseudo-terminal, as when the engine is run by hand.
class TerminalInput : public InputTest {
 protected:
  void SetUp() override {
    ASSERT_EQ(openpty(&master_, &slave_, nullptr, nullptr, nullptr), 0);
    setInputDescriptor(slave_);
  }
  void TearDown() override {
    close(master_);
    close(slave_);
    InputTest::TearDown();
  }
  void type(const std::string& text) { ASSERT_EQ(write(master_, text.data(), text.size()), ssize_t(text.size())); }

  int master_ = -1, slave_ = -1;
};

TEST_F(TerminalInput, LineTypedBeforeAndDuringTheWait) {
  type("force\n");
  EXPECT_EQ(WaitForInput(), InputEvent::INPUT);
  EXPECT_EQ(line(), "force\n");
  Later typist([this] { type("quit\n"); });
  EXPECT_EQ(WaitForInput(), InputEvent::INPUT);
  EXPECT_EQ(line(), "quit\n");
}

TEST_F(TerminalInput, UnfinishedLineDoesNotEndTheWait) {
  type("qui");  // the terminal hands over whole lines only
  {
    Later waker([] { WakeInputReader(); });
    EXPECT_EQ(WaitForInput(), InputEvent::WAKE);
  }
  type("t\n");
  EXPECT_EQ(WaitForInput(), InputEvent::INPUT);
  EXPECT_EQ(line(), "quit\n");
}

}  // namespace
