// Where the engine finds its settings and writes its log, started from any folder as front ends
// start it: the installed "Dorvik.ini" with its relative folders, the user's over it, the working
// folder's over both; a log per running engine, in the user's state folder when the working
// folder takes none.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "e2e/harness.h"
#include "e2e/session.h"

namespace {

namespace fs = std::filesystem;
using e2e::runDorvik;

// An installation in the engine's surroundings: the installed ini beside the book and the
// bitbase folder, both of this build.
std::shared_ptr<e2e::TempDir> installation() {
  auto around = std::make_shared<e2e::TempDir>();
  const fs::path data = around->path() / "share" / "dorvik";
  fs::create_directories(data);
  fs::copy_file(fs::path(DORVIK_SOURCE_DIR) / "packaging" / "Dorvik.ini", data / "Dorvik.ini");
  fs::create_directory_symlink(fs::path(DORVIK_SOURCE_DIR) / "book", data / "book");
  fs::create_directory_symlink(DORVIK_EGBB_DIR, data / "egbb");
  return around;
}

// A game from the start position: the engine's first move comes from the book when it has one.
const std::string BOOK_GAME = std::string(e2e::XBOARD_HANDSHAKE) + "new\ngo\nforce\nquit\n";

TEST(FilesLocation, InstalledIniIsFoundFromAnyFolderAndReadsItsFoldersFromItsOwn) {
  e2e::Run run(BOOK_GAME);
  run.around = installation();
  auto r = runDorvik(run);
  EXPECT_EQ(r.out.find("ERROR"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("\nEGBB_LOAD=1\n"), std::string::npos) << r.out;
  EXPECT_NE(r.log.find("move (book) "), std::string::npos) << r.log;
  const std::string installed = (run.around->path() / "share/dorvik/Dorvik.ini").string();
  EXPECT_NE(r.log.find("Dorvik.ini read: " + installed + "\n"), std::string::npos) << r.log;
}

TEST(FilesLocation, TheUsersIniComesBeforeTheInstalledOneAndTheWorkingFoldersBeforeBoth) {
  auto around = installation();
  e2e::writeFiles(around->path(), {{"home/.config/dorvik/Dorvik.ini", "EGBB_PATH=users/\n"}});
  e2e::Run run(BOOK_GAME);
  run.around = around;
  auto users = runDorvik(run);
  const std::string userFolder = (around->path() / "home/.config/dorvik/").string();
  EXPECT_NE(users.out.find("EGBB ERROR: endgame bitbases not loaded: no folder " + userFolder + "users/"),
            std::string::npos)
      << users.out;
  EXPECT_NE(users.log.find("Dorvik.ini read: " + userFolder + "Dorvik.ini\n"), std::string::npos) << users.log;

  run.ini = "EGBB_PATH=working/\n";
  auto working = runDorvik(run);
  EXPECT_NE(working.out.find("EGBB ERROR: endgame bitbases not loaded: no folder working/"), std::string::npos)
      << working.out;
  EXPECT_NE(working.log.find("Dorvik.ini read: " + working.workDir.string() + "/Dorvik.ini\n"), std::string::npos)
      << working.log;
}

// pychess starts three engines in one folder; each used to empty the one "Dorvik.log".
TEST(FilesLocation, NoEngineEmptiesOrWritesTheLogOfAnotherThatRuns) {
  e2e::Session first;
  first.send("post\nping 1\n");
  ASSERT_NE(first.waitFor("pong 1\n"), "");
  auto beside = [&](const char* command) {
    e2e::Run run(std::string(e2e::XBOARD_HANDSHAKE) + command + "\nquit\n", "");
    run.workDir = first.dir();
    return runDorvik(run);
  };
  auto second = beside("nopost");
  EXPECT_EQ(e2e::loggedCommands(second.file("Dorvik.2.log")), (std::vector<std::string>{"nopost", "quit"}));
  // A log whose engine has ended is free again, and emptied for the next.
  auto third = beside("easy");
  EXPECT_EQ(e2e::loggedCommands(third.file("Dorvik.2.log")), (std::vector<std::string>{"easy", "quit"}));
  EXPECT_EQ(e2e::loggedCommands(first.log()), (std::vector<std::string>{"post", "ping"}));
  EXPECT_TRUE(first.quit());
  auto fourth = beside("hard");
  EXPECT_EQ(e2e::loggedCommands(fourth.file("Dorvik.log")), (std::vector<std::string>{"hard", "quit"}));
}

TEST(FilesLocation, LogGoesToTheUsersStateFolderWhenTheWorkingFolderTakesNoFile) {
  e2e::Run run(std::string(e2e::XBOARD_HANDSHAKE) + "new\nquit\n");
  run.workDir = "/proc";
  auto r = runDorvik(run);
  EXPECT_EQ(r.status, 0);
  const fs::path log = r.around->path() / "home/.local/state/dorvik/Dorvik.log";
  EXPECT_EQ(e2e::loggedCommands(e2e::readFile(log)), (std::vector<std::string>{"new", "quit"}));
}

}  // namespace
