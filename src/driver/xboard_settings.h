// The xboard protocol commands that leave the game alone: settings, acknowledgements and
// answers. Each reads its own arguments from input.
#pragma once

void pingCommand();
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
