// The UCI front end: one command line at a time until "quit" or the end of input.
#pragma once

// Room for one command line: a "position" line with the moves of a very long game fits.
inline constexpr int UCI_LINE_SIZE = 16384;

struct UciState {
  char line[UCI_LINE_SIZE];  // the line being handled
  bool linePending;          // a line read during a search waits for the loop
  bool quitting;
};

extern UciState uci;

// Serves a front end that opened with "uci" (start-up has greeted it).
void UciLoop();

// Reads the next line into uci.line, logs it with the prefix and cuts off its line end; false at
// the end of input, which then counts as "quit".
bool ReadUciLine(const char* logPrefix);

// Whether the loop has a command of this name.
bool IsUciCommand(const char* word);

// An "info string" line with a message for the user of the front end, also written to the log.
void UciMessage(const char* format, ...) __attribute__((format(printf, 1, 2)));

// The same line, not logged (start-up logs its own messages).
void UciInfo(const char* text);
