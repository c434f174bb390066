// The program's arguments: none starts the engine for a front end; the others are run and end it.
#pragma once

// Runs "bench [depth]", "--version" or "--help" and returns the exit status; a wrong argument
// gets the usage on standard error and status 2. Called only with at least one argument.
int RunCommandLine(int argc, char** argv);
