// The process clock: wall time since the program started, in milliseconds.
#pragma once

int processClock();
