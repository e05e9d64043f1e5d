// The whole program as installed: the game folder holds only the game's files and
// the progress goes to the player's data folder, from which the next run continues.

#include <gtest/gtest.h>

#include <filesystem>

#include "media/scripted/scripted_media.h"
#include "shell/player_folders.h"
#include "shell/run_game.h"
#include "support/test_support.h"

namespace {

namespace fs = std::filesystem;

constexpr int ContinueButtonY = 257;

// Clicks the menu button at y, holds Escape in play until the menu is back, then ends.
void playOnceFrom(ScriptedMedia& media, int buttonY) {
    media.moveMouse(0, 650, buttonY);
    media.click(150);
    media.pressKey(700, Key::Escape);
    media.releaseKey(900, Key::Escape);
    media.tapKey(1200, Key::Escape);
    media.frameLimit = 2000;
}

}  // namespace

TEST(InstalledGame, ProgressGoesToThePlayersFolderAndContinuesFromThere) {
    if (!fs::exists(gameFolder() / "maps/newmapdata.cwm")) GTEST_SKIP() << "no built game folder";
    ScratchFolder scratch("installed");
    const fs::path game = scratch.path() / "game";
    fs::create_directories(game);
    for (const char* name : {"gfx", "gfx@2", "gfx@3", "sfx", "maps", "tracks"})
        fs::create_directory_symlink(fs::absolute(gameFolder() / name), game / name);
    WorkingFolder inGame(game);
    const fs::path mine = scratch.path() / "home/.local/share/cablewright";
    const PlayerFolders folders{mine.string(), (mine / "tracks").string()};

    {
        ScriptedMedia media;
        playOnceFrom(media, 200);  // new game
        EXPECT_EQ(runGame(media, folders), 0);
        EXPECT_TRUE(media.warnings.empty()) << media.warnings.front();
    }
    EXPECT_EQ(readBytes((mine / "oldgame.cwm").string()).size(), 16u);
    EXPECT_EQ(readBytes((mine / "oldgame.cws").string()).size(), 312u);
    EXPECT_FALSE(fs::exists(game / "oldgame.cwm"));

    // Next run: Continue is live and loads the saved game from the player's folder, so
    // leaving play again writes back its level (a new game would write level 0).
    writeBytes((mine / "oldgame.cwm").string(), littleEndian({3, 12, 15, 7}));
    ScriptedMedia media;
    playOnceFrom(media, ContinueButtonY);
    EXPECT_EQ(runGame(media, folders), 0);
    EXPECT_EQ(readBytes((mine / "oldgame.cwm").string()), littleEndian({3, 12, 15, 7}));
}

// Root playing a game installed in a prefix of its own: it could write beside the program,
// yet the progress goes to root's data folder, and the installed files are as they were.
TEST(InstalledGame, RootWritesNothingUnderTheInstallPrefix) {
    if (!fs::exists(gameFolder() / "maps/newmapdata.cwm")) GTEST_SKIP() << "no built game folder";
    ScratchFolder scratch("installed-root");
    const fs::path prefix = scratch.path() / "usr";
    const fs::path game = prefix / "lib/games/cablewright";
    fs::create_directories(game);
    for (const char* name : {"gfx", "sfx", "maps", "tracks"})
        fs::create_directory_symlink(fs::absolute(gameFolder() / name), game / name);
    WorkingFolder inGame(game);
    FolderFacts facts;
    facts.gameFolder = game.string();
    facts.gameFolderWritable = true;
    facts.home = (scratch.path() / "root").string();
    facts.installPrefixes = {"/usr/local", "/usr"};
    facts.installedProgramFolder = "lib/games/cablewright";
    const PlayerFolders folders = choosePlayerFolders(facts);

    ScriptedMedia media;
    playOnceFrom(media, 200);
    EXPECT_EQ(runGame(media, folders), 0);
    for (const auto& entry : fs::recursive_directory_iterator(prefix))
        EXPECT_TRUE(entry.is_symlink() || entry.is_directory()) << entry.path() << " was written under the prefix";
    EXPECT_EQ(readBytes((scratch.path() / "root/.local/share/cablewright/oldgame.cwm").string()).size(), 16u);
}

TEST(InstalledGame, WithoutAnyDataFolderNothingIsReadOrWrittenAndThatIsSaidOnce) {
    if (!fs::exists(gameFolder() / "maps/newmapdata.cwm")) GTEST_SKIP() << "no built game folder";
    ScratchFolder scratch("installed-homeless");
    const fs::path game = scratch.path() / "usr/lib/games/cablewright";
    fs::create_directories(game);
    for (const char* name : {"gfx", "sfx", "maps", "tracks"})
        fs::create_directory_symlink(fs::absolute(gameFolder() / name), game / name);
    writeBytes((game / "oldgame.cwm").string(), littleEndian({3, 12, 15, 7}));  // left by an older version
    WorkingFolder inGame(game);
    PlayerFolders folders;
    folders.progressKept = false;

    ScriptedMedia media;
    playOnceFrom(media, ContinueButtonY);  // inert: there is no saved game to continue
    media.moveMouse(200, 650, 200);
    media.click(210);  // a new game instead
    EXPECT_EQ(runGame(media, folders), 0);
    EXPECT_EQ(readBytes((game / "oldgame.cwm").string()), littleEndian({3, 12, 15, 7}));
    EXPECT_FALSE(fs::exists(game / "oldgame.cws"));
    ASSERT_EQ(media.warnings.size(), 1u);
    EXPECT_NE(media.warnings[0].find("progress not saved"), std::string::npos) << media.warnings[0];
}
