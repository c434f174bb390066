#include "movegen/ply.h"

MoveEntry moveStack[MOVE_STACK_SIZE];
PlyStack plies = {{}, plies.records};

void ClearKillers() {
  for (PlyRecord& r : plies.records) r.killer1 = r.killer2 = 0;
}
