// Every 3-man position, either side to move and either colour with the extra man, against
// Gaviota's tables (Debian's gaviotatb, read with its own probing library): the same result and
// the same distance to mate.
#include <gtb-probe.h>

#include <gtest/gtest.h>

#include "core/chess.h"
#include "core/value.h"
#include "egbb/library_handle.h"

namespace {

using namespace egbb;

class Gaviota {
 public:
  Gaviota() {
    paths_ = tbpaths_add(tbpaths_init(), GAVIOTA_TABLES);
    tb_init(0, tb_CP4, paths_);
    tbcache_init(16 << 20, 96);
  }
  ~Gaviota() {
    tbcache_done();
    tb_done();
    tbpaths_done(paths_);
  }
  bool available() const { return tb_is_initialized() && (tb_availability() & 3); }

  // The probe's score for the board, from Gaviota's result; false when Gaviota has none.
  bool score(const Board& b, int& score) const {
    unsigned squares[2][MAX_MEN + 1], n[2] = {0, 0};
    unsigned char pieces[2][MAX_MEN + 1];
    // Gaviota's piece codes: pawn 1, knight 2, bishop 3, rook 4, queen 5, king 6.
    static const unsigned char CODE[] = {tb_QUEEN, tb_ROOK, tb_BISHOP, tb_KNIGHT, tb_PAWN, tb_KING};
    for (int i = 0; i < b.count; ++i) {
      const Man& m = b.men[i];
      squares[m.colour][n[m.colour]] = m.square;
      pieces[m.colour][n[m.colour]++] = CODE[m.type];
    }
    for (int c = 0; c < 2; ++c) squares[c][n[c]] = tb_NOSQUARE, pieces[c][n[c]] = tb_NOPIECE;
    unsigned info = 0, plies = 0;
    if (!tb_probe_hard(b.side, tb_NOSQUARE, tb_NOCASTLE, squares[0], squares[1], pieces[0], pieces[1], &info, &plies))
      return false;
    if (info == tb_DRAW) {
      score = 0;
    } else if (info == tb_WMATE || info == tb_BMATE) {
      bool moverMates = (info == tb_WMATE) == (b.side == WHITE);
      // Gaviota counts the plies to mate; a mating side's count is odd, a mated side's even.
      if (bool(plies % 2) != moverMates) return false;
      score = scoreOf(decided(int(plies)));
    } else {
      return false;
    }
    return true;
  }

 private:
  const char** paths_;
};

TEST(GaviotaAgreement, EveryThreeManPositionHasTheSameResultAndDistance) {
  Gaviota gaviota;
  ASSERT_TRUE(gaviota.available()) << "Gaviota's 3-man tables are not in " GAVIOTA_TABLES;
  egbbtest::Library library;
  library.load(DORVIK_EGBB_DIR);
  long compared = 0, mismatches = 0;
  for (int type = QUEEN; type <= PAWN; ++type)
    for (int colour = WHITE; colour <= BLACK; ++colour)
      for (int side = WHITE; side <= BLACK; ++side)
        for (int wk = 0; wk < 64; ++wk)
          for (int bk = 0; bk < 64; ++bk)
            for (int sq = 0; sq < 64; ++sq) {
              Board b{uint8_t(side), 3, {{WHITE, KING, uint8_t(wk)}, {BLACK, KING, uint8_t(bk)},
                                         {uint8_t(colour), uint8_t(type), uint8_t(sq)}}};
              if (!isLegal(b)) continue;
              int expected;
              ASSERT_TRUE(gaviota.score(b, expected)) << "Gaviota gives no result for " << wk << " " << bk << " " << sq;
              int got = library.probe(b);
              ++compared;
              if (got != expected && ++mismatches <= 10)
                ADD_FAILURE() << "piece " << type << " colour " << colour << " side " << side << " kings " << wk << ","
                              << bk << " square " << sq << ": library " << got << ", Gaviota " << expected;
            }
  EXPECT_EQ(mismatches, 0);
  EXPECT_GT(compared, 1000000);
  std::printf("compared %ld positions with Gaviota's tables\n", compared);
}

}  // namespace
