#include <gtest/gtest.h>

#include <cstring>
#include <sstream>
#include <string>
#include <vector>

#include "board/fen.h"
#include "board/move.h"
#include "board/position.h"
#include "tools/game_files.h"

namespace {

GameRecord makeGame(uint16_t result, std::initializer_list<Move> moves) {
  GameRecord game{};
  int n = 0;
  for (Move m : moves) game.moves[n++] = m;
  game.header = uint16_t(result | n);
  setResult(result == RESULT_WHITE_WINS ? 'W' : result == RESULT_BLACK_WINS ? 'B' : 'D', game);
  return game;
}

const Move E2E4 = makeMoveWord(E2, E4, QUIET);
const Move E7E5 = makeMoveWord(E7, E5, QUIET);
const Move G1F3 = makeMoveWord(G1, F3, QUIET);

std::string bytesOf(const GameRecord& game) {
  uint8_t bytes[MAX_RECORD_BYTES];
  return std::string(reinterpret_cast<char*>(bytes), encodeGameRecord(game, bytes));
}

TEST(GameFileRecords, LittleEndianHeaderThenMoves) {
  const std::string bytes = bytesOf(makeGame(RESULT_WHITE_WINS, {E2E4, E7E5, G1F3}));
  EXPECT_EQ(bytes, std::string("\x03\x80\x24\x0D\x1C\x03\xAD\x0F", 8));
}

TEST(GameFileRecords, ReadBackWithResultFromTheCode) {
  std::istringstream in(bytesOf(makeGame(RESULT_BLACK_WINS, {E2E4, E7E5})) +
                        bytesOf(makeGame(RESULT_DRAW, {G1F3})) + bytesOf(makeGame(RESULT_WHITE_WINS, {})));
  GameRecord game;
  ASSERT_TRUE(readGameRecord(in, game));
  EXPECT_EQ(game.header, 0x4002);
  EXPECT_EQ(game.moves[1], E7E5);
  EXPECT_EQ(game.resultChar, 'B');
  EXPECT_STREQ(game.resultText, "0-1");
  ASSERT_TRUE(readGameRecord(in, game));
  EXPECT_EQ(game.resultChar, 'D');
  EXPECT_EQ(game.moves[0], G1F3);
  ASSERT_TRUE(readGameRecord(in, game));
  EXPECT_EQ(game.header, 0x8000);
  EXPECT_FALSE(readGameRecord(in, game));
}

TEST(GameFileRecords, BadRecordsRaiseOrEnd) {
  GameRecord game;
  std::istringstream zero(std::string("\x01\x00\x24\x0D", 4));
  try {
    readGameRecord(zero, game);
    ADD_FAILURE() << "no error for result code 0";
  } catch (const PgnError& e) {
    EXPECT_STREQ(e.message, "WRONG RESULT");
  }
  std::istringstream tooLong(std::string("\x00\x84", 2));
  EXPECT_THROW(readGameRecord(tooLong, game), PgnError);
  std::istringstream cut(std::string("\x02\x80\x24\x0D", 4));
  EXPECT_FALSE(readGameRecord(cut, game));
}

TEST(GameFileRecords, CountGamesNamesTheFirstBadRecord) {
  const std::string good = bytesOf(makeGame(RESULT_WHITE_WINS, {E2E4, E7E5}));
  auto count = [](const std::string& bytes) {
    std::istringstream in(bytes);
    return countGames(in);
  };
  EXPECT_EQ(count(""), 0);
  EXPECT_EQ(count(good + good), 2);
  EXPECT_EQ(count(good + std::string("\x01\x00\x24\x0D", 4) + good), -2);  // result code 0
  EXPECT_EQ(count(good + good + std::string("\x00\x84", 2)), -3);          // 1024 plies
  EXPECT_EQ(count(good + good.substr(0, 5)), -2);                         // moves cut short
  EXPECT_EQ(count(good + good.substr(0, 1)), -2);                         // header cut short
}

TEST(GameFileRecords, CountGamesRestoresPositionAndState) {
  const std::string good = bytesOf(makeGame(RESULT_WHITE_WINS, {E2E4}));
  std::istringstream in(good + good + good);
  GameRecord game;
  ASSERT_TRUE(readGameRecord(in, game));
  EXPECT_EQ(countGames(in), 3);
  EXPECT_EQ(in.tellg(), 4);
  while (readGameRecord(in, game)) {}
  EXPECT_TRUE(in.eof());
  EXPECT_EQ(countGames(in), 3);
  EXPECT_TRUE(in.eof());
}

TEST(PgnOutput, ResultTagAndNumberedCoordinateMoves) {
  std::ostringstream out;
  writePgnGame(out, makeGame(RESULT_WHITE_WINS, {E2E4, E7E5, G1F3}));
  EXPECT_EQ(out.str(), "[Result \"1-0\"]\n1. e2e4 e7e5 2. g1f3 1-0\n");
  out.str("");
  writePgnGame(out, makeGame(RESULT_DRAW, {0xDF3E, makeMoveWord(E2, D1, CAPTURE_PROMO_N)}));
  EXPECT_EQ(out.str(), "[Result \"1/2-1/2\"]\n1. e1g1 e2d1n 1/2-1/2\n");
}

class PositionLines : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(SetupPosition(pos, START_FEN)); }
  std::vector<std::string> linesFor(const GameRecord& game) {
    std::ostringstream out;
    std::ostream* outputs[1] = {&out};
    writePositionLines(pos, game, outputs, 1);
    std::vector<std::string> lines;
    std::istringstream in(out.str());
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
  }
  Position pos;
  static std::string keyText(HashKey key) {
    char text[17];
    std::snprintf(text, sizeof text, "%016llX", (unsigned long long)key);
    return text;
  }
};

TEST_F(PositionLines, InitialPositionLine) {
  const HashKey key = pos.hashKey;
  const auto lines = linesFor(makeGame(RESULT_DRAW, {E2E4}));
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(lines[0], keyText(key) + "\trnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq -\tD\t1");
}

TEST_F(PositionLines, OneLinePerPlyBeforeTheMove) {
  const HashKey startKey = pos.hashKey;
  const auto lines = linesFor(makeGame(RESULT_BLACK_WINS, {E2E4, E7E5, G1F3}));
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_EQ(lines[1].substr(16), "\trnbqkbnr/pppppppp/8/8/4P3/8/PPPP1PPP/RNBQKBNR b KQkq e3\tB\t2");
  EXPECT_EQ(lines[2].substr(16), "\trnbqkbnr/pppp1ppp/8/4p3/4P3/8/PPPP1PPP/RNBQKBNR w KQkq e6\tB\t3");
  EXPECT_NE(lines[1].substr(0, 16), lines[0].substr(0, 16));
  EXPECT_EQ(pos.hashKey, startKey);
  EXPECT_EQ(pos.historyTop, pos.history);
}

TEST_F(PositionLines, AtMostSixtyFourPlies) {
  GameRecord game = makeGame(RESULT_WHITE_WINS, {});
  const Move shuffle[4] = {G1F3, makeMoveWord(G8, F6, QUIET), makeMoveWord(F3, G1, QUIET), makeMoveWord(F6, G8, QUIET)};
  for (int i = 0; i < 100; ++i) game.moves[i] = shuffle[i % 4];
  game.header = RESULT_WHITE_WINS | 100;
  const auto lines = linesFor(game);
  ASSERT_EQ(lines.size(), 64u);
  EXPECT_EQ(lines[63].substr(lines[63].size() - 5), "\tW\t64");
  // Every fourth position is the initial one again.
  EXPECT_EQ(lines[4], lines[0].substr(0, lines[0].size() - 1) + "5");
}

TEST_F(PositionLines, SixteenOutputsAreChosenByTheKeysFirstDigit) {
  std::ostringstream files[16];
  std::ostream* outputs[16];
  for (int i = 0; i < 16; ++i) outputs[i] = &files[i];
  GameRecord game = makeGame(RESULT_WHITE_WINS, {});
  const Move shuffle[4] = {G1F3, makeMoveWord(G8, F6, QUIET), makeMoveWord(F3, G1, QUIET), makeMoveWord(F6, G8, QUIET)};
  const Move opening[6] = {E2E4, E7E5, makeMoveWord(D2, D4, QUIET), makeMoveWord(E5, D4, CAPTURE),
                           makeMoveWord(D1, D4, CAPTURE), makeMoveWord(B8, C6, QUIET)};
  for (int i = 0; i < 6; ++i) game.moves[i] = opening[i];
  for (int i = 6; i < 30; ++i) game.moves[i] = shuffle[(i - 6) % 4];
  game.header = RESULT_WHITE_WINS | 30;
  writePositionLines(pos, game, outputs, 16);
  int total = 0;
  for (int i = 0; i < 16; ++i) {
    std::istringstream in(files[i].str());
    for (std::string line; std::getline(in, line); ++total) EXPECT_EQ(line[0], "0123456789ABCDEF"[i]) << line;
  }
  EXPECT_EQ(total, 30);
}

TEST_F(PositionLines, IllegalStoredMoveWritesNothing) {
  const HashKey key = pos.hashKey;
  std::ostringstream out;
  std::ostream* outputs[1] = {&out};
  for (Move bad : {makeMoveWord(E2, E5, QUIET), Move(0x3104), Move(0)}) {
    GameRecord game = makeGame(RESULT_WHITE_WINS, {E2E4, E7E5, bad, E7E5});
    EXPECT_THROW(writePositionLines(pos, game, outputs, 1), PgnError);
    EXPECT_EQ(out.str(), "");
    EXPECT_EQ(pos.hashKey, key);
    EXPECT_EQ(pos.historyTop, pos.history);
  }
}

}  // namespace
