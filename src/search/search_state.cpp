#include "search/search_state.h"

SearchState search;
