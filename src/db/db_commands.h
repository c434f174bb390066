// The typed database commands.
#pragma once

// "dbcreate SOURCE BASE": BASE_white.db and BASE_black.db from a sorted position file.
void CreateDatabaseFiles(const char* positionFile, const char* baseName);

// "dbshow" and "dbshowlin": the board and the current position's record (bisection or linear).
void ShowDatabasePosition(bool linear);
