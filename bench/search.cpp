// Fixed-depth searches over a fixed position set: node counts (the same on every run, a signature
// of the search) and the speed in moves made per second, quiescence moves included. The engine
// runs the same bench as "dorvik bench".
#include "driver/bench_command.h"

int main() { return RunSearchBench(0); }
