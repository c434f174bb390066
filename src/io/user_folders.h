// The user's own folders for settings and for state such as logs, by the XDG base directory rules.
#pragma once
#include <string>

// A base folder: the variable's value when it is an absolute path (a relative one is ignored, as
// the rules say), else the folder under the home folder; "" when neither gives one.
std::string UserBaseFolder(const char* variableValue, const char* home, const char* underHome);

// $XDG_CONFIG_HOME, else ~/.config.
std::string UserConfigFolder();

// $XDG_STATE_HOME, else ~/.local/state.
std::string UserStateFolder();

// Creates the folder and its missing parents, private to the user as the rules ask; whether it
// is there now.
bool MakeUserFolder(const std::string& folder);
