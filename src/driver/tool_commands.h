// The typed diagnostic and tool commands: the position database, the opening book, the game and
// position files, perft and the evaluation test.
#pragma once
#include "engine/engine.h"
#include "io/line_words.h"

// Whether the word names a tool command.
bool IsToolCommand(const char* name);

// Runs the named tool command with the words that followed it on its line.
void RunToolCommand(Engine& engine, const char* name, LineWords& arguments);
