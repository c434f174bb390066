#include "driver/options.h"

#include <strings.h>

#include <algorithm>
#include <filesystem>

#include "engine/time_manager.h"

namespace {

// Folder texts are kept to this length, as in "Dorvik.ini".
constexpr size_t MAX_FOLDER_LENGTH = 300;

std::string checkText(bool value) { return value ? "true" : "false"; }

// A check option's value; anything but "true" or "false" leaves it as it was.
OptionReply setCheck(bool& option, const std::string& value) {
  if (value != "true" && value != "false") return {true, "a check option takes true or false, not '" + value + "'"};
  option = value == "true";
  return {};
}

// A spin option's value within its bounds; a value that is no number leaves it as it was.
bool readSpin(const std::string& value, long long& number) {
  char* end;
  number = std::strtoll(value.c_str(), &end, 10);
  return !value.empty() && !*end;
}

OptionReply badNumber(const char* name, const std::string& value) {
  return {true, std::string(name) + " takes a number, not '" + value + "'"};
}

const Option OptionTable[] = {
    {"Hash", OptionType::SPIN, int(TT_MIN_MEGABYTES), int(MAX_HASH_MEGABYTES),
     [](const Engine& e, const Settings&) { return std::to_string(e.hashMegabytes()); },
     [](Engine& e, Settings&, const std::string& v) -> OptionReply {
       long long mb;
       if (!readSpin(v, mb)) return badNumber("Hash", v);
       mb = std::clamp<long long>(mb, TT_MIN_MEGABYTES, MAX_HASH_MEGABYTES);
       if (!e.setHashMegabytes(size_t(mb)))
         return {true, "Hash: " + std::to_string(mb) + " MB cannot be had; the table keeps " +
                           std::to_string(e.hashMegabytes()) + " MB"};
       return {};
     }},
    {"Threads", OptionType::SPIN, MIN_THREADS, MAX_THREADS,
     [](const Engine& e, const Settings&) { return std::to_string(e.threads()); },
     [](Engine& e, Settings&, const std::string& v) -> OptionReply {
       long long n;
       if (!readSpin(v, n)) return badNumber("Threads", v);
       e.setThreads(int(std::clamp<long long>(n, MIN_THREADS, MAX_THREADS)));
       return {};
     }},
    {"Clear Hash", OptionType::BUTTON, 0, 0, [](const Engine&, const Settings&) { return std::string(); },
     [](Engine& e, Settings&, const std::string&) -> OptionReply {
       e.clearHash();
       return {};
     }},
    {"Move Overhead", OptionType::SPIN, MIN_MOVE_OVERHEAD, MAX_MOVE_OVERHEAD,
     [](const Engine& e, const Settings&) { return std::to_string(e.moveOverhead()); },
     [](Engine& e, Settings&, const std::string& v) -> OptionReply {
       long long ms;
       if (!readSpin(v, ms)) return badNumber("Move Overhead", v);
       e.setMoveOverhead(int(std::clamp<long long>(ms, MIN_MOVE_OVERHEAD, MAX_MOVE_OVERHEAD)));
       return {};
     }},
    {"MultiPV", OptionType::SPIN, 1, MAX_MULTI_PV,
     [](const Engine& e, const Settings&) { return std::to_string(e.multiPv()); },
     [](Engine& e, Settings&, const std::string& v) -> OptionReply {
       long long n;
       if (!readSpin(v, n)) return badNumber("MultiPV", v);
       e.setMultiPv(int(std::clamp<long long>(n, 1, MAX_MULTI_PV)));
       return {};
     }},
    {"Ponder", OptionType::CHECK, 0, 0, [](const Engine&, const Settings& s) { return checkText(s.ponder); },
     [](Engine&, Settings& s, const std::string& v) { return setCheck(s.ponder, v); }, true},
    {"UCI_AnalyseMode", OptionType::CHECK, 0, 0,
     [](const Engine&, const Settings& s) { return checkText(s.analyseMode); },
     [](Engine&, Settings& s, const std::string& v) { return setCheck(s.analyseMode, v); }, true},
    {"OwnBook", OptionType::CHECK, 0, 0, [](const Engine&, const Settings& s) { return checkText(s.ownBook); },
     [](Engine&, Settings& s, const std::string& v) { return setCheck(s.ownBook, v); }},
    {"BookPath", OptionType::STRING, 0, 0, [](const Engine&, const Settings& s) { return s.bookPath; },
     [](Engine& e, Settings& s, const std::string& v) -> OptionReply {
       const std::string folder = TrimDirectory(v.c_str(), MAX_FOLDER_LENGTH);
       if (folder.empty()) return {true, "BookPath: no folder given; the book stays"};
       s.bookPath = folder;
       return LoadBookFolder(e, folder);
     }},
    {"EgbbPath", OptionType::STRING, 0, 0, [](const Engine&, const Settings& s) { return s.bitbasePath; },
     [](Engine& e, Settings& s, const std::string& v) -> OptionReply {
       const std::string folder = TrimDirectory(v.c_str(), MAX_FOLDER_LENGTH);
       // A library once loaded cannot be let go of: without a folder the loaded one stays.
       if (folder.empty()) return {true, "no bitbase folder: the bitbases loaded stay in use"};
       s.bitbasePath = folder;
       return LoadBitbaseFolder(e, s, folder);
     }},
};

}  // namespace

void ForEachOption(const Engine& engine, const Settings& settings,
                   const std::function<void(const Option& option, const std::string& current)>& f) {
  for (const Option& o : OptionTable) f(o, o.current(engine, settings));
}

const Option* FindOption(const char* name) {
  for (const Option& o : OptionTable)
    if (strcasecmp(name, o.name) == 0) return &o;
  return nullptr;
}

Settings DefaultSettings(const Configuration& config) {
  Settings s;
  s.bookPath = config.bookDirectory;
  s.bitbasePath = config.bitbaseDirectory;
  s.bitbaseCacheMegabytes = config.bitbaseCacheMegabytes;
  s.bitbaseLoadMode = config.bitbaseLoadMode;
  return s;
}

OptionReply LoadBookFolder(Engine& engine, const std::string& folder) {
  std::string error;
  if (!engine.loadBooks(folder.c_str(), error)) return {true, "BOOK ERROR: " + error};
  const BookPair& books = engine.books();
  const unsigned long long positions = books.main.sides[WHITE].recordCount + books.main.sides[BLACK].recordCount;
  return {false, "book loaded from " + folder + ": " + std::to_string(positions) + " positions"};
}

OptionReply LoadBitbaseFolder(Engine& engine, const Settings& settings, const std::string& folder) {
  std::string error;
  if (!engine.loadBitbases(folder.c_str(), settings.bitbaseCacheMegabytes, settings.bitbaseLoadMode, error))
    return {true, "EGBB ERROR: endgame bitbases not loaded from " + folder + ": " + error};
  int tables = 0;
  std::error_code ignored;
  for (const auto& entry : std::filesystem::directory_iterator(folder, ignored))
    tables += entry.path().extension() == ".dtm";
  return {false, "bitbases loaded from " + folder + ": " + std::to_string(tables) + " tables"};
}
