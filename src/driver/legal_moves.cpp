#include "driver/legal_moves.h"

#include <cstring>

#include "board/move.h"
#include "movegen/attacks.h"
#include "movegen/generate.h"
#include "movegen/validate.h"

int GenerateLegalMoves(Move* out) {
  MoveEntry list[MAX_GENERATED_MOVES];
  CheckInfo info;
  computeCheckInfo(&info);
  MoveEntry* end = generateMoves(list, &info);
  int count = 0;
  for (MoveEntry* e = list; e < end; ++e)
    if (isLegalMove(e->move)) out[count++] = e->move;
  return count;
}

Move LegalMoveFromText(const char* text) {
  Move moves[MAX_GENERATED_MOVES];
  int count = GenerateLegalMoves(moves);
  char written[8];
  for (int i = 0; i < count; ++i) {
    MoveToText(moves[i], written);
    if (std::strcmp(written, text) == 0) return moves[i];
  }
  return MOVE_NONE;
}
