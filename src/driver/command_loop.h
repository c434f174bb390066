// The command loop: start-up, then one token at a time until "quit" or the end of input. A front
// end whose first word is "uci" is served by the UCI loop instead.
#pragma once

void CommandLoop();

// How a table command stands to the game and to a running search.
enum class CommandKind {
  GAME,     // acts on the game: a pondered move comes off first, a search without limit stops
  SETTING,  // changes how the engine plays: a pondered move stays, a search finishes first
  AT_ONCE,  // leaves game and play alone: answered at once, during a search too
};

// One entry of the dispatch table: the token matches when its first `prefix` characters equal
// the name's, or, with prefix 0, when the whole token equals the name.
struct CommandEntry {
  const char* name;
  int prefix;
  void (*action)();
  CommandKind kind;
};

// The table entry a token selects, or nullptr; "time" and the moves are tested before it.
const CommandEntry* FindCommand(const char* token);

// Acts on the token in driver.inputToken (already read and logged): "time", a move, or a
// table command; anything else is answered with an error.
void DispatchCommand();

// The answer to a word that is neither a move nor a command.
void ReportUnknownCommand(const char* token);
