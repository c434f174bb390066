#include "db/db_create.h"

#include <sys/stat.h>

#include <cstdio>
#include <cstring>

#include "db/position_db.h"

namespace {

// One line as fgets reads it: up to 254 characters, newline included.
constexpr int LINE_SIZE = 255;

int hexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

// Skips past the next occurrence of `stop`, never past the end of the text.
const char* skipPast(const char* p, char stop) {
  while (*p && *p != stop) ++p;
  return *p ? p + 1 : p;
}

const char* skipOne(const char* p) { return *p ? p + 1 : p; }

enum class LineParse { Ok, BadResult };

// Parses "key<tab>board side castling ep<tab>result<tab>ply" into a record with one game counted.
LineParse parseLine(const char* line, DbRecord& record) {
  record = {};
  HashKey key = 0;
  const char* p = line;
  for (int digits = 0; digits < 16 && hexValue(*p) >= 0; ++digits, ++p) key = key << 4 | HashKey(hexValue(*p));
  record.key = key;

  p = line + 17;
  packBoard(p, record);
  p = skipPast(p, ' ');
  if (*p == 'w') record.flags |= DB_WHITE_TO_MOVE;
  p = skipOne(skipOne(p));
  for (; *p && *p != ' '; ++p) {
    switch (*p) {
      case 'K': record.flags |= DB_CASTLE_K; break;
      case 'Q': record.flags |= DB_CASTLE_Q; break;
      case 'k': record.flags |= DB_CASTLE_k; break;
      case 'q': record.flags |= DB_CASTLE_q; break;
      default: break;
    }
  }
  p = skipOne(p);
  if (*p >= 'a' && *p <= 'h') {
    record.flags |= uint8_t(*p - 'a');
    record.plyByte |= DB_EP_GIVEN;
    p = skipOne(skipOne(p));
  } else {
    p = skipOne(p);
  }
  p = skipOne(p);
  switch (*p) {
    case 'W': record.whiteWins = 1; break;
    case 'B': record.blackWins = 1; break;
    case 'D': record.draws = 1; break;
    default: return LineParse::BadResult;
  }
  p = skipOne(skipOne(p));
  int ply = 0;
  for (; *p >= '0' && *p <= '9'; ++p) ply = ply < 127 ? ply * 10 + (*p - '0') : 127;
  record.plyByte |= uint8_t(ply > 127 ? 127 : ply);
  return LineParse::Ok;
}

// Reads one line; the rest of a line too long for the buffer is dropped rather than read as a line.
bool readLine(FILE* f, char* line) {
  if (!fgets(line, LINE_SIZE, f)) return false;
  size_t length = strlen(line);
  if (length > 0 && line[length - 1] != '\n') {
    int c;
    while ((c = fgetc(f)) != EOF && c != '\n') {
    }
  }
  return true;
}

bool writeRecord(FILE* out, const DbRecord& record) {
  uint8_t bytes[DB_RECORD_BYTES];
  encodeDbRecord(record, bytes);
  return fwrite(bytes, 1, DB_RECORD_BYTES, out) == size_t(DB_RECORD_BYTES);
}

// The percentage of the position file read so far, rewritten in place on standard output.
struct Progress {
  uint64_t fileSize;
  int lastPercent = 0;

  void start(const char* outputPath) {
    printf("creating new database '%s':  0%%", outputPath);
    fflush(stdout);
  }
  void update(uint64_t characters) {
    int percent = int(characters * 100 / fileSize);
    if (percent <= lastPercent) return;
    printf("\b\b\b\b%3d%%", percent);
    fflush(stdout);
    lastPercent = percent;
  }
};

// The record being built: the games of every line of one key and position added up, written out
// when the key changes. Remembers whether every write succeeded.
struct RecordBuilder {
  FILE* out;
  DbRecord current{};
  bool haveCurrent = false;
  bool written = true;

  // Takes the next line's record; false when the keys run backwards (the file is not sorted).
  bool add(const DbRecord& next, bool& newKey) {
    newKey = false;
    if (!haveCurrent) {
      current = next;
      haveCurrent = true;
    } else if (next.key != current.key) {
      if (next.key < current.key) return false;
      flush();
      current = next;
      newKey = true;
    } else if (samePosition(next, current)) {
      current.whiteWins += next.whiteWins;
      current.blackWins += next.blackWins;
      current.draws += next.draws;
      if (next.ply() < current.ply()) current.plyByte = uint8_t((current.plyByte & DB_EP_GIVEN) | next.ply());
    } else {
      current = next;  // another position under the same key: the later one is kept
    }
    return true;
  }
  void flush() { written = writeRecord(out, current) && written; }
  void finish() {
    if (haveCurrent) flush();
  }
};

// Reads every line of the side's positions into the builder; false with the message when the
// file is not sorted by key.
bool buildRecords(FILE* in, uint8_t wanted, RecordBuilder& builder, Progress& progress, char* message) {
  char line[LINE_SIZE];
  DbRecord next;
  int lineNo = 0;
  uint64_t characters = 0;
  while (readLine(in, line)) {
    size_t length = strlen(line);
    if (length < 17) continue;
    ++lineNo;
    if (parseLine(line, next) == LineParse::BadResult) {
      printf("\nparse error skipped line: %d\n%s\n", lineNo, line);
      continue;
    }
    characters += length;
    if ((next.flags & DB_WHITE_TO_MOVE) != wanted) {
      --lineNo;
      continue;
    }
    bool newKey;
    if (!builder.add(next, newKey)) {
      snprintf(message, DB_MESSAGE_SIZE, "ERROR: input file with positions not sorted by hash!\n%s\n", line);
      return false;
    }
    if (newKey) progress.update(characters);
  }
  return true;
}

}  // namespace

bool createDbFile(const char* positionPath, const char* outputPath, char side, char* message) {
  if (side != 'W' && side != 'B') {
    snprintf(message, DB_MESSAGE_SIZE, "WRONG STM parameter: %c\n", side);
    return false;
  }
  struct stat st;
  if (stat(positionPath, &st) != 0) {
    snprintf(message, DB_MESSAGE_SIZE, "Cannot open file statistics: %s\n", positionPath);
    return false;
  }
  FILE* in = fopen(positionPath, "r");
  if (!in) {
    snprintf(message, DB_MESSAGE_SIZE, "Cannot open position file: %s\n", positionPath);
    return false;
  }
  FILE* out = fopen(outputPath, "wb");
  if (!out) {
    fclose(in);
    snprintf(message, DB_MESSAGE_SIZE, "Cannot create database file: %s\n", outputPath);
    return false;
  }
  Progress progress{uint64_t(st.st_size)};
  progress.start(outputPath);
  RecordBuilder builder{out};
  bool ok = buildRecords(in, side == 'W' ? DB_WHITE_TO_MOVE : 0, builder, progress, message);
  builder.finish();
  if (ok && ferror(in)) {
    snprintf(message, DB_MESSAGE_SIZE, "Cannot read position file: %s\n", positionPath);
    ok = false;
  }
  fclose(in);
  bool written = fclose(out) == 0 && builder.written;
  if (ok && !written) {
    snprintf(message, DB_MESSAGE_SIZE, "Cannot write database file: %s\n", outputPath);
    ok = false;
  }
  if (ok) printf("\b\b\b\b100%%... done.\n");
  fflush(stdout);
  return ok;
}

bool createDatabase(const char* positionPath, const char* blackPath, const char* whitePath, char* message) {
  return createDbFile(positionPath, blackPath, 'B', message) &&
         createDbFile(positionPath, whitePath, 'W', message);
}
