#include "driver/configuration.h"

#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <vector>

#include "engine/time_manager.h"
#include "driver/config_location.h"

namespace {

constexpr size_t MAX_LINE_LENGTH = 4095;
constexpr size_t MAX_BOOK_PATH = 300;
constexpr int DEFAULT_CACHE_MEGABYTES = 4;
constexpr int DEFAULT_LOAD_MODE = 1;

inline bool isBlank(char c) { return c == ' ' || c == '\t'; }

// The value after a key when the line starts with it (case-sensitive, "=" included).
const char* valueOf(const char* line, const char* key) {
  size_t n = std::strlen(key);
  return std::strncmp(line, key, n) == 0 ? line + n : nullptr;
}

Configuration defaults() { return {"", "", "", DEFAULT_CACHE_MEGABYTES, DEFAULT_LOAD_MODE, "", DEFAULT_MOVE_OVERHEAD}; }

bool isFile(const std::string& path) {
  struct stat st;
  return stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

}  // namespace

std::string TrimDirectory(const char* text, size_t maxLength) {
  const char* begin = text;
  while (isBlank(*begin)) ++begin;
  const char* end = begin + std::strlen(begin);
  while (end > begin && isBlank(end[-1])) --end;
  std::string directory(begin, std::min(size_t(end - begin), maxLength));
  if (!directory.empty() && directory.back() != '/') directory += '/';
  return directory;
}

int ParseConfigInteger(const char* text) {
  while (isBlank(*text)) ++text;
  long value = std::strtol(text, nullptr, 10);  // 0 when no digits follow
  if (value > INT_MAX) return INT_MAX;
  if (value < INT_MIN) return INT_MIN;
  return int(value);
}

Configuration LoadConfiguration() {
  std::vector<std::string> candidates = ConfigurationCandidates(ProcessConfigSearch());
  std::string path = ChooseConfiguration(candidates, isFile);
  if (!path.empty()) return ReadConfiguration(path);
  Configuration config = defaults();
  config.fileError = std::string(CONFIGURATION_FILE) + " cannot be opened: there is none at ./";
  for (size_t i = 0; i < candidates.size(); ++i)
    config.fileError += (i == 0 ? "" : i + 1 == candidates.size() ? " or " : ", ") + candidates[i];
  return config;
}

Configuration ReadConfiguration(const std::string& path) {
  Configuration config = defaults();
  std::ifstream file(path);
  if (!file) {
    config.fileError = path + " cannot be read: " + std::strerror(errno);
    return config;
  }
  config.file = path;
  std::string text;
  while (std::getline(file, text)) {
    if (text.size() > MAX_LINE_LENGTH) text.resize(MAX_LINE_LENGTH);
    // Lines written on Windows end in a carriage return that belongs to no value.
    if (!text.empty() && text.back() == '\r') text.pop_back();
    const char* line = text.c_str();
    while (*line && std::strchr(" \t\v\f", *line)) ++line;
    if (*line == '#') continue;
    if (const char* value = valueOf(line, "BOOK_PATH=")) {
      config.bookDirectory = ResolveFromIni(path, TrimDirectory(value, MAX_BOOK_PATH));
    } else if (const char* value = valueOf(line, "EGBB_PATH=")) {
      config.bitbaseDirectory = ResolveFromIni(path, TrimDirectory(value, MAX_LINE_LENGTH));
    } else if (const char* value = valueOf(line, "EGBB_CACHE=")) {
      int megabytes = ParseConfigInteger(value);
      config.bitbaseCacheMegabytes = megabytes < 0 ? DEFAULT_CACHE_MEGABYTES : megabytes;
    } else if (const char* value = valueOf(line, "MOVE_OVERHEAD=")) {
      config.moveOverhead = std::clamp(ParseConfigInteger(value), MIN_MOVE_OVERHEAD, MAX_MOVE_OVERHEAD);
    } else if (const char* value = valueOf(line, "EGBB_LOAD=")) {
      int mode = ParseConfigInteger(value);
      config.bitbaseLoadMode = mode < 0 || mode > 5 ? DEFAULT_LOAD_MODE : mode;
    }
  }
  return config;
}
