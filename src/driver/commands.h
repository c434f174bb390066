// The actions of the command loop, one per command. Each reads its own arguments from input.
#pragma once
#include "board/types.h"

// Protocol commands.
void timeCommand();
void moveCommand(Move m);
void goCommand();
void newCommand();
void levelCommand();
void forceCommand();
void setboardCommand();
void easyCommand();
void hardCommand();
void quitCommand();
void whiteCommand();
void blackCommand();

// Typed diagnostic and tool commands.
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
