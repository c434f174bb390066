// Start-up through the real binary: handshake, "Dorvik.ini" and the start-up report.
#include <gtest/gtest.h>

#include <regex>
#include <string>

#include "e2e/harness.h"

namespace {

using e2e::runDorvik;

// Every start-up error says why: here, an ini without the key.
const std::string EGBB_ERROR = "EGBB ERROR: endgame bitbases not loaded: no EGBB_PATH= line in Dorvik.ini\n";

const std::string FEATURES =
    "\nfeature done=0\nfeature setboard=1\nfeature ping=1\nfeature playother=1\nfeature sigint=0\n"
    "feature sigterm=0\nfeature analyze=1\nfeature colors=0\nfeature variants=\"normal\"\nfeature smp=1\n"
    "feature memory=1\nfeature debug=1\nfeature myname=\"Dorvik 1.0\"\n";

// The output without the features that list the options (their values follow the ini; one test
// checks them).
std::string withoutOptions(const std::string& out) {
  return std::regex_replace(out, std::regex("feature option=[^\n]*\n"), "");
}

// Everything start-up prints before the bitbase report, with an ini file present and xboard.
const std::string HANDSHAKE_OUTPUT = FEATURES + "feature done=1\nBOOK ERROR: no BOOK_PATH= line in Dorvik.ini\n";

std::string withIni(const std::string& ini) {
  return withoutOptions(runDorvik({std::string(e2e::XBOARD_HANDSHAKE) + "quit\n", ini.c_str()}).out);
}

TEST(StartUp, XboardHandshakeInEmptyFolder) {
  auto r = runDorvik({"xboard\nprotover 2\naccepted done\naccepted setboard\naccepted done\nnew\nquit\n"});
  // The places looked at, in order: the working folder, the user's, the installation's, the source tree's.
  const std::string around = r.around->path().string();
  const std::string notFound = "ERROR: Dorvik.ini cannot be opened: there is none at ./Dorvik.ini, " + around +
                               "/home/.config/dorvik/Dorvik.ini, " + around + "/share/dorvik/Dorvik.ini or " +
                               around + "/Dorvik.ini\n";
  const std::string noIni = "BOOK ERROR: no Dorvik.ini read\nEGBB ERROR: endgame bitbases not loaded: no Dorvik.ini read\n";
  EXPECT_EQ(withoutOptions(r.out), FEATURES + notFound + "feature done=1\n" + noIni);
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(e2e::loggedCommands(r.log), (std::vector<std::string>{"new", "quit"}));
  EXPECT_NE(r.log.find(notFound), std::string::npos);
  EXPECT_NE(r.log.find(noIni), std::string::npos);
}

// Start-up once read exactly six words after "xboard"; the replies to the features now come
// whenever the front end sends them, as many as it likes, and the loop reads them.
TEST(StartUp, HandshakeRepliesMayComeInAnyNumberAndAtAnyTime) {
  for (const char* replies :
       {"", "accepted ping\n", "accepted done\nrejected sigint\naccepted ping\naccepted myname\n"}) {
    auto r = runDorvik({std::string("xboard\nprotover 2\n") + replies + "new\nrejected colors\nping 3\nquit\n", ""});
    EXPECT_EQ(withoutOptions(r.out), HANDSHAKE_OUTPUT + EGBB_ERROR + "pong 3\n") << replies;
    EXPECT_EQ(r.status, 0);
  }
}

TEST(StartUp, OtherFirstWordWarnsAndReadsNothingMore) {
  auto r = runDorvik({"hello\nnew\nquit\n", ""});
  EXPECT_EQ(withoutOptions(r.out), "Engine works only with xboard protocol ver. 2\n" + HANDSHAKE_OUTPUT + EGBB_ERROR);
  EXPECT_EQ(e2e::loggedCommands(r.log), (std::vector<std::string>{"new", "quit"}));
}

TEST(StartUp, EmptyIniGivesBookAndBitbaseErrors) {
  EXPECT_EQ(withIni(""), HANDSHAKE_OUTPUT + EGBB_ERROR);
}

TEST(StartUp, ProjectBitbaseLibraryLoads) {
  EXPECT_EQ(withIni("EGBB_PATH=" DORVIK_EGBB_DIR "\n"), HANDSHAKE_OUTPUT + "EGBB_LOAD=1\nEGBB_CACHE=4\n");
}

TEST(StartUp, BitbaseDirectoryIsTrimmedAndGetsASeparator) {
  std::string dir = DORVIK_EGBB_DIR;
  dir.pop_back();  // no trailing "/"
  EXPECT_EQ(withIni("EGBB_PATH= \t" + dir + " \t\r\n"), HANDSHAKE_OUTPUT + "EGBB_LOAD=1\nEGBB_CACHE=4\n");
}

TEST(StartUp, LoadModeAndCacheCorrections) {
  const std::string path = "EGBB_PATH=" DORVIK_EGBB_DIR "\n";
  EXPECT_EQ(withIni(path + "EGBB_LOAD=9\n"), HANDSHAKE_OUTPUT + "EGBB_LOAD=1\nEGBB_CACHE=4\n");
  EXPECT_EQ(withIni(path + "EGBB_LOAD=-1\n"), HANDSHAKE_OUTPUT + "EGBB_LOAD=1\nEGBB_CACHE=4\n");
  EXPECT_EQ(withIni(path + "EGBB_LOAD=0\n"),
            HANDSHAKE_OUTPUT + "EGBB_LOAD=0\nEGBB WARNING: EGBB_LOAD < 1 in 'Dorvik.ini' file.\nEGBB_CACHE=4\n");
  EXPECT_EQ(withIni(path + "EGBB_CACHE=-5\n"), HANDSHAKE_OUTPUT + "EGBB_LOAD=1\nEGBB_CACHE=4\n");
  EXPECT_EQ(withIni(path + "EGBB_CACHE=2\n"),
            HANDSHAKE_OUTPUT + "EGBB_LOAD=1\nEGBB_CACHE=2\nEGBB WARNING: EGBB_CACHE < 4 in 'Dorvik.ini' file.\n");
  // Leading blanks and a sign before the digits; text after them is ignored; the last line counts.
  EXPECT_EQ(withIni(path + "EGBB_LOAD=3\nEGBB_CACHE=  +16MB\nEGBB_LOAD=5\n"),
            HANDSHAKE_OUTPUT + "EGBB_LOAD=5\nEGBB_CACHE=16\n");
  // No digits at all reads as 0.
  EXPECT_EQ(withIni(path + "EGBB_LOAD=x\n"),
            HANDSHAKE_OUTPUT + "EGBB_LOAD=0\nEGBB WARNING: EGBB_LOAD < 1 in 'Dorvik.ini' file.\nEGBB_CACHE=4\n");
}

TEST(StartUp, CommentsAndUnknownKeysAreSkipped) {
  const std::string dir = DORVIK_EGBB_DIR;
  EXPECT_EQ(withIni("  # EGBB_PATH=" + dir + "\n"), HANDSHAKE_OUTPUT + EGBB_ERROR);
  EXPECT_EQ(withIni("\t#EGBB_PATH=" + dir + "\n"), HANDSHAKE_OUTPUT + EGBB_ERROR);
  EXPECT_EQ(withIni("egbb_path=" + dir + "\n"), HANDSHAKE_OUTPUT + EGBB_ERROR);
  EXPECT_EQ(withIni("EGBB_PATH " + dir + "\n"), HANDSHAKE_OUTPUT + EGBB_ERROR);
  // Leading blanks before a key are skipped like those before a comment.
  EXPECT_EQ(withIni("   EGBB_PATH=" + dir + "\n"), HANDSHAKE_OUTPUT + "EGBB_LOAD=1\nEGBB_CACHE=4\n");
}

TEST(StartUp, OverlongIniLineIsCutAndTheNextLineStillRead) {
  std::string ini = "# " + std::string(10000, 'x') + "\nEGBB_PATH=" DORVIK_EGBB_DIR "\n";
  EXPECT_EQ(withIni(ini), HANDSHAKE_OUTPUT + "EGBB_LOAD=1\nEGBB_CACHE=4\n");
}

// xboard gives an engine up, as one that failed to start, for any line with "No such file",
// "Permission denied", "not found" and a few other phrases: the system's reasons reach it in
// other letters (the log keeps them as they are).
TEST(StartUp, UnloadableBitbaseLibraryIsReportedWithWhatFailed) {
  const std::string notLoaded = "EGBB ERROR: endgame bitbases not loaded: ";
  EXPECT_EQ(withIni("EGBB_PATH=/nonexistent/dir\n"),
            HANDSHAKE_OUTPUT + notLoaded + "no folder /nonexistent/dir/: no such file or directory\n");
  EXPECT_EQ(withIni("EGBB_PATH=/\n"),
            HANDSHAKE_OUTPUT + notLoaded + "no library /egbbso64.so: no such file or directory\n");
  auto missing = runDorvik({std::string(e2e::XBOARD_HANDSHAKE) + "quit\n", "BOOK_PATH=nowhere/\nEGBB_PATH=nowhere/\n"});
  for (const char* phrase : {"No such file", "not found", "Permission denied"})
    EXPECT_EQ(missing.out.find(phrase), std::string::npos) << phrase << " in\n" << missing.out;
  EXPECT_NE(missing.out.find("BOOK ERROR: Cannot load file: 'nowhere/"), std::string::npos) << missing.out;
  EXPECT_NE(missing.log.find("nowhere/: No such file or directory"), std::string::npos) << missing.log;
  // A file of that name that is no library at all: the loader's own words.
  auto r = runDorvik({std::string(e2e::XBOARD_HANDSHAKE) + "quit\n", "EGBB_PATH=./\n",
                      {{"egbbso64.so", "not a library"}}});
  EXPECT_EQ(withoutOptions(r.out), HANDSHAKE_OUTPUT + notLoaded + "./egbbso64.so: file too short\n");
  EXPECT_EQ(r.status, 0);
}

// The options are announced as xboard's option features, with the values start-up found: an xboard
// front end lists them in its options dialog and sends "option NAME=VALUE" back.
TEST(StartUp, OptionsAreAnnouncedWithTheirValues) {
  auto r = runDorvik({std::string(e2e::XBOARD_HANDSHAKE) + "quit\n", "EGBB_PATH=" DORVIK_EGBB_DIR "\nMOVE_OVERHEAD=70\n"});
  std::smatch m;
  ASSERT_TRUE(std::regex_search(r.out, m, std::regex("(feature option=[^\n]*\n)+"))) << r.out;
  EXPECT_EQ(m.str(0),
            "feature option=\"Hash -spin 18 1 1048576\"\nfeature option=\"Threads -spin 1 1 256\"\n"
            "feature option=\"Clear Hash -button\"\nfeature option=\"Move Overhead -spin 70 0 5000\"\n"
            "feature option=\"MultiPV -spin 1 1 16\"\nfeature option=\"OwnBook -check 1\"\n"
            "feature option=\"BookPath -path \"\nfeature option=\"EgbbPath -path " DORVIK_EGBB_DIR "\"\n");
  // They come before "done=1", which ends the handshake.
  EXPECT_LT(r.out.find("feature option="), r.out.find("feature done=1"));
}

}  // namespace
