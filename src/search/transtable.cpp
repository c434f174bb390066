#include "search/transtable.h"

#include <cstring>

TransTable transTable;

void ClearHashTables() { std::memset(&transTable, 0, sizeof transTable); }
