// Where the player's progress and music go: beside the game when its folder takes new
// files, else in the player's data folder.

#include <gtest/gtest.h>

#include "shell/player_folders.h"

namespace {

FolderFacts facts(bool writable, const std::string& xdg, const std::string& home) {
    return FolderFacts{"/opt/cablewright", writable, xdg, home};
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
