#include <gtest/gtest.h>

#include <cstring>
#include <sstream>
#include <string>

#include "board/fen.h"
#include "board/move.h"
#include "board/position.h"
#include "tools/pgn_reader.h"

namespace {

// Key facts of a position, to show that reading a game leaves it as it was.
struct PositionFacts {
  HashKey key;
  int side;
  long top;  // history entries in use
  uint16_t plyCount;
  Piece board[64];
  bool operator==(const PositionFacts& o) const {
    return key == o.key && side == o.side && top == o.top && plyCount == o.plyCount &&
           !std::memcmp(board, o.board, 64);
  }
};
PositionFacts facts(const Position& pos) {
  PositionFacts f{pos.hashKey, pos.sideToMove, pos.historyTop - pos.history, pos.plyCount, {}};
  std::memcpy(f.board, pos.board, 64);
  return f;
}

class PgnReader : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(SetupPosition(pos_, START_FEN));
    initial_ = facts(pos_);
  }
  // Reads one game from the text; the position must be back at the start afterwards.
  uint16_t read(const std::string& text) {
    in_.str(text);
    in_.clear();
    const uint16_t result = readPgnGame(in_, pos_, game_);
    EXPECT_EQ(facts(pos_), initial_);
    return result;
  }
  // The message of the error raised while reading, or "" when none is raised.
  std::string errorOf(const std::string& text) {
    try {
      read(text);
    } catch (const PgnError& e) {
      EXPECT_EQ(facts(pos_), initial_);
      return e.message;
    }
    return "";
  }
  std::istringstream in_;
  Position pos_;
  GameRecord game_;
  PositionFacts initial_;
};

TEST_F(PgnReader, ReadsMovesAndResult) {
  EXPECT_EQ(read("[Event \"x\"]\n[Result \"1-0\"]\n\n1. e4 e5 2. Nf3 1-0\n"), 0x8000);
  EXPECT_EQ(game_.header, 0x8003);
  EXPECT_EQ(game_.moves[0], makeMoveWord(E2, E4, QUIET));
  EXPECT_EQ(game_.moves[1], makeMoveWord(E7, E5, QUIET));
  EXPECT_EQ(game_.moves[2], makeMoveWord(G1, F3, QUIET));
  EXPECT_STREQ(game_.resultText, "1-0");
  EXPECT_EQ(game_.resultChar, 'W');
}

TEST_F(PgnReader, SkipsCommentsVariationsNagsAndMoveNumbers) {
  EXPECT_EQ(read("[Result \"1/2-1/2\"]\n1. e4 {a { b } c} e5 ( 1... d5 ( 1... c5 ) ) 2. Nf3 $14 Nc6 "
                 "3. a3?! 1/2-1/2"),
            0xC000);
  EXPECT_EQ(game_.header, 0xC005);
  EXPECT_EQ(game_.moves[4], makeMoveWord(A2, A3, QUIET));
  EXPECT_EQ(read("[Result \"0-1\"]\n1.e4{x}e5 10.Nf3 0-1"), 0x4000);
  EXPECT_EQ(game_.header, 0x4003);
}

TEST_F(PgnReader, CastlingEnPassantAndPromotion) {
  read("[Result \"1-0\"]\n1. e4 e5 2. Nf3 Nc6 3. Bc4 Bc5 4. O-O Nf6 1-0");
  EXPECT_EQ(game_.moves[6], 0xDF3E);
  read("[Result \"1-0\"]\n1. e4 a6 2. e5 d5 3. exd6 1-0");
  EXPECT_EQ(game_.moves[4], makeMoveWord(E5, D6, EN_PASSANT));
  read("[Result \"1-0\"]\n1. h4 g5 2. hxg5 h5 3. gxh6 Nf6 4. h7 Ng8 5. hxg8=Q 1-0");
  EXPECT_EQ(gamePlies(game_), 9);
  EXPECT_EQ(game_.moves[8], makeMoveWord(H7, G8, CAPTURE_PROMO_Q));
}

TEST_F(PgnReader, PinnedKnightIsPassedOverWhenResolvingTheMover) {
  read("[Result \"0-1\"]\n1. d4 e5 2. Nd2 Bb4 3. Nf3 0-1");
  EXPECT_EQ(game_.moves[4], makeMoveWord(G1, F3, QUIET));
}

TEST_F(PgnReader, GamesWithoutStoredResultGiveZero) {
  EXPECT_EQ(read("[Result \"*\"]\n1. e4 e5 *\n"), 0);
  EXPECT_EQ(gamePlies(game_), 2);
  EXPECT_EQ(read("[Result \"1-0\"]\n1-0\n"), 0);  // tags and result only
  EXPECT_EQ(game_.header, 0);
}

TEST_F(PgnReader, AfterAStarGameTheNextGameIsRead) {
  in_.str("[Result \"*\"]\n1. e4 *\n\n[Result \"0-1\"]\n1. d4 d5 0-1\n");
  EXPECT_EQ(readPgnGame(in_, pos_, game_), 0);
  EXPECT_EQ(readPgnGame(in_, pos_, game_), 0x4000);
  EXPECT_EQ(game_.header, 0x4002);
}

TEST_F(PgnReader, UnreadableMoveRejectsTheGameAndTheNextGameIsRead) {
  in_.str("[Result \"1-0\"]\n1. e4 e5 2. Zf3 Nc6 3. Bb5 1-0\n[Result \"0-1\"]\n1. d4 0-1\n");
  testing::internal::CaptureStdout();
  EXPECT_EQ(readPgnGame(in_, pos_, game_), 0);
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "move: Zf3, plyNo:3\n");
  EXPECT_EQ(facts(pos_), initial_);
  EXPECT_EQ(readPgnGame(in_, pos_, game_), 0x4000);
  EXPECT_EQ(game_.header, 0x4001);
}

TEST_F(PgnReader, ResultTokenThatDiffersFromTheTagRejectsTheGame) {
  testing::internal::CaptureStdout();
  EXPECT_EQ(read("[Result \"1-0\"]\n1. e4 1/2-1/2\n"), 0);
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "move: /2-1/2, plyNo:2\n");
}

TEST_F(PgnReader, SemicolonCommentIsTakenForAMove) {
  testing::internal::CaptureStdout();
  EXPECT_EQ(read("[Result \"1-0\"]\n1. e4 ; best by test\n1-0\n"), 0);
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "move: ;, plyNo:2\n");
}

TEST_F(PgnReader, CastlingWithZerosInMovetext) {
  const char* moves = "1. e4 e5 2. Nf3 Nc6 3. Bc4 Bc5 4. 0-0 Nf6 ";
  // The zero is skipped as a digit and "-0" is no move.
  testing::internal::CaptureStdout();
  EXPECT_EQ(read(std::string("[Result \"1-0\"]\n") + moves + "1-0"), 0);
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "move: -0, plyNo:7\n");
  // In a game black won, "0-" begins the result token.
  EXPECT_EQ(errorOf(std::string("[Result \"0-1\"]\n") + moves + "0-1"), "wrong end result 1");
}

TEST_F(PgnReader, RaisedErrors) {
  EXPECT_EQ(errorOf("[Result \"?\"]\n1. e4 *"), "Result Error 1");
  EXPECT_EQ(errorOf("[Result \"\"]\n1. e4 *"), "Result Error 1");
  EXPECT_EQ(errorOf("[Result]\n1. e4 *"), "Result Error 1");
  EXPECT_EQ(errorOf("[Event \"x\"]\n1. e4 1-0"), "Result Error 2");
  EXPECT_EQ(errorOf("[Result \"0-1\"]\n1. e4 e5 *"), "Result * error");
  EXPECT_EQ(errorOf("[Result \"0-1\"]\n1. e4 e5 0-0"), "wrong end result 1");
  testing::internal::CaptureStdout();
  EXPECT_EQ(errorOf("[Result \"1-0\"]\n1. e4 e5 2. e5 1-0"), "MOVE NOT LEGAL 1");
  EXPECT_EQ(errorOf("[Result \"1-0\"]\n1. d4 e5 2. Nd2 Bb4 3. Nb3 1-0"), "MOVE NOT LEGAL 2 - check revealed");
  const std::string out = testing::internal::GetCapturedStdout();
  EXPECT_NE(out.find("move: e5, plyNo:3\n"), std::string::npos);
  EXPECT_NE(out.find("move: Nb3, plyNo:5\n"), std::string::npos);
}

TEST_F(PgnReader, TagSectionThatEndsTheStreamGivesFalse) {
  in_.str("[Result \"1-0\"]\n");
  EXPECT_FALSE(readPgnTags(in_, game_));
  in_.clear();
  in_.str("");
  EXPECT_FALSE(readPgnTags(in_, game_));
  in_.clear();
  in_.str("[Event \"" + std::string(600, 'x') + "\"]\n[Result \"1-0\"]\n1. e4 1-0");
  EXPECT_FALSE(readPgnTags(in_, game_));
  EXPECT_TRUE(in_.fail());
}

TEST_F(PgnReader, SetResultMapsTheCharacters) {
  setResult('B', game_);
  EXPECT_STREQ(game_.resultText, "0-1");
  setResult('D', game_);
  EXPECT_STREQ(game_.resultText, "1/2-1/2");
  EXPECT_EQ(game_.resultChar, 'D');
  setResult('x', game_);
  EXPECT_STREQ(game_.resultText, "");
  EXPECT_EQ(game_.resultChar, '?');
}

TEST_F(PgnReader, MoveTokenEndsAtBlankOrBraceAndHoldsTenCharacters) {
  in_.str("Nf3{c}");
  EXPECT_EQ(readMoveToken(in_, pos_, game_), makeMoveWord(G1, F3, QUIET));
  EXPECT_STREQ(game_.token, "Nf3");
  EXPECT_EQ(in_.get(), '{');
  in_.clear();
  in_.str("abcdefghijkl");
  EXPECT_EQ(readMoveToken(in_, pos_, game_), 0);
  EXPECT_STREQ(game_.token, "abcdefghij");
}

TEST_F(PgnReader, GameLongerThanTheStoreKeepsItsFirstPlies) {
  // Knights out and back: 1040 plies, of which 1023 are stored.
  std::string text = "[Result \"1/2-1/2\"]\n";
  for (int i = 0; i < 260; ++i) text += "Nf3 Nf6 Ng1 Ng8 ";
  text += "1/2-1/2\n";
  EXPECT_EQ(read(text), 0xC000);
  EXPECT_EQ(gamePlies(game_), 1023);
  EXPECT_EQ(game_.moves[1020], makeMoveWord(G1, F3, QUIET));
  EXPECT_EQ(game_.moves[1022], makeMoveWord(F3, G1, QUIET));
}

}  // namespace
