#include "driver/engine_state.h"

#include "io/input.h"

DriverState driver = {FORCE_MODE, true, 0, BLACK, {}, false, true, MAX_SEARCH_DEPTH, false, ""};

InputWord readInputWord() {
  InputWord word;
  readToken(word.text, sizeof word.text);
  return word;
}
