#include "xboard/xboard_text.h"

namespace xboard {

namespace {

struct Rewrite {
  const char* phrase;
  const char* replacement;
};
constexpr Rewrite Rewrites[] = {
    {"unknown host", "host unknown"},  {"No remote directory", "no remote directory"},
    {"not found", "not there"},        {"No such file", "no such file"},
    {"can't alloc", "cannot alloc"},   {"Permission denied", "permission denied"},
};

}  // namespace

std::string Defused(std::string text) {
  for (const Rewrite& r : Rewrites) {
    const std::string phrase = r.phrase;
    for (size_t at = text.find(phrase); at != std::string::npos; at = text.find(phrase, at))
      text.replace(at, phrase.size(), r.replacement);
  }
  return text;
}

}  // namespace xboard
