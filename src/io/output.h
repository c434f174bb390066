// Lines for the front end on standard output. The search thread and the front end's thread both
// send: every line is written whole, with one write, so that lines never mix.
#pragma once

// printf-style; the newline is appended.
void SendLine(const char* format, ...) __attribute__((format(printf, 1, 2)));
