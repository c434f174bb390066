// Which "Dorvik.ini" is read, and how the folders it names are read.
#include "driver/config_location.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "io/user_folders.h"

namespace {

using Candidates = std::vector<std::string>;

TEST(ConfigLocation, PlacesInOrderForAnInstalledEngineAndForABuildFolder) {
  EXPECT_EQ(ConfigurationCandidates({"/home/ann/.config", "/usr/games/dorvik"}),
            (Candidates{"Dorvik.ini", "/home/ann/.config/dorvik/Dorvik.ini", "/usr/share/dorvik/Dorvik.ini",
                        "/usr/Dorvik.ini"}));
  EXPECT_EQ(ConfigurationCandidates({"/home/ann/.config/", "/home/ann/dorvik/build/dorvik"}),
            (Candidates{"Dorvik.ini", "/home/ann/.config/dorvik/Dorvik.ini", "/home/ann/dorvik/share/dorvik/Dorvik.ini",
                        "/home/ann/dorvik/Dorvik.ini"}));
  // Without a home or a known executable only the working folder is left.
  EXPECT_EQ(ConfigurationCandidates({"", ""}), (Candidates{"Dorvik.ini"}));
}

TEST(ConfigLocation, FirstPlaceThatHoldsAFileWins) {
  const Candidates candidates = ConfigurationCandidates({"/home/ann/.config", "/usr/games/dorvik"});
  auto chosen = [&](std::set<std::string> files) {
    return ChooseConfiguration(candidates, [&](const std::string& path) { return files.count(path) > 0; });
  };
  EXPECT_EQ(chosen({"/usr/share/dorvik/Dorvik.ini", "/usr/Dorvik.ini"}), "/usr/share/dorvik/Dorvik.ini");
  EXPECT_EQ(chosen({"/usr/share/dorvik/Dorvik.ini", "/home/ann/.config/dorvik/Dorvik.ini"}),
            "/home/ann/.config/dorvik/Dorvik.ini");
  EXPECT_EQ(chosen({"Dorvik.ini", "/home/ann/.config/dorvik/Dorvik.ini"}), "Dorvik.ini");
  EXPECT_EQ(chosen({}), "");
}

TEST(ConfigLocation, RelativeFoldersAreTakenFromTheFilesFolder) {
  EXPECT_EQ(ResolveFromIni("/usr/share/dorvik/Dorvik.ini", "book/"), "/usr/share/dorvik/book/");
  EXPECT_EQ(ResolveFromIni("/usr/share/dorvik/Dorvik.ini", "/opt/egbb/"), "/opt/egbb/");
  EXPECT_EQ(ResolveFromIni("/usr/share/dorvik/Dorvik.ini", ""), "");
  // The working folder's file leaves them to the working folder.
  EXPECT_EQ(ResolveFromIni("Dorvik.ini", "book/"), "book/");
}

TEST(ConfigLocation, UserFoldersFollowTheXdgRules) {
  EXPECT_EQ(UserBaseFolder("/xdg/config", "/home/ann", ".config"), "/xdg/config");
  // A relative value is not to be used, nor a home that is no absolute path.
  EXPECT_EQ(UserBaseFolder("xdg/config", "/home/ann", ".config"), "/home/ann/.config");
  EXPECT_EQ(UserBaseFolder(nullptr, "/home/ann", ".local/state"), "/home/ann/.local/state");
  EXPECT_EQ(UserBaseFolder("", nullptr, ".config"), "");
  EXPECT_EQ(UserBaseFolder(nullptr, "relative", ".config"), "");
}

}  // namespace
