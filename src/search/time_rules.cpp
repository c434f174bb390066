#include "search/time_rules.h"

bool StopBetweenIterations(const IterationProgress& p, int64_t optimum, int64_t maximum) {
  return p.elapsed >= optimum || p.elapsed + 2 * p.lastIterationTime > maximum;
}
