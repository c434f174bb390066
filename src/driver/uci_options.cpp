#include "driver/uci_options.h"

#include <strings.h>

#include <cstdio>
#include <cstring>

#include "book/book_probe.h"
#include "driver/engine_identity.h"
#include "driver/uci_loop.h"
#include "eval/bitbase.h"

UciOptions uciOptions;

namespace {

// Folder texts are kept to this length, as in "Dorvik.ini".
constexpr size_t MAX_FOLDER_LENGTH = 300;
// How UCI writes an empty string.
constexpr const char* EMPTY_TEXT = "<empty>";

const char* shown(const std::string& text) { return text.empty() ? EMPTY_TEXT : text.c_str(); }

// The name words up to "value" (taken too), joined by blanks.
std::string readName(LineWords& words) {
  std::string name;
  for (const char* word; (word = words.next()) && std::strcmp(word, "value") != 0;) {
    if (!name.empty()) name += ' ';
    name += word;
  }
  return name;
}

// A check option's value; anything but "true" or "false" leaves it as it was.
void setCheck(bool& option, const char* value) {
  if (std::strcmp(value, "true") == 0 || std::strcmp(value, "false") == 0)
    option = std::strcmp(value, "true") == 0;
  else
    UciMessage("a check option takes true or false, not '%s'", value);
}

void setBookPath(const char* value) {
  std::string folder = TrimDirectory(value, MAX_FOLDER_LENGTH);
  if (folder == uciOptions.bookPath) return;
  uciOptions.bookPath = folder;
  if (!LoadBooks(folder.c_str())) UciMessage("BOOK ERROR: %s", mainBookError());
}

void setBitbasePath(const char* value) {
  std::string folder = TrimDirectory(value, MAX_FOLDER_LENGTH);
  if (folder == uciOptions.bitbasePath) return;
  // A library once loaded cannot be let go of: without a folder the loaded one stays.
  if (folder.empty()) return UciMessage("no bitbase folder: the bitbases loaded stay in use");
  uciOptions.bitbasePath = folder;
  if (!LoadBitbases(folder.c_str(), uciOptions.bitbaseCacheMegabytes, uciOptions.bitbaseLoadMode))
    UciMessage("EGBB ERROR: endgame bitbases not loaded from %s: %s", folder.c_str(), bitbases.loadError.c_str());
}

const char* checkText(bool value) { return value ? "true" : "false"; }

struct Option {
  const char* name;
  const char* type;
  const char* (*current)();  // shown as the default
  void (*set)(const char* value);
};

constexpr Option Options[] = {
    {"Ponder", "check", [] { return checkText(uciOptions.ponder); },
     [](const char* v) { setCheck(uciOptions.ponder, v); }},
    {"OwnBook", "check", [] { return checkText(uciOptions.ownBook); },
     [](const char* v) { setCheck(uciOptions.ownBook, v); }},
    {"BookPath", "string", [] { return shown(uciOptions.bookPath); }, setBookPath},
    {"EgbbPath", "string", [] { return shown(uciOptions.bitbasePath); }, setBitbasePath},
};

}  // namespace

void SetUciOptionDefaults(const Configuration& config) {
  uciOptions = {false, true, config.bookDirectory, config.bitbaseDirectory, config.bitbaseCacheMegabytes,
                config.bitbaseLoadMode};
}

void PrintUciIdentity() {
  std::printf("id name %s\n", ENGINE_NAME);
  std::printf("id author %s\n", ENGINE_AUTHOR);
  for (const Option& o : Options) std::printf("option name %s type %s default %s\n", o.name, o.type, o.current());
}

void PrintUciReady() { std::printf("uciok\n"); }

void SetOptionCommand(LineWords& words) {
  const char* first = words.next();
  if (!first || std::strcmp(first, "name") != 0) return UciMessage("setoption: expected name");
  std::string name = readName(words);
  std::string value = words.rest();
  if (value == EMPTY_TEXT) value.clear();
  // Option names are not case-sensitive.
  for (const Option& o : Options)
    if (strcasecmp(name.c_str(), o.name) == 0) return o.set(value.c_str());
  UciMessage("unknown option: %s", name.c_str());
}
