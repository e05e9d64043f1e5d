// The whole program as installed: the game folder holds only the game's files and
// the progress goes to the player's data folder, from which the next run continues.

#include <gtest/gtest.h>

#include <filesystem>

#include "media/scripted/scripted_media.h"
#include "shell/run_game.h"
#include "support/test_support.h"

namespace {

namespace fs = std::filesystem;

constexpr int ContinueButtonY = 257;

std::vector<uint8_t> littleEndian(std::initializer_list<int32_t> values) {
    std::vector<uint8_t> bytes;
    for (int32_t value : values)
        for (int shift = 0; shift < 32; shift += 8)
            bytes.push_back(static_cast<uint8_t>(static_cast<uint32_t>(value) >> shift));
    return bytes;
}

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
