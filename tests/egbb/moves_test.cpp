// The tables' move generation against the engine's on random positions of every ending, and the
// moves played backwards against the moves played forwards.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>

#include "board/fen.h"
#include "board/move.h"
#include "board/position.h"
#include "board/tables.h"
#include "core/chess.h"
#include "core/ending.h"
#include "core/board_text.h"
#include "egbb/boards.h"
#include "eval/piece_tables.h"
#include "movegen/attacks.h"
#include "movegen/generate.h"
#include "movegen/make_move.h"

namespace {

using egbb::Board;
using egbb::Ending;
using egbb::Unmove;
using egbb::MAX_MOVES;
using TableMove = egbb::Move;

std::vector<Ending> everyEnding() {
  std::vector<Ending> all;
  for (int men = 3; men <= egbb::MAX_MEN; ++men)
    for (const Ending& e : egbb::endingsWithMen(men)) all.push_back(e);
  return all;
}

std::set<std::string> tableMoves(const Board& b) {
  TableMove moves[MAX_MOVES];
  int n = egbb::legalMoves(b, moves);
  std::set<std::string> texts;
  for (int i = 0; i < n; ++i) texts.insert(egbb::moveText(b, moves[i]));
  return texts;
}

std::set<std::string> engineMoves(const std::string& fen) {
  std::set<std::string> texts;
  Position pos;
  if (!SetupPosition(pos, fen.c_str())) return {"setup refused " + fen};
  const int side = pos.sideToMove;
  CheckInfo info;
  computeCheckInfo(pos, &info);
  MoveEntry list[MAX_GENERATED_MOVES];
  MoveEntry* end = info.checkers ? generateEvasions[side](pos, list, &info) : generateAll[side](pos, list);
  for (MoveEntry* e = list; e < end; ++e) {
    makeMove(pos, e->move);
    if (!kingAttackedAfter(pos, e->move, side)) {
      char text[8];
      MoveToText(e->move, text);
      texts.insert(text);
    }
    unmakeMove(pos, e->move);
  }
  return texts;
}

bool sameBoard(const Board& a, const Board& b) {
  if (a.side != b.side || a.count != b.count) return false;
  for (int i = 0; i < a.count; ++i)
    if (a.men[i].square != b.men[i].square || a.men[i].type != b.men[i].type) return false;
  return true;
}

TEST(Moves, LegalMovesAgreeWithTheEngineOnRandomPositionsOfEveryEnding) {
  InitTables();
  InitPieceSquareTables();  // the generator's exchange scores read them
  std::mt19937 random(15);
  std::vector<Ending> endings = everyEnding();
  int compared = 0;
  for (int i = 0; i < 4000; ++i) {
    Board b = egbbtest::randomBoard(endings[i % endings.size()], random);
    std::string fen = egbb::fenOf(b);
    std::set<std::string> ours = tableMoves(b), engine = engineMoves(fen);
    ASSERT_EQ(ours, engine) << fen;
    compared += int(ours.size());
  }
  EXPECT_GT(compared, 40000);
}

TEST(Moves, MovesTakenBackLeadToPositionsThatPlayThem) {
  std::mt19937 random(51);
  std::vector<Ending> endings = everyEnding();
  for (int i = 0; i < 20000; ++i) {
    Board b = egbbtest::randomBoard(endings[i % endings.size()], random);
    // Every quiet move forward is found backward from where it leads, a double step as one.
    TableMove moves[MAX_MOVES];
    int n = egbb::legalMoves(b, moves);
    for (int k = 0; k < n; ++k) {
      if (moves[k].captured >= 0 || moves[k].promotion != egbb::KING) continue;
      Board child = egbb::afterMove(b, moves[k]);
      Unmove back[MAX_MOVES];
      int m = egbb::unmoves(child, back);
      bool found = std::any_of(back, back + m, [&](const Unmove& u) {
        return sameBoard(u.before, b) && (u.doublePush >= 0) == egbb::isDoublePush(b, moves[k]);
      });
      ASSERT_TRUE(found) << egbb::fenOf(b) << " move to " << egbb::squareText(moves[k].to);
    }
    // Every position backward plays a quiet move to the board.
    Unmove back[MAX_MOVES];
    int m = egbb::unmoves(b, back);
    for (int k = 0; k < m; ++k) {
      ASSERT_TRUE(egbb::isLegal(back[k].before)) << egbb::fenOf(back[k].before);
      TableMove forward[MAX_MOVES];
      int f = egbb::legalMoves(back[k].before, forward);
      bool found = std::any_of(forward, forward + f, [&](const TableMove& mv) {
        return mv.captured < 0 && mv.promotion == egbb::KING && sameBoard(egbb::afterMove(back[k].before, mv), b);
      });
      ASSERT_TRUE(found) << egbb::fenOf(back[k].before) << " to " << egbb::fenOf(b);
    }
  }
}

}  // namespace
