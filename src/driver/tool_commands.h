// The typed diagnostic and tool commands of the command loop. Each reads its own arguments.
#pragma once

void evalCommand();
void testCommand();
void perftCommand();
void benchmarkCommand();
void benchmarkSpeedCommand();
void pgn2posCommand();
void pgn2gameCommand();
void pgnlist2gameCommand();
void game2pgnCommand();
void game2posCommand();
void bookshowCommand();
void dbshowCommand();
void dbshowlinCommand();
void bookcreateCommand();
void dbcreateCommand();
