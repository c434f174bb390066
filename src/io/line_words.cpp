#include "io/line_words.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr const char* BLANKS = " \t\r\n";

}  // namespace

const char* LineWords::next() {
  at += std::strspn(at, BLANKS);
  if (!*at) return nullptr;
  char* word = at;
  at += std::strcspn(at, BLANKS);
  if (*at) *at++ = '\0';
  return word;
}

const char* LineWords::rest() {
  at += std::strspn(at, BLANKS);
  char* end = at + std::strlen(at);
  while (end > at && std::strchr(BLANKS, end[-1])) --end;
  *end = '\0';
  return at;
}

void FirstWord(const char* line, char* word, size_t size) {
  line += std::strspn(line, BLANKS);
  size_t n = std::min(std::strcspn(line, BLANKS), size - 1);
  std::memcpy(word, line, n);
  word[n] = '\0';
}
