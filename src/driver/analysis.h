// Analysis mode: the game is played as in force mode, and every position it reaches is searched
// without limit, with thinking lines, until a command changes the position or ends the mode.
#pragma once

// Searches the game position until a command arrives or the search ends by itself (a mate, the
// deepest iteration); a search stopped by a command is resumed once the command is handled.
void Analyze();

void analyzeCommand();
void exitCommand();

// ".": the progress of the running analysis, as a "stat01" line; nothing outside analysis.
void statusCommand();
