#include "driver/config_location.h"

#include <algorithm>
#include <filesystem>

#include "io/user_folders.h"

namespace {

// An installed engine's data, from the executable's folder ("games" or "bin" under the prefix).
constexpr const char* INSTALLED_DATA = "../share/dorvik/";
// A build folder sits in the source tree, whose top holds the developers' file.
constexpr const char* SOURCE_TREE = "../";
constexpr const char* USER_SUBFOLDER = "dorvik/";

std::string folderOf(const std::string& path) {
  size_t slash = path.rfind('/');
  return slash == std::string::npos ? "" : path.substr(0, slash + 1);
}

std::string normal(const std::string& path) { return std::filesystem::path(path).lexically_normal().string(); }

}  // namespace

std::vector<std::string> ConfigurationCandidates(const ConfigSearch& where) {
  std::vector<std::string> candidates = {CONFIGURATION_FILE};
  if (!where.userConfigFolder.empty())
    candidates.push_back(normal(where.userConfigFolder + "/" + USER_SUBFOLDER + CONFIGURATION_FILE));
  std::string programFolder = folderOf(where.executable);
  if (!programFolder.empty()) {
    candidates.push_back(normal(programFolder + INSTALLED_DATA + CONFIGURATION_FILE));
    candidates.push_back(normal(programFolder + SOURCE_TREE + CONFIGURATION_FILE));
  }
  return candidates;
}

std::string ChooseConfiguration(const std::vector<std::string>& candidates,
                                const std::function<bool(const std::string&)>& exists) {
  auto found = std::find_if(candidates.begin(), candidates.end(), exists);
  return found == candidates.end() ? "" : *found;
}

std::string ResolveFromIni(const std::string& iniPath, const std::string& value) {
  if (value.empty() || value[0] == '/') return value;
  return folderOf(iniPath) + value;
}

ConfigSearch ProcessConfigSearch() {
  std::error_code error;
  std::filesystem::path executable = std::filesystem::read_symlink("/proc/self/exe", error);
  return {UserConfigFolder(), error ? "" : executable.string()};
}
