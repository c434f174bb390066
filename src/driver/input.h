// Standard input, read with read(2) into the program's own buffer, token by token.
#pragma once
#include <cstddef>

// Reads the next whitespace-delimited token (truncated to size - 1 characters).
// Returns false at the end of input.
bool readToken(char* buffer, size_t size);

// Reads the rest of the current line (at most size - 1 characters, newline included).
bool readLine(char* buffer, size_t size);

// Reads an integer as scanf's "%d" would; consumes nothing and returns false when none follows.
bool readInt(int* value);

// Number of bytes waiting: the buffer's unread bytes, else 1 when poll(2) says readable.
int InputAvailable();

// True once the end of standard input has been reached.
bool inputEnded();
