// Standard input, read with read(2) into the program's own buffer, a line at a time, and a wake-up
// by which another thread can end a wait for input.
#pragma once
#include <cstddef>

// Reads the rest of the current line (at most size - 1 characters, newline included); the rest
// of an over-long line is discarded. Returns false at the end of input.
bool readLine(char* buffer, size_t size);

// Reads a command line with readLine, cuts off its line end and logs it ("::cmd:: LINE"); an empty
// line stays empty and is not logged. False at the end of input, which is logged too.
bool ReadCommandLine(char* buffer, size_t size);

enum class InputEvent {
  INPUT,  // input is waiting (or the end of input: readLine then says so)
  WAKE,   // another thread called WakeInputReader
};

// Waits until input arrives or another thread wakes the reader. Input already read into the buffer
// counts at once.
InputEvent WaitForInput();

// Ends a wait for input now, or the next one if none is under way; safe from any thread.
void WakeInputReader();

// Reads from another descriptor from now on, with an empty buffer (tests and fuzz targets).
void setInputDescriptor(int fd);
