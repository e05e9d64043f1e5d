// Where the player's progress and music go: beside the game when its folder takes new
// files, else in the player's data folder.

#include <gtest/gtest.h>

#include "shell/player_folders.h"

namespace {

FolderFacts facts(bool writable, const std::string& xdg, const std::string& home,
                  const std::string& gameFolder = "/opt/cablewright") {
    FolderFacts facts;
    facts.gameFolder = gameFolder;
    facts.gameFolderWritable = writable;
    facts.xdgDataHome = xdg;
    facts.home = home;
    return facts;
}

}  // namespace

TEST(PlayerFolders, AWritableGameFolderKeepsTheProgressBesideTheGame) {
    const PlayerFolders folders = choosePlayerFolders(facts(true, "/data", "/home/ann"));
    EXPECT_EQ(folders.progress, "/opt/cablewright");
    EXPECT_EQ(folders.userTracks, "/data/cablewright/tracks");  // the player's music is merged anyway
}

TEST(PlayerFolders, AReadOnlyGameFolderSendsTheProgressToTheDataFolder) {
    const PlayerFolders folders = choosePlayerFolders(facts(false, "/data", "/home/ann"));
    EXPECT_EQ(folders.progress, "/data/cablewright");
    EXPECT_EQ(folders.userTracks, "/data/cablewright/tracks");
}

TEST(PlayerFolders, WithoutTheXdgVariableTheDataFolderIsInTheHome) {
    const PlayerFolders folders = choosePlayerFolders(facts(false, "", "/home/ann"));
    EXPECT_EQ(folders.progress, "/home/ann/.local/share/cablewright");
    EXPECT_EQ(folders.userTracks, "/home/ann/.local/share/cablewright/tracks");
}

TEST(PlayerFolders, ARelativeXdgVariableIsIgnored) {
    const PlayerFolders folders = choosePlayerFolders(facts(false, "data", "/home/ann"));
    EXPECT_EQ(folders.progress, "/home/ann/.local/share/cablewright");
}

TEST(PlayerFolders, WithNoHomeAtAllTheGameFolderIsTheOnlyTry) {
    const PlayerFolders folders = choosePlayerFolders(facts(false, "", ""));
    EXPECT_EQ(folders.progress, "/opt/cablewright");
    EXPECT_EQ(folders.userTracks, "");
}

// ---- An installed game: never beside the program, whoever plays -----------------------

namespace {

FolderFacts installed(const std::string& gameFolder, const std::string& xdg, const std::string& home) {
    FolderFacts facts = ::facts(true, xdg, home, gameFolder);  // root can write to it
    facts.installPrefixes = {"/usr/local", "/usr"};
    facts.installedProgramFolder = "lib/games/cablewright";
    return facts;
}

}  // namespace

TEST(PlayerFolders, AnInstalledGameKeepsTheProgressInTheDataFolderEvenWhenItCouldWriteBesideItself) {
    for (const char* gameFolder : {"/usr/lib/games/cablewright", "/usr/local/lib/games/cablewright",
                                   "/usr/local/games/a-copy", "/opt/stage/lib/games/cablewright/"}) {
        const PlayerFolders folders = choosePlayerFolders(installed(gameFolder, "", "/root"));
        EXPECT_EQ(folders.progress, "/root/.local/share/cablewright") << gameFolder;
        EXPECT_TRUE(folders.progressKept) << gameFolder;
    }
}

TEST(PlayerFolders, OnlyAGameFolderOutsideThePrefixesKeepsTheProgressBesideItself) {
    for (const char* gameFolder :
         {"/work/build/game", "/usrlocal/game", "/usr-games/lib/games", "/home/ann/lib/games"}) {
        const PlayerFolders folders = choosePlayerFolders(installed(gameFolder, "", "/home/ann"));
        EXPECT_EQ(folders.progress, gameFolder);
    }
}

TEST(PlayerFolders, AnInstalledGameWithNoDataFolderOutsideThePrefixesKeepsNothing) {
    const PlayerFolders homeless = choosePlayerFolders(installed("/usr/lib/games/cablewright", "", ""));
    EXPECT_FALSE(homeless.progressKept);
    EXPECT_EQ(homeless.userTracks, "");
    const PlayerFolders inside = choosePlayerFolders(installed("/usr/lib/games/cablewright", "/usr/share", "/root"));
    EXPECT_FALSE(inside.progressKept);
    EXPECT_NE(inside.progress, "/usr/lib/games/cablewright");
}
