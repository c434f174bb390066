// The xboard protocol commands that leave the game alone: settings, acknowledgements and
// answers. Each reads its own arguments from input.
#pragma once

void pingCommand();
// The pong of a ping that came while the engine thought on its move, once the move is out.
void AnswerOwedPing();
void stCommand();
void sdCommand();
void postCommand();
void nopostCommand();
void hintCommand();
void drawCommand();
void otimCommand();
void nameCommand();
void ratingCommand();
void icsCommand();
void memoryCommand();
void coresCommand();
void protoverCommand();
void featureReplyCommand();
void variantCommand();
void noEffectCommand();
