// The token reader over read(2), and InputAvailable on a pipe and on a terminal.
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

// Feeds the reader through a pipe; the reader is pointed back at standard input afterwards.
class PipeInput : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(pipe(fds_), 0);
    setInputDescriptor(fds_[0]);
  }
  void TearDown() override {
    if (fds_[1] >= 0) close(fds_[1]);
    close(fds_[0]);
    setInputDescriptor(0);
  }
  void send(const std::string& text) { ASSERT_EQ(write(fds_[1], text.data(), text.size()), ssize_t(text.size())); }
  void closeWriter() {
    close(fds_[1]);
    fds_[1] = -1;
  }
  std::string token(size_t size = 256) {
    std::string buffer(size, '#');
    return readToken(buffer.data(), size) ? std::string(buffer.c_str()) : "<end>";
  }

  int fds_[2] = {-1, -1};
};

TEST_F(PipeInput, TokensAcrossLinesAndBlanks) {
  send("  xboard\n\tprotover   2\r\n");
  closeWriter();
  EXPECT_EQ(token(), "xboard");
  EXPECT_EQ(token(), "protover");
  EXPECT_EQ(token(), "2");
  EXPECT_FALSE(inputEnded());  // the trailing line end is still unread
  EXPECT_EQ(token(), "<end>");
  EXPECT_TRUE(inputEnded());
  EXPECT_EQ(token(), "<end>");  // stays at the end
}

TEST_F(PipeInput, OverlongTokenIsCutAndItsRestDiscarded) {
  send(std::string(5000, 'a') + " next\n");  // longer than the reader's own buffer
  closeWriter();
  EXPECT_EQ(token(), std::string(255, 'a'));
  EXPECT_EQ(token(), "next");
  EXPECT_EQ(token(4), "<end>");
}

TEST_F(PipeInput, SmallBufferNeverOverflows) {
  send("abcdef gh");
  closeWriter();
  char buffer[6] = {'#', '#', '#', '#', '#', '#'};
  ASSERT_TRUE(readToken(buffer, 4));
  EXPECT_STREQ(buffer, "abc");
  EXPECT_EQ(buffer[4], '#');
  EXPECT_EQ(token(), "gh");  // the last token ends with the input
}

TEST_F(PipeInput, ReadLineTakesTheRestOfTheLine) {
  send("setboard 8/8/8 w - -\nquit\n");
  closeWriter();
  EXPECT_EQ(token(), "setboard");
  char line[256];
  ASSERT_TRUE(readLine(line, sizeof line));
  EXPECT_STREQ(line, " 8/8/8 w - -\n");
  EXPECT_EQ(token(), "quit");
  ASSERT_TRUE(readLine(line, sizeof line));  // what is left of the line: its end
  EXPECT_STREQ(line, "\n");
  EXPECT_FALSE(readLine(line, sizeof line));
}

TEST_F(PipeInput, ReadLineCutsAnOverlongLineAndDropsItsRest) {
  send(std::string(300, 'x') + " quit\nwhite\n");
  closeWriter();
  char line[255];
  ASSERT_TRUE(readLine(line, sizeof line));
  EXPECT_EQ(std::string(line), std::string(254, 'x'));
  EXPECT_EQ(token(), "white");
}

TEST_F(PipeInput, ReadIntFollowsScanf) {
  send(" 42 -7 +3 otim x12 - 9 99999999999\n");
  closeWriter();
  int value = 0;
  ASSERT_TRUE(readInt(&value));
  EXPECT_EQ(value, 42);
  ASSERT_TRUE(readInt(&value));
  EXPECT_EQ(value, -7);
  ASSERT_TRUE(readInt(&value));
  EXPECT_EQ(value, 3);
  value = 5;
  EXPECT_FALSE(readInt(&value));  // a word is no number and stays unread
  EXPECT_EQ(value, 5);
  EXPECT_EQ(token(), "otim");
  EXPECT_FALSE(readInt(&value));
  EXPECT_EQ(token(), "x12");
  EXPECT_FALSE(readInt(&value));  // a lone sign is no number either
  EXPECT_EQ(token(), "-");
  ASSERT_TRUE(readInt(&value));
  EXPECT_EQ(value, 9);
  ASSERT_TRUE(readInt(&value));
  EXPECT_EQ(value, 2147483647);  // saturates instead of overflowing
  EXPECT_FALSE(readInt(&value));
}

TEST_F(PipeInput, AvailableForDataBufferedOrWaitingAndAtTheEnd) {
  EXPECT_EQ(InputAvailable(), 0);
  send("a b\n");
  EXPECT_GT(InputAvailable(), 0);  // in the pipe, not yet read
  EXPECT_EQ(token(), "a");
  EXPECT_GT(InputAvailable(), 0);  // in our own buffer, the pipe is empty
  EXPECT_EQ(token(), "b");
  EXPECT_EQ(InputAvailable(), 0);  // only the line end is left
  send("\n \n");
  EXPECT_EQ(InputAvailable(), 0);  // an empty line holds no token
  send("c\n");
  EXPECT_EQ(token(), "c");
  EXPECT_EQ(InputAvailable(), 0);
  closeWriter();
  EXPECT_GT(InputAvailable(), 0);  // the end is news for a waiting reader too
  EXPECT_EQ(token(), "<end>");
}

TEST_F(PipeInput, TokenSentWhilePollingIsSeen) {
  std::thread writer([this] {
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    send("stop\n");
  });
  auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  while (!InputAvailable() && std::chrono::steady_clock::now() < deadline) std::this_thread::yield();
  writer.join();
  EXPECT_EQ(token(), "stop");
}

// A pseudo-terminal, as when the engine is run by hand.
class TerminalInput : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(openpty(&master_, &slave_, nullptr, nullptr, nullptr), 0);
    setInputDescriptor(slave_);
  }
  void TearDown() override {
    close(master_);
    close(slave_);
    setInputDescriptor(0);
  }
  void type(const std::string& text) { ASSERT_EQ(write(master_, text.data(), text.size()), ssize_t(text.size())); }
  bool waitAvailable() {
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (!InputAvailable())
      if (std::chrono::steady_clock::now() > deadline) return false;
    return true;
  }
  std::string token() {
    char buffer[256];
    return readToken(buffer, sizeof buffer) ? buffer : "<end>";
  }

  int master_ = -1, slave_ = -1;
};

TEST_F(TerminalInput, LineTypedBeforeAndDuringPolling) {
  type("force\n");
  ASSERT_TRUE(waitAvailable());
  EXPECT_EQ(token(), "force");
  EXPECT_EQ(InputAvailable(), 0);
  std::thread typist([this] {
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    type("quit\n");
  });
  bool seen = waitAvailable();
  typist.join();
  ASSERT_TRUE(seen);
  EXPECT_EQ(token(), "quit");
}

TEST_F(TerminalInput, UnfinishedLineIsNotYetAvailable) {
  type("qui");  // the terminal hands over whole lines only
  std::this_thread::sleep_for(std::chrono::milliseconds(20));
  EXPECT_EQ(InputAvailable(), 0);
  type("t\n");
  ASSERT_TRUE(waitAvailable());
  EXPECT_EQ(token(), "quit");
}

}  // namespace
