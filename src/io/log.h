// The log file "Dorvik.log": every line is terminated and flushed at once.
#pragma once

// Opens the engine's log in the working folder, or where that takes no new file, in the user's
// state folder ($XDG_STATE_HOME/dorvik/, else ~/.local/state/dorvik/). A running engine holds its
// log locked for its whole life: a log another one holds is never emptied or written to, and the
// next free name is taken instead ("Dorvik.2.log", "Dorvik.3.log", ...). Where no folder takes
// one, the engine runs without a log.
void OpenEngineLog();

// Creates (truncates) the log at exactly this path.
void OpenLog(const char* path = "Dorvik.log");

// printf-style line; the newline is appended. Does nothing while no log is open.
void logLine(const char* format, ...) __attribute__((format(printf, 1, 2)));
