// The move of an EPD "bm" or "am" operation, read as SAN in the position it came with.
#pragma once

// Resolves epdPending of the last setup into epdBestMove or epdAvoidMove. A move that cannot be
// read prints a warning and gives false; without an operation there is nothing to do (true).
bool ResolveEpdMove();
