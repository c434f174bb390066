// The options a front end may set, in either protocol: one table, which each front end lists in its
// own words (UCI "option name ...", xboard "feature option=...").
#pragma once
#include <functional>
#include <string>

#include "driver/configuration.h"
#include "engine/engine.h"

// What the options set beside the engine itself.
struct Settings {
  bool ponder = false;   // the front end may let the engine ponder
  bool ownBook = true;   // a search for a move is answered from the book while it has one
  bool analyseMode = false;  // the UCI front end analyses: every search searches, book or not
  std::string bookPath;  // folder of the opening book; empty: none
  std::string bitbasePath;
  int bitbaseCacheMegabytes = 0;
  int bitbaseLoadMode = 0;
};

enum class OptionType { CHECK, SPIN, STRING, BUTTON };

// What setting an option has to tell the user: nothing, what it found, or why it could not be done
// (the option is then as it was).
struct OptionReply {
  bool problem;
  std::string text;
};

struct Option {
  const char* name;
  OptionType type;
  int min, max;  // of a spin
  // The current value as text (the default shown in the front end's list).
  std::string (*current)(const Engine& engine, const Settings& settings);
  // Sets the value. A value that cannot be taken leaves the option as it was and says why.
  OptionReply (*set)(Engine& engine, Settings& settings, const std::string& value);
  // For UCI front ends only: xboard has commands for the same ("hard", "easy", "analyze").
  bool uciOnly = false;
};

// Every option, in the order the front ends list them, with its current value.
void ForEachOption(const Engine& engine, const Settings& settings,
                   const std::function<void(const Option& option, const std::string& current)>& f);

// The option of this name (not case-sensitive), or nullptr.
const Option* FindOption(const char* name);

// The defaults: the book and bitbase folders of "Dorvik.ini".
Settings DefaultSettings(const Configuration& config);

// Loads the book or the bitbases of the settings' folders into the engine; a message saying what
// was found, or why nothing was.
OptionReply LoadBookFolder(Engine& engine, const std::string& folder);
OptionReply LoadBitbaseFolder(Engine& engine, const Settings& settings, const std::string& folder);
