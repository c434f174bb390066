#include "search/search_clear.h"

#include "eval/pawn_cache.h"
#include "movegen/ply.h"
#include "search/ordering.h"
#include "search/transtable.h"

void SearchClear() {
  ClearHashTables();
  ResetHistoryTables();
  ClearKillers();
  ClearPawnCache();
}
