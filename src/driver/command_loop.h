// The command loop: start-up, then one token at a time until "quit" or the end of input.
#pragma once

void CommandLoop();

// One entry of the dispatch table: the token matches when its first `prefix` characters equal
// the name's, or, with prefix 0, when the whole token equals the name.
struct CommandEntry {
  const char* name;
  int prefix;
  void (*action)();
};

// The table entry a token selects, or nullptr; "time" and the moves are tested before it.
const CommandEntry* FindCommand(const char* token);

// Acts on the token in driver.inputToken (already read and logged): "time", a move, or a
// table command; anything else is ignored.
void DispatchCommand();
