// The commands that turn PGN collections into game and position files and game files back into
// PGN and position files. Each takes the file names that followed the command word; every
// failure is reported on standard output and the command returns normally.
#pragma once

// Positions of every game into the 16 files 0.pos to F.pos, split by the key's first hex digit.
void Pgn2PosCommand(const char* pgn);

// Appends every decided game not yet stored to the game file.
void Pgn2GameCommand(const char* pgn, const char* game);

// Pgn2GameCommand for every PGN file named, one per line, in the list file.
void PgnList2GameCommand(const char* list, const char* game);

// Appends every stored game to the PGN file.
void Game2PgnCommand(const char* game, const char* pgn);

// Appends the positions of every stored game to the position file.
void Game2PosCommand(const char* game, const char* positions);
