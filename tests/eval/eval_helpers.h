// Helpers shared by the evaluation tests: each test owns a position and a pawn cache of its own,
// and evaluates FEN texts on them.
#pragma once
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "board/fen.h"
#include "board/position.h"
#include "eval/evaluate.h"
#include "eval/pawn_cache.h"
#include "support/random_position.h"

class EvalTest : public testing::Test {
 protected:
  // Sets the position up from the FEN; false (and a failure) for a refused text.
  bool setUp(const std::string& fen) {
    const bool ok = SetupPosition(pos, fen.c_str());
    EXPECT_TRUE(ok) << fen;
    return ok;
  }
  // The evaluation of a FEN, for the side to move.
  int eval(const std::string& fen) { return setUp(fen) ? Evaluate(pos, *cache) : 0; }

  Position pos{};
  std::unique_ptr<PawnCache> cache = std::make_unique<PawnCache>();
};
