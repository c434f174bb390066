// The log file "Dorvik.log": every line is terminated and flushed at once.
#pragma once

// Creates (truncates) the log; the program does this before anything else.
void OpenLog(const char* path = "Dorvik.log");

// printf-style line; the newline is appended. Does nothing while no log is open.
void logLine(const char* format, ...) __attribute__((format(printf, 1, 2)));
