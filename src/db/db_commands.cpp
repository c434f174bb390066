#include "db/db_commands.h"

#include <cstdio>
#include <memory>
#include <string>

#include "board/fen.h"
#include "board/position.h"
#include "db/db_create.h"
#include "db/position_db.h"

void CreateDatabaseFiles(const char* positionFile, const char* baseName) {
  const std::string base(baseName);
  char message[DB_MESSAGE_SIZE] = "OK";
  if (createDatabase(positionFile, (base + "_black.db").c_str(), (base + "_white.db").c_str(), message))
    printf("created.\n");
  else
    printf("%s\n", message);
}

void ShowDatabasePosition(const Position& pos, bool linear) {
  auto pair = std::make_unique<DbPair>();
  DbPair& db = *pair;
  resetDbPair(db);
  if (!openDbFile("black.db", db.files[BLACK], db.message) || !openDbFile("white.db", db.files[WHITE], db.message)) {
    printf("%s\n", db.message);
  } else {
    PrintBoard(pos.board);
    DbFile& file = db.files[pos.sideToMove];
    const DbRecord* r = linear ? scanDbRecord(file, pos.hashKey) : findDbRecord(file, pos.hashKey);
    if (r)
      printf("w: %.0f, b: %.0f, d: %.0f, score: %f\n", double(r->whiteWins), double(r->blackWins),
             double(r->draws), double(dbScore(r->whiteWins, r->blackWins, r->draws)));
    else
      printf("record not found.\n");
  }
  resetDbPair(db);
}
