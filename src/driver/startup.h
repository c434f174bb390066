// Start-up: the first line tells the protocol; the front end is greeted in it, the engine gets its
// tables, "Dorvik.ini", the book and the bitbases, and the front end is served until it quits.
#pragma once

// Runs the engine on standard input and output, searching on this many threads until the front
// end sets another number; the program's exit status.
int RunEngine(int threads = 1);
