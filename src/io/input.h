// Standard input, read with read(2) into the program's own buffer, token by token.
#pragma once
#include <cstddef>

// Reads the next whitespace-delimited token (truncated to size - 1 characters; the rest of an
// over-long token is discarded). Returns false at the end of input.
bool readToken(char* buffer, size_t size);

// Reads the rest of the current line (at most size - 1 characters, newline included); the rest
// of an over-long line is discarded. Returns false at the end of input.
bool readLine(char* buffer, size_t size);

// Reads an integer as scanf's "%d" would; consumes nothing and returns false when none follows.
bool readInt(int* value);

// Number of bytes waiting, white space not counted: the buffer's unread bytes, after reading what
// poll(2) says is readable; 1 at the end of input, so that a waiting reader sees the end at once.
int InputAvailable();

// True once the end of standard input has been reached.
bool inputEnded();

// Reads from another descriptor from now on, with an empty buffer (tests only).
void setInputDescriptor(int fd);
