// A command that arrives while the engine ponders acts on the game, not on the pondered line:
// the pondered move comes off before the command runs, and is never taken back later from a
// position it was not made in.
#include <gtest/gtest.h>

#include "e2e/harness.h"
#include "e2e/session.h"

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

// The engine answers 1.e4 and ponders on the reply it expects.
void startPondering(e2e::Session& s) {
  s.send("new\nhard\nlevel 0 1 0\ntime 6000 otim 6000\ne2e4\n");
  ASSERT_FALSE(s.waitFor("move \\S+\n").empty()) << s.out();
  ASSERT_TRUE(s.waitForLog("-ponder move: ")) << s.log();
}

TEST(PonderPosition, SetboardWhilePonderingIsNotUndoneByALaterForce) {
  e2e::Session s;
  startPondering(s);
  s.send(std::string("setboard ") + CROWDED + "\nforce\ndbshow\nping 1\n");
  ASSERT_FALSE(s.waitFor("pong 1\n").empty()) << s.out();
  EXPECT_NE(s.out().find(CROWDED_DIAGRAM), std::string::npos) << s.out();
  EXPECT_TRUE(s.quit());
}

TEST(PonderPosition, ShowingThePositionWhilePonderingShowsTheGameNotThePonderedMove) {
  e2e::Session s;
  startPondering(s);
  s.send("dbshow\nforce\ndbshow\nping 1\n");
  ASSERT_FALSE(s.waitFor("pong 1\n").empty()) << s.out();
  // Both diagrams: the position after the engine's answer, White to move, the pawn on e4.
  const std::string game = "\n4 . . . . P . . . \n";
  const size_t first = s.out().find(game);
  ASSERT_NE(first, std::string::npos) << s.out();
  EXPECT_NE(s.out().find(game, first + 1), std::string::npos) << s.out();
  EXPECT_TRUE(s.quit());
}

TEST(PonderPosition, CommandReadWhileThinkingIsDispatchedInsteadOfPondering) {
  // The "setboard" that comes while the engine thinks waits for its move, then is dispatched: the
  // engine does not start to ponder first.
  e2e::Run run(std::string(e2e::XBOARD_HANDSHAKE) + "new\nhard\ntime 3000\notim 3000\ngo\nsetboard " + CROWDED +
               "\nforce\ndbshow\nquit\n");
  run.timeoutSeconds = 20;
  const e2e::Result r = e2e::runDorvik(run);
  const size_t read = r.log.find("::cmd:: setboard"), moved = r.log.find("\nmove ");
  ASSERT_NE(read, std::string::npos) << r.log;
  ASSERT_NE(moved, std::string::npos) << r.log;
  EXPECT_LT(read, moved) << r.log;  // read while the engine thought on its move
  EXPECT_EQ(r.log.find("-ponder move: "), std::string::npos) << r.log;
  EXPECT_EQ(r.status, 0) << "the engine hung with the command pending";
  EXPECT_NE(r.out.find("move "), std::string::npos) << r.out;
  EXPECT_NE(r.out.find(CROWDED_DIAGRAM), std::string::npos) << r.out;
}

}  // namespace
