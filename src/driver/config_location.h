// Which "Dorvik.ini" the engine reads, and how a path named in it is read.
#pragma once
#include <functional>
#include <string>
#include <vector>

inline constexpr const char* CONFIGURATION_FILE = "Dorvik.ini";

// What the choice depends on besides the working folder.
struct ConfigSearch {
  std::string userConfigFolder;  // $XDG_CONFIG_HOME or ~/.config; "" when unknown
  std::string executable;        // the running program's path; "" when unknown
};

// The files tried, in order: the working folder's, the user's ("dorvik/" in the configuration
// folder), the installed one ("../share/dorvik/" from the executable's folder) and the source
// tree's for an executable in a build folder inside it (".." from the executable's folder).
std::vector<std::string> ConfigurationCandidates(const ConfigSearch& where);

// The first candidate that `exists`; "" when there is none.
std::string ChooseConfiguration(const std::vector<std::string>& candidates,
                                const std::function<bool(const std::string&)>& exists);

// A path named in the file `iniPath`: an absolute or empty one as it stands, a relative one taken
// from the file's own folder (the working folder for "Dorvik.ini" itself).
std::string ResolveFromIni(const std::string& iniPath, const std::string& value);

// This process's: the environment and /proc/self/exe.
ConfigSearch ProcessConfigSearch();
