// Building the database files from a position file sorted by key.
#pragma once

// One database file for side 'W' or 'B'. False with the reason in message (DB_MESSAGE_SIZE).
bool createDbFile(const char* positionPath, const char* outputPath, char side, char* message);

// Both files, black first.
bool createDatabase(const char* positionPath, const char* blackPath, const char* whitePath, char* message);
