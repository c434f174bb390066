// A command that arrives while the engine ponders acts on the game, not on the pondered line:
// the pondered move comes off before the command runs, and is never taken back later from a
// position it was not made in.
#include <gtest/gtest.h>

#include "e2e/harness.h"

namespace {

// Ranks 5 and 6 full: whichever first reply the engine ponders lands on one of those squares,
// so taking it back from this position would visibly move a pawn.
const char* const CROWDED = "rnbqkbnr/8/PPPPPPPP/pppppppp/8/8/8/RNBQKBNR w - - 0 1";
const std::string CROWDED_DIAGRAM =
    "8 r n b q k b n r \n"
    "7 . . . . . . . . \n"
    "6 P P P P P P P P \n"
    "5 p p p p p p p p \n"
    "4 . . . . . . . . \n"
    "3 . . . . . . . . \n"
    "2 . . . . . . . . \n"
    "1 R N B Q K B N R \n";

TEST(PonderPosition, SetboardWhilePonderingIsNotUndoneByALaterForce) {
  const e2e::Result r = e2e::runDorvik(e2e::Run(std::string(e2e::XBOARD_HANDSHAKE) + "new\nhard\ngo\nsetboard " +
                                                CROWDED + "\nforce\ndbshow\nquit\n"));
  ASSERT_NE(r.log.find("-ponder move: "), std::string::npos) << r.log;  // the engine was pondering
  EXPECT_NE(r.out.find(CROWDED_DIAGRAM), std::string::npos) << r.out;
  EXPECT_EQ(r.status, 0);
}

TEST(PonderPosition, ShowingThePositionWhilePonderingShowsTheGameNotThePonderedMove) {
  const e2e::Result r =
      e2e::runDorvik(e2e::Run(std::string(e2e::XBOARD_HANDSHAKE) + "new\nhard\ngo\ndbshow\nforce\ndbshow\nquit\n"));
  ASSERT_NE(r.log.find("-ponder move: "), std::string::npos) << r.log;
  // Both diagrams: the initial position after the engine's one move, black to move.
  const size_t first = r.out.find("8 r n b q k b n r \n7 p p p p p p p p \n");
  ASSERT_NE(first, std::string::npos) << r.out;
  EXPECT_NE(r.out.find("8 r n b q k b n r \n7 p p p p p p p p \n", first + 1), std::string::npos) << r.out;
}

TEST(PonderPosition, CommandReadWhileThinkingIsDispatchedInsteadOfPondering) {
  // With a real budget the search reads "setboard" while it thinks and leaves it to the loop.
  e2e::Run run(std::string(e2e::XBOARD_HANDSHAKE) + "new\nhard\ntime 3000\notim 3000\ngo\nsetboard " + CROWDED +
               "\nforce\ndbshow\nquit\n");
  run.timeoutSeconds = 20;
  const e2e::Result r = e2e::runDorvik(run);
  ASSERT_NE(r.log.find("-cC: setboard"), std::string::npos) << r.log;  // read by the search
  EXPECT_EQ(r.status, 0) << "the engine hung with the command pending";
  EXPECT_NE(r.out.find("move "), std::string::npos) << r.out;
  EXPECT_NE(r.out.find(CROWDED_DIAGRAM), std::string::npos) << r.out;
}

}  // namespace
