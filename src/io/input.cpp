#include "io/input.h"

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <mutex>

#include "io/log.h"

namespace {

// Bytes read from the input descriptor and not yet consumed are data[start, end).
struct InputBuffer {
  int fd = 0;
  char data[4096];
  size_t start = 0;
  size_t end = 0;
  bool ended = false;
  int wake[2] = {-1, -1};  // a pipe: a byte in it ends a wait
};

InputBuffer input;

// Makes at least `count` unread bytes available unless the input ends first; returns how many are.
size_t ensure(size_t count) {
  while (input.end - input.start < count && !input.ended) {
    if (input.start > 0) {
      std::memmove(input.data, input.data + input.start, input.end - input.start);
      input.end -= input.start;
      input.start = 0;
    }
    ssize_t n = read(input.fd, input.data + input.end, sizeof input.data - input.end);
    if (n > 0) {
      input.end += size_t(n);
    } else if (n < 0 && errno == EINTR) {
      continue;
    } else {
      input.ended = true;  // end of file, or an error such as a closed terminal
    }
  }
  return input.end - input.start;
}

// The character `offset` places ahead, or -1 when the input ends before it.
int peek(size_t offset = 0) {
  return ensure(offset + 1) > offset ? (unsigned char)input.data[input.start + offset] : -1;
}

// The pipe is made on first use, by whichever thread comes first, so that a program that never
// waits has none.
std::once_flag wakePipeMade;

bool ensureWakePipe() {
  std::call_once(wakePipeMade, [] {
    if (pipe2(input.wake, O_NONBLOCK | O_CLOEXEC) != 0) input.wake[0] = input.wake[1] = -1;
  });
  return input.wake[0] >= 0;
}

void drainWakePipe() {
  char bytes[64];
  while (read(input.wake[0], bytes, sizeof bytes) > 0) {
  }
}

}  // namespace

bool readLine(char* buffer, size_t size) {
  if (peek() < 0) {
    if (size) buffer[0] = '\0';
    return false;
  }
  size_t n = 0;
  for (int c; (c = peek()) >= 0;) {
    ++input.start;
    if (n + 1 < size) buffer[n++] = char(c);
    if (c == '\n') break;
  }
  if (size) buffer[n] = '\0';
  return true;
}

bool ReadCommandLine(char* buffer, size_t size) {
  if (!readLine(buffer, size)) {
    logLine("-M: end of input");
    return false;
  }
  buffer[std::strcspn(buffer, "\r\n")] = '\0';
  if (buffer[0]) logLine("::cmd:: %s", buffer);
  return true;
}

InputEvent WaitForInput() {
  if (input.start < input.end || input.ended || !ensureWakePipe()) return InputEvent::INPUT;
  for (;;) {
    pollfd p[2] = {{input.fd, POLLIN, 0}, {input.wake[0], POLLIN, 0}};
    if (poll(p, 2, -1) < 0) {
      if (errno == EINTR) continue;
      return InputEvent::INPUT;  // the read that follows finds out what is wrong
    }
    if (p[1].revents & POLLIN) {
      drainWakePipe();
      return InputEvent::WAKE;
    }
    if (p[0].revents) return InputEvent::INPUT;
  }
}

void WakeInputReader() {
  if (!ensureWakePipe()) return;
  const char byte = 1;
  // A full pipe already holds a wake-up.
  (void)!write(input.wake[1], &byte, 1);
}

void setInputDescriptor(int fd) {
  input.fd = fd;
  input.start = input.end = 0;
  input.ended = false;
}
