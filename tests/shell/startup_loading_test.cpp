// Start-up decodes the pictures and sounds beside the opening of the screen; what the
// player sees of a damaged game folder must be what loading them one by one would show.

#include <gtest/gtest.h>

#include <filesystem>

#include "media/scripted/scripted_media.h"
#include "shell/run_game.h"
#include "shell/shell_scenario.h"
#include "support/test_support.h"

namespace {

namespace fs = std::filesystem;

// The built game folder linked file by file, so single files can be spoiled or left out.
class LoadingFolder : public ::testing::Test {
protected:
    void SetUp() override {
        if (!fs::exists(gameFolder() / "maps/newmapdata.cwm")) GTEST_SKIP() << "no built game folder";
        const fs::path game = fs::absolute(gameFolder());
        for (const auto& entry : fs::recursive_directory_iterator(game)) {
            const fs::path relative = fs::relative(entry.path(), game);
            if (entry.is_directory())
                fs::create_directories(folder.path() / relative);
            else if (relative.filename() != "cablewright")
                fs::create_symlink(entry.path(), folder.path() / relative);
        }
    }
    void spoil(const std::string& relative) {
        fs::remove(folder.file(relative));
        writeBytes(folder.file(relative), {'n', 'o', 't', ' ', 'a', ' ', 'p', 'i', 'c', 't', 'u', 'r', 'e'});
    }
    // Runs start-up and a few menu frames; the fatal error's message, or "".
    std::string startUpMessage() { return ::startUpMessage(folder.path(), media, 3); }

    ScratchFolder folder{"loading"};
    ScriptedMedia media;
};

TEST_F(LoadingFolder, OfTwoDamagedPicturesTheFirstOfTheTableIsNamed) {
    // The product logo comes before the menu background in the table; the background is
    // the smaller file, so a loader that reported whichever failed first would name it.
    spoil("gfx/back/menuback.vvx");
    spoil("gfx/logocw.spr");
    EXPECT_EQ(startUpMessage(), "cannot load picture gfx/logocw.spr");
}

TEST_F(LoadingFolder, TheLastPictureOfTheTableIsWaitedForToo) {
    spoil("gfx/menubuttonsglow.spr");
    EXPECT_EQ(startUpMessage(), "cannot load picture gfx/menubuttonsglow.spr");
}

TEST_F(LoadingFolder, AMissingTracksFolderIsReportedBeforeAnyDamagedPicture) {
    fs::remove_all(folder.file("tracks"));
    spoil("gfx/pointer.spr");
    EXPECT_EQ(startUpMessage(), "failed to read ''Tracks'' directory");
}

TEST_F(LoadingFolder, MissingSoundsAreNamedInTableOrderAndTheGameGoesOn) {
    fs::remove(folder.file("sfx/virus.wav"));
    fs::remove(folder.file("sfx/click.wav"));
    spoil("sfx/menutheme.ogg");
    EXPECT_EQ(startUpMessage(), "");
    std::vector<std::string> soundWarnings;
    for (const std::string& warning : media.warnings)
        if (warning.rfind("cannot load sound", 0) == 0) soundWarnings.push_back(warning);
    EXPECT_EQ(soundWarnings, (std::vector<std::string>{"cannot load sound sfx/click.wav; it stays silent",
                                                       "cannot load sound sfx/virus.wav; it stays silent",
                                                       "cannot load sound sfx/menutheme.ogg; it stays silent"}));
}

}  // namespace
