// "go": the request it makes of the engine.
#include <algorithm>
#include <climits>
#include <cstdlib>
#include <cstring>

#include "movegen/validate.h"
#include "uci/uci.h"

namespace uci {

namespace {

constexpr int64_t NOT_GIVEN = -1;

struct GoWords {
  int64_t whiteTime = NOT_GIVEN, blackTime = NOT_GIVEN;
  int64_t whiteIncrement = NOT_GIVEN, blackIncrement = NOT_GIVEN;
  int64_t movesToGo = NOT_GIVEN, moveTime = NOT_GIVEN;
  int64_t depth = NOT_GIVEN, nodes = NOT_GIVEN, mate = NOT_GIVEN;
};

struct NumberParameter {
  const char* name;
  int64_t GoWords::*field;
};

constexpr NumberParameter Numbers[] = {
    {"wtime", &GoWords::whiteTime}, {"btime", &GoWords::blackTime},   {"winc", &GoWords::whiteIncrement},
    {"binc", &GoWords::blackIncrement}, {"movestogo", &GoWords::movesToGo}, {"movetime", &GoWords::moveTime},
    {"depth", &GoWords::depth},      {"nodes", &GoWords::nodes},      {"mate", &GoWords::mate},
};

// The number after a parameter; false when it is missing or cannot be read.
bool readNumber(LineWords& words, const char* name, int64_t& value) {
  const char* word = words.next();
  char* end = nullptr;
  value = word ? std::strtoll(word, &end, 10) : 0;
  if (word && end != word && !*end) return true;
  Message(std::string("go: ") + name + " takes a number, not '" + (word ? word : "") +
          "': the move is made at once");
  return false;
}

int64_t given(int64_t value, int64_t otherwise) { return value == NOT_GIVEN ? otherwise : std::max<int64_t>(value, 0); }

}  // namespace

void FrontEnd::goCommand(LineWords& words) {
  GoWords go;
  SearchRequest r;
  bool malformed = false, inSearchMoves = false;
  for (const char* word; (word = words.next());) {
    const NumberParameter* number = nullptr;
    for (const NumberParameter& p : Numbers)
      if (std::strcmp(word, p.name) == 0) number = &p;
    if (number) {
      if (!readNumber(words, word, go.*(number->field))) malformed = true;
      inSearchMoves = false;
    } else if (std::strcmp(word, "infinite") == 0) {
      r.infinite = true;
      inSearchMoves = false;
    } else if (std::strcmp(word, "ponder") == 0) {
      r.ponder = true;
      inSearchMoves = false;
    } else if (std::strcmp(word, "searchmoves") == 0) {
      inSearchMoves = true;
    } else if (inSearchMoves) {
      if (Move m = LegalMoveFromText(engine_.position(), word)) r.searchMoves.push_back(m);
      else Message(std::string("go: searchmoves: ") + word + " is no legal move here");
    } else {
      Message(std::string("go: unknown parameter ") + word);
    }
  }
  r.time[WHITE] = given(go.whiteTime, NOT_GIVEN);
  r.time[BLACK] = given(go.blackTime, NOT_GIVEN);
  r.increment[WHITE] = given(go.whiteIncrement, 0);
  r.increment[BLACK] = given(go.blackIncrement, 0);
  r.movesToGo = int(std::min<int64_t>(given(go.movesToGo, 0), INT_MAX));
  r.moveTime = given(go.moveTime, 0);
  r.depth = int(std::min<int64_t>(given(go.depth, 0), INT_MAX));
  r.nodes = uint64_t(given(go.nodes, 0));
  r.mate = int(std::min<int64_t>(given(go.mate, 0), INT_MAX / 2));
  // A request that cannot be understood is answered at once rather than not at all.
  if (malformed) {
    r.moveTime = 1;
    r.infinite = r.ponder = false;
  }
  // "go depth 0" and "go nodes 0" ask for next to nothing: the least there is.
  if (go.depth == 0) r.depth = 1;
  if (go.nodes == 0) r.nodes = 1;
  r.useBook = settings_.ownBook && !settings_.analyseMode;
  engine_.go(r);
}

}  // namespace uci
