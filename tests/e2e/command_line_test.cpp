// The program's arguments: the bench testers run ("dorvik bench"), the version, the help; a wrong
// argument fails without starting the engine.
#include <gtest/gtest.h>

#include <regex>
#include <string>

#include "e2e/harness.h"

namespace {

e2e::Result runWith(std::vector<std::string> arguments) {
  e2e::Run run("xboard\nquit\n");
  run.arguments = std::move(arguments);
  return e2e::runDorvik(run);
}

TEST(CommandLine, BenchEndsWithTheNodesAndSpeedLineTestersRead) {
  auto r = runWith({"bench", "3"});
  EXPECT_EQ(r.status, 0);
  std::smatch last;
  ASSERT_TRUE(std::regex_search(r.out, last, std::regex("\n(\\d+) nodes (\\d+) nps\n$"))) << r.out;
  EXPECT_NE(r.out.find("signature (total nodeCount): " + last[1].str() + "\n"), std::string::npos) << r.out;
  // A bench reads nothing and leaves no log behind.
  EXPECT_FALSE(r.exists("Dorvik.log"));
}

TEST(CommandLine, VersionHelpAndWrongArguments) {
  auto version = runWith({"--version"});
  EXPECT_EQ(version.out, "Dorvik 1.0\n");
  EXPECT_EQ(version.status, 0);
  auto help = runWith({"--help"});
  EXPECT_EQ(help.out.rfind("Usage: dorvik ", 0), 0u) << help.out;
  EXPECT_EQ(help.status, 0);
  for (auto arguments : {std::vector<std::string>{"--bogus"},
                         {"--version", "x"},
                         {"bench", "0"},
                         {"bench", "5x"},
                         {"bench", "4", "4"}}) {
    auto wrong = runWith(arguments);
    EXPECT_EQ(wrong.status, 2) << arguments.back();
    EXPECT_EQ(wrong.out, "");
    EXPECT_NE(wrong.err.find("Usage: dorvik "), std::string::npos) << wrong.err;
    EXPECT_FALSE(wrong.exists("Dorvik.log"));
  }
}

}  // namespace
