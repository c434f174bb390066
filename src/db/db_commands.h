// The typed database commands.
#pragma once
#include "board/position.h"

// "dbcreate SOURCE BASE": BASE_white.db and BASE_black.db from a sorted position file.
void CreateDatabaseFiles(const char* positionFile, const char* baseName);

// "dbshow" and "dbshowlin": the board and the position's record (bisection or linear).
void ShowDatabasePosition(const Position& pos, bool linear);
