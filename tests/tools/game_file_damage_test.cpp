// Game files cut short at every offset and with bytes changed: the readers stop at the damage and
// never read past it, the converters report it, and a file is changed only by the game store,
// which cuts off nothing but an incomplete last record.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "board/fen.h"
#include "board/move.h"
#include "board/position.h"
#include "support/scratch_dir.h"
#include "tools/converters.h"
#include "tools/game_files.h"
#include "tools/game_store.h"

namespace {

GameRecord makeGame(char result, std::initializer_list<Move> moves) {
  GameRecord game{};
  int n = 0;
  for (Move m : moves) game.moves[n++] = m;
  const uint16_t code = result == 'W' ? RESULT_WHITE_WINS : result == 'B' ? RESULT_BLACK_WINS : RESULT_DRAW;
  game.header = uint16_t(code | n);
  setResult(result, game);
  return game;
}

std::string bytesOf(const GameRecord& game) {
  uint8_t bytes[MAX_RECORD_BYTES];
  return std::string(reinterpret_cast<char*>(bytes), encodeGameRecord(game, bytes));
}

// Three legal games; ends holds the offset just past each record.
struct SampleFile {
  std::string bytes;
  std::vector<size_t> ends;

  SampleFile() {
    const GameRecord games[] = {
        makeGame('W', {makeMoveWord(E2, E4, QUIET), makeMoveWord(E7, E5, QUIET), makeMoveWord(G1, F3, QUIET),
                       makeMoveWord(B8, C6, QUIET), makeMoveWord(F1, B5, QUIET)}),
        makeGame('D', {makeMoveWord(D2, D4, QUIET), makeMoveWord(D7, D5, QUIET)}),
        makeGame('B', {makeMoveWord(G1, F3, QUIET)}),
    };
    for (const GameRecord& game : games) {
      bytes += bytesOf(game);
      ends.push_back(bytes.size());
    }
  }
  // Records wholly before the offset.
  int wholeBefore(size_t offset) const {
    int n = 0;
    while (n < int(ends.size()) && ends[n] <= offset) ++n;
    return n;
  }
  size_t boundaryBefore(size_t offset) const {
    int n = wholeBefore(offset);
    return n == 0 ? 0 : ends[n - 1];
  }
};

// Reads records until the end or the damage; the message of a refused record, or "".
std::string readAll(const std::string& bytes, int& read) {
  std::istringstream in(bytes);
  GameRecord game;
  read = 0;
  try {
    while (readGameRecord(in, game)) ++read;
  } catch (const PgnError& error) {
    return error.message;
  }
  return "";
}

// Runs both converters on "g.gam" in the current directory; their standard output.
std::string convert() {
  testing::internal::CaptureStdout();
  Game2Pgn("g.gam", "out.pgn");
  Game2Pos("g.gam", "out.pos");
  return testing::internal::GetCapturedStdout();
}

class GameFileDamage : public testing::Test {
 protected:
  SampleFile sample;
  ScratchDir dir;
};

TEST_F(GameFileDamage, EveryCutReadsExactlyTheWholeRecordsBeforeIt) {
  for (size_t cut = 0; cut <= sample.bytes.size(); ++cut) {
    SCOPED_TRACE("cut at " + std::to_string(cut));
    const std::string bytes = sample.bytes.substr(0, cut);
    const int whole = sample.wholeBefore(cut);
    std::istringstream in(bytes);
    EXPECT_EQ(countGames(in), sample.boundaryBefore(cut) == cut ? whole : -(whole + 1));
    int read;
    EXPECT_EQ(readAll(bytes, read), "");
    EXPECT_EQ(read, whole);
  }
}

TEST_F(GameFileDamage, ConvertersReportACutFileAndLeaveItAlone) {
  InDirectory here(dir.path());
  for (size_t cut = 0; cut <= sample.bytes.size(); ++cut) {
    SCOPED_TRACE("cut at " + std::to_string(cut));
    const std::string bytes = sample.bytes.substr(0, cut);
    dir.write("g.gam", bytes);
    const std::string out = convert();
    EXPECT_EQ(dir.read("g.gam"), bytes);
    if (sample.boundaryBefore(cut) == cut) {
      EXPECT_NE(out.find("converted: " + std::to_string(sample.wholeBefore(cut)) + " games."), std::string::npos)
          << out;
    } else {
      const std::string refusal = "Game file corrupted! (error on game: " + std::to_string(sample.wholeBefore(cut) + 1) + ")";
      EXPECT_NE(out.find(refusal), std::string::npos) << out;
      EXPECT_EQ(out.find("converted"), std::string::npos) << out;
    }
  }
}

TEST_F(GameFileDamage, StoreCutsOffOnlyTheIncompleteLastRecordThenAppends) {
  InDirectory here(dir.path());
  const GameRecord extra = makeGame('W', {makeMoveWord(C2, C4, QUIET)});
  for (size_t cut = 0; cut <= sample.bytes.size(); ++cut) {
    SCOPED_TRACE("cut at " + std::to_string(cut));
    const size_t boundary = sample.boundaryBefore(cut);
    dir.write("g.gam", sample.bytes.substr(0, cut));
    testing::internal::CaptureStdout();
    {
      GameStore store;
      ASSERT_TRUE(store.open("g.gam"));
      EXPECT_TRUE(store.append(extra));
    }
    const std::string out = testing::internal::GetCapturedStdout();
    EXPECT_EQ(dir.read("g.gam"), sample.bytes.substr(0, boundary) + bytesOf(extra));
    if (boundary == cut)
      EXPECT_EQ(out, "");
    else
      EXPECT_EQ(out, "Game file 'g.gam': removed an incomplete last record (" + std::to_string(cut - boundary) +
                         " bytes)\n");
  }
}

TEST_F(GameFileDamage, ChangedBytesAreReadOrRefusedAndOnlyACutIsRepaired) {
  InDirectory here(dir.path());
  const std::vector<std::string> readerMessages = {"", "WRONG RESULT", "WRONG PLY COUNT"};
  for (size_t at = 0; at < sample.bytes.size(); ++at) {
    for (uint8_t mask : {0x01, 0x10, 0x80, 0xFF}) {
      SCOPED_TRACE("byte " + std::to_string(at) + " ^ " + std::to_string(mask));
      std::string bytes = sample.bytes;
      bytes[at] = char(bytes[at] ^ mask);

      int read;
      const std::string message = readAll(bytes, read);
      EXPECT_NE(std::find(readerMessages.begin(), readerMessages.end(), message), readerMessages.end()) << message;
      // Records before the damaged one are untouched and read as they were.
      EXPECT_GE(read, sample.wholeBefore(at));

      dir.write("g.gam", bytes);
      const std::string out = convert();
      EXPECT_EQ(dir.read("g.gam"), bytes);
      const bool converted = out.find("converted: ") != std::string::npos;
      EXPECT_TRUE(converted || out.find("Game file corrupted! (error on game: ") != std::string::npos) << out;
      if (out.find("ERROR: ") != std::string::npos) {
        EXPECT_TRUE(out.find("ERROR: ILLEGAL MOVE IN GAME FILE") != std::string::npos ||
                    out.find("ERROR: WRONG") != std::string::npos)
            << out;
      }

      testing::internal::CaptureStdout();
      bool opened;
      {
        GameStore store;
        opened = store.open("g.gam");
      }
      const std::string stored = dir.read("g.gam");
      const std::string storeOut = testing::internal::GetCapturedStdout();
      if (opened) {
        // Only an incomplete last record may go; what stays is the file's own beginning.
        EXPECT_EQ(stored, bytes.substr(0, stored.size()));
        std::istringstream in(stored);
        EXPECT_GE(countGames(in), 0);
      } else {
        EXPECT_EQ(stored, bytes);
        EXPECT_EQ(storeOut.rfind("Game file corrupted! (error on game: ", 0), 0u) << storeOut;
      }
    }
  }
}

}  // namespace
