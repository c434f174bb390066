#include "io/user_folders.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstdlib>

namespace {

constexpr mode_t PRIVATE_FOLDER = 0700;

bool isFolder(const std::string& path) {
  struct stat st;
  return stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

}  // namespace

std::string UserBaseFolder(const char* variableValue, const char* home, const char* underHome) {
  if (variableValue && variableValue[0] == '/') return variableValue;
  if (home && home[0] == '/') return std::string(home) + "/" + underHome;
  return "";
}

std::string UserConfigFolder() {
  return UserBaseFolder(std::getenv("XDG_CONFIG_HOME"), std::getenv("HOME"), ".config");
}

std::string UserStateFolder() {
  return UserBaseFolder(std::getenv("XDG_STATE_HOME"), std::getenv("HOME"), ".local/state");
}

bool MakeUserFolder(const std::string& folder) {
  if (folder.empty()) return false;
  for (size_t slash = folder.find('/', 1); slash != std::string::npos; slash = folder.find('/', slash + 1))
    mkdir(folder.substr(0, slash).c_str(), PRIVATE_FOLDER);
  if (mkdir(folder.c_str(), PRIVATE_FOLDER) != 0 && errno != EEXIST) return false;
  return isFolder(folder);
}
