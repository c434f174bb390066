#include "search/ordering.h"

#include <algorithm>
#include <cstring>

HistoryTables history;

void ResetHistoryTables() {
  std::memset(history.fromTo, 0, sizeof history.fromTo);
  std::fill(&history.good[0][0], &history.good[0][0] + 12 * 64, 1);
  std::fill(&history.tried[0][0], &history.tried[0][0] + 12 * 64, 1);
}
