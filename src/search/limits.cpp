#include "search/limits.h"

#include <algorithm>
#include <cstdint>

#include "io/clock.h"
#include "search/search_state.h"

bool TimeUp() {
  const SearchLimits& l = search.limits;
  if (l.pondering || l.infinite) return false;
  int64_t left = int64_t(l.budget) + l.startTime - processClock();
  return left <= 0;
}

int HardLimitLeft() {
  const SearchLimits& l = search.limits;
  if (l.pondering || l.infinite) return INT32_MAX;
  int64_t left = int64_t(l.hardLimit) + l.moveStart - processClock();
  return int(std::clamp<int64_t>(left, INT32_MIN, INT32_MAX));
}

bool HardLimitReached() {
  const SearchLimits& l = search.limits;
  return HardLimitLeft() <= 0 || (l.nodeLimit && search.nodeCount >= l.nodeLimit);
}

void SetBudget(int budget, int ceiling) {
  search.limits.budget = budget;
  search.limits.ceiling = ceiling;
  search.limits.extension = 0;
}

void ExtendBudget(int factor) {
  SearchLimits& l = search.limits;
  int before = l.budget;
  int64_t widened = std::min<int64_t>(int64_t(before) * factor, std::max(l.ceiling, before));
  l.budget = int(widened);
  l.extension += l.budget - before;
}

void EndBudgetExtension() {
  search.limits.budget -= search.limits.extension;
  search.limits.extension = 0;
}
