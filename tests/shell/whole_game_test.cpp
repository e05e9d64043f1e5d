// The whole program on the scripted layer with the game's own generated files:
// start-up, the menu, a new game, leaving play with Escape, and the end.

#include <gtest/gtest.h>

#include <filesystem>

#include "media/scripted_media.h"
#include "shell/run_game.h"
#include "support/test_support.h"

namespace {

// A game folder whose pictures, sounds, levels and music are the built ones.
void linkGameFiles(const std::filesystem::path& folder) {
    const auto game = gameFolder();
    for (const char* name : {"gfx", "sfx", "maps", "tracks"})
        std::filesystem::create_directory_symlink(std::filesystem::absolute(game / name), folder / name);
    std::filesystem::copy_file(game / "oldgame.cws", folder / "oldgame.cws");
}

}  // namespace

TEST(WholeGame, NewGameThenEscapeSavesAndReturnsToTheMenu) {
    if (!std::filesystem::exists(gameFolder() / "maps/newmapdata.cwm")) GTEST_SKIP() << "no built game folder";
    ScratchFolder folder("wholegame");
    linkGameFiles(folder.path());
    WorkingFolder inFolder(folder.path());

    ScriptedMedia media;
    media.moveMouse(0, 650, 200);
    media.click(150);                 // new game; the menu fades out over 128 frames
    media.pressKey(700, KeyEscape);   // held: play fades out and saves
    media.releaseKey(900, KeyEscape);
    media.tapKey(1200, KeyEscape);    // back in the bright menu: the program ends
    media.frameLimit = 2000;
    EXPECT_EQ(runGame(media), 0);

    const auto saved = readBytes("oldgame.cwm");
    ASSERT_EQ(saved.size(), 16u);
    EXPECT_EQ(saved[4], 0);  // still on the first level
    EXPECT_EQ(readBytes("oldgame.cws").size(), 312u);
    EXPECT_TRUE(media.pointerHidden);
}
