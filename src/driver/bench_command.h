// The fixed-depth search bench: "dorvik bench [depth]" and the bench_search program.
#pragma once

// Searches a fixed set of positions, each to its own depth or, when depth is above 0, all to that
// depth, with no input read and no hooks. Prints a line per position, the node count (a signature
// of the search: the same on every run) and the speed, and as its last line "N nodes M nps", the
// form engine testers read. Returns the program's exit status.
int RunSearchBench(int depth);
