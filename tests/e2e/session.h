// Talks to a running dorvik binary line by line, as a front end does: commands are written while
// the engine runs, and the test waits for what it prints.
#pragma once
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <regex>
#include <stdexcept>
#include <string>
#include <thread>

#include <gtest/gtest.h>

#include "e2e/harness.h"

namespace e2e {

class Session {
 public:
  // Starts the engine in a fresh directory holding `ini` as "Dorvik.ini" and sends the greeting:
  // the xboard handshake unless another is given.
  explicit Session(const std::string& ini = "", const std::string& greeting = XBOARD_HANDSHAKE) {
    writeFile(dir_.path() / "Dorvik.ini", ini);
    const std::string engine = placeEngine(io_.path());
    int in[2], out[2];
    if (pipe(in) != 0 || pipe(out) != 0) throw std::runtime_error("pipe failed");
    child_ = fork();
    if (child_ < 0) throw std::runtime_error("fork failed");
    if (child_ == 0) {
      if (chdir(dir_.path().c_str()) != 0) _exit(126);
      dup2(in[0], 0);
      dup2(out[1], 1);
      int err = open(errFile().c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
      if (err >= 0) dup2(err, 2);
      close(in[0]), close(in[1]), close(out[0]), close(out[1]);
      useHome(io_.path());
      execl(engine.c_str(), engine.c_str(), static_cast<char*>(nullptr));
      _exit(127);
    }
    close(in[0]);
    close(out[1]);
    toEngine_ = in[1];
    fromEngine_ = out[0];
    signal(SIGPIPE, SIG_IGN);  // an engine that died must fail the test, not end the test program
    send(greeting);
  }
  ~Session() {
    closeInput();
    if (child_ > 0 && !finish(10)) kill(child_, SIGKILL), waitpid(child_, nullptr, 0);
    if (fromEngine_ >= 0) close(fromEngine_);
  }
  Session(const Session&) = delete;
  Session& operator=(const Session&) = delete;

  void send(const std::string& text) {
    for (size_t done = 0; done < text.size();) {
      ssize_t n = write(toEngine_, text.data() + done, text.size() - done);
      if (n <= 0) throw std::runtime_error("the engine no longer reads its input");
      done += size_t(n);
    }
  }

  // Waits until standard output, from offset `from` on, matches `pattern`; returns the match and
  // leaves `mark()` just after it. An empty result means the time ran out or the engine ended.
  std::string waitFor(const std::string& pattern, double seconds = 30) {
    std::regex re(pattern);
    auto deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    for (;;) {
      std::smatch m;
      std::string rest = out_.substr(mark_);
      if (std::regex_search(rest, m, re)) {
        mark_ += size_t(m.position(0) + m.length(0));
        return m.str(0);
      }
      auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
      if (left.count() <= 0 || !readSome(int(left.count()))) return "";
    }
  }

  // Reads whatever the engine prints within `seconds`.
  void drain(double seconds) {
    auto deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    for (;;) {
      auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
      if (left.count() <= 0 || !readSome(int(left.count()))) return;
    }
  }

  // Waits until the log holds `text` (the engine writes each log line at once).
  bool waitForLog(const std::string& text, double seconds = 30) {
    auto deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    while (log().find(text) == std::string::npos) {
      if (std::chrono::steady_clock::now() > deadline) return false;
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return true;
  }

  void closeInput() {
    if (toEngine_ >= 0) close(toEngine_);
    toEngine_ = -1;
  }

  // Closes the input and waits for the engine to end; false if it had not ended in time.
  bool finish(double seconds = 30) {
    closeInput();
    auto deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    while (child_ > 0) {
      readSome(10);
      int status = 0;
      if (waitpid(child_, &status, WNOHANG) == child_) {
        child_ = -1;
        status_ = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
        while (readSome(0)) {
        }
        return true;
      }
      if (std::chrono::steady_clock::now() > deadline) return false;
    }
    return true;
  }

  // Sends "quit" and checks that the engine ends at once, cleanly and without complaint.
  ::testing::AssertionResult quit() {
    send("quit\n");
    if (!finish()) return ::testing::AssertionFailure() << "the engine did not end";
    if (status_ != 0 || !err().empty())
      return ::testing::AssertionFailure() << "exit status " << status_ << ", standard error:\n" << err();
    return ::testing::AssertionSuccess();
  }

  const std::string& out() const { return out_; }
  std::string log() const { return readFile(dir_.path() / "Dorvik.log"); }
  size_t mark() const { return mark_; }
  std::string sinceMark() const { return out_.substr(mark_); }
  int status() const { return status_; }
  std::string err() const { return readFile(errFile()); }  // standard error, such as sanitizer reports
  const std::filesystem::path& dir() const { return dir_.path(); }

 private:
  // Appends what the engine printed within `ms` milliseconds; false on time out or end of output.
  bool readSome(int ms) {
    if (fromEngine_ < 0) return false;
    pollfd p = {fromEngine_, POLLIN, 0};
    if (poll(&p, 1, ms) <= 0) return false;
    char buffer[4096];
    ssize_t n = read(fromEngine_, buffer, sizeof buffer);
    if (n <= 0) {
      close(fromEngine_);
      fromEngine_ = -1;
      return false;
    }
    out_.append(buffer, size_t(n));
    return true;
  }

  // Beside the work directory, so that the engine sees only its own files.
  std::filesystem::path errFile() const { return io_.path() / "stderr"; }

  TempDir dir_;
  TempDir io_;
  pid_t child_ = -1;
  int toEngine_ = -1;
  int fromEngine_ = -1;
  std::string out_;
  size_t mark_ = 0;
  int status_ = -1;
};

}  // namespace e2e
