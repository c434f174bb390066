// The xboard protocol commands that act on the game. Each reads its own arguments from input.
#pragma once
#include "board/types.h"

void timeCommand();
void moveCommand(Move m);
void goCommand();
void playotherCommand();
void newCommand();
void resultCommand();  // "result RESULT {COMMENT}": the game is over; as "new"
void levelCommand();
void forceCommand();
void setboardCommand();
void undoCommand();    // one ply back
void removeCommand();  // two plies back: the opponent's move and the engine's
void easyCommand();
void hardCommand();
void quitCommand();
void whiteCommand();
void blackCommand();
