// The generator run as a user runs it: an ending asked for brings the smaller endings it needs,
// a damaged one among them is made again, and what it makes is the build's tables byte for byte.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace {

namespace fs = std::filesystem;

std::string readBytes(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

std::string run(const std::string& command) {
  std::string out;
  FILE* pipe = popen((command + " 2>&1").c_str(), "r");
  char buffer[256];
  while (pipe && std::fgets(buffer, sizeof buffer, pipe)) out += buffer;
  if (pipe) pclose(pipe);
  return out;
}

TEST(Generator, MakesTheEndingsAnEndingNeedsAndRemakesDamagedOnes) {
  char pattern[] = "/tmp/dorvik-egbbgen-XXXXXX";
  ASSERT_NE(mkdtemp(pattern), nullptr);
  fs::path dir = pattern;
  // KPK promotes into the four others; a truncated KQK is there already.
  std::string kqk = readBytes(fs::path(DORVIK_EGBB_DIR) / "KQK.dtm");
  std::ofstream(dir / "KQK.dtm", std::ios::binary) << kqk.substr(0, kqk.size() / 2);
  std::string out = run(std::string(EGBBGEN) + " --out " + dir.string() + " --threads 2 KPK");
  EXPECT_NE(out.find("KQK: " + dir.string() + "/KQK.dtm: truncated"), std::string::npos) << out;
  for (const char* name : {"KQK", "KRK", "KBK", "KNK", "KPK"}) {
    EXPECT_NE(out.find(std::string(name) + ": "), std::string::npos) << out;
    std::string file = std::string(name) + ".dtm";
    EXPECT_TRUE(readBytes(dir / file) == readBytes(fs::path(DORVIK_EGBB_DIR) / file)) << file << " differs";
  }
  EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 5);
  // Asked again, all are there and nothing is made.
  out = run(std::string(EGBBGEN) + " --out " + dir.string() + " KPK");
  for (const char* name : {"KQK", "KRK", "KBK", "KNK", "KPK"})
    EXPECT_NE(out.find(std::string(name) + ": present\n"), std::string::npos) << out;
  EXPECT_EQ(out.find("positions"), std::string::npos) << out;
  fs::remove_all(dir);
}

}  // namespace
