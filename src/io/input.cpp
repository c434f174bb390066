#include "io/input.h"

#include <poll.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstring>

namespace {

// Bytes read from the input descriptor and not yet consumed are data[start, end).
struct InputBuffer {
  int fd = 0;
  char data[4096];
  size_t start = 0;
  size_t end = 0;
  bool ended = false;
};

InputBuffer input;

inline bool isSpace(int c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}

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

void skipSpace() {
  while (isSpace(peek())) ++input.start;
}

}  // namespace

bool readToken(char* buffer, size_t size) {
  skipSpace();
  size_t n = 0;
  for (int c; (c = peek()) >= 0 && !isSpace(c); ++input.start)
    if (n + 1 < size) buffer[n++] = char(c);
  if (size) buffer[n] = '\0';
  return n > 0;
}

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

bool readInt(int* value) {
  skipSpace();
  size_t at = 0;
  bool negative = false;
  if (peek() == '-' || peek() == '+') {
    negative = peek() == '-';
    at = 1;
  }
  if (peek(at) < '0' || peek(at) > '9') return false;
  long long number = 0;
  for (int c; (c = peek(at)) >= '0' && c <= '9'; ++at)
    if (number <= INT_MAX) number = number * 10 + (c - '0');  // saturates below
  input.start += at;
  if (negative) number = -number;
  *value = number > INT_MAX ? INT_MAX : number < INT_MIN ? INT_MIN : int(number);
  return true;
}

int InputAvailable() {
  // Blanks and line ends alone are no input: a reader told otherwise would wait for a token.
  for (;;) {
    while (input.start < input.end && isSpace(input.data[input.start])) ++input.start;
    if (input.start < input.end) return int(input.end - input.start);
    if (input.ended) return 1;
    pollfd p = {input.fd, POLLIN, 0};
    if (poll(&p, 1, 0) <= 0 || !(p.revents & (POLLIN | POLLHUP | POLLERR))) return 0;
    ensure(1);  // the descriptor is readable, so this read does not wait
  }
}

bool inputEnded() { return input.ended && input.start == input.end; }

void setInputDescriptor(int fd) {
  input.fd = fd;
  input.start = input.end = 0;
  input.ended = false;
}
