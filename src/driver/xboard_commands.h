// The xboard protocol commands of the command loop. Each reads its own arguments from input.
#pragma once
#include "board/types.h"

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
