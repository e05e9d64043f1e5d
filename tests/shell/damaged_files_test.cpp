// What the player sees when a file the game needs is damaged: the whole program starts
// on the scripted layer in a copy of the built game folder with one file spoiled, and
// must stop with a message naming that file.

#include <gtest/gtest.h>

#include <filesystem>

#include "media/picture_test_files.h"
#include "media/scripted_media.h"
#include "shell/run_game.h"
#include "support/test_support.h"

namespace {

namespace fs = std::filesystem;

// The built game folder, each file linked one by one so that a single one can be swapped;
// the map data is copied so that it can be edited.
class SpoiledGameFolder : public ::testing::Test {
protected:
    void SetUp() override {
        if (!fs::exists(gameFolder() / "maps/newmapdata.cwm")) GTEST_SKIP() << "no built game folder";
        for (const auto& entry : fs::recursive_directory_iterator(fs::absolute(gameFolder()))) {
            const fs::path relative = fs::relative(entry.path(), fs::absolute(gameFolder()));
            if (entry.is_directory()) fs::create_directories(folder.path() / relative);
            else if (relative.filename() != "cablewright") fs::create_symlink(entry.path(), folder.path() / relative);
        }
        replace("maps/newmapdata.cwm", readBytes((gameFolder() / "maps/newmapdata.cwm").string()));
    }
    void replace(const std::string& relative, const Bytes& bytes) {
        fs::remove(folder.file(relative));
        writeBytes(folder.file(relative), bytes);
    }
    // Runs start-up and the menu for a moment; the message of the fatal error, or "".
    std::string startUpMessage() {
        WorkingFolder inFolder(folder.path());
        ScriptedMedia media;
        media.frameLimit = 5;
        try {
            runGame(media);
        } catch (const FatalError& error) {
            return error.what();
        } catch (const ScriptEnded&) {
        }
        return "";
    }

    ScratchFolder folder{"spoiled"};
};

TEST_F(SpoiledGameFolder, TheUntouchedFolderStartsCleanly) { EXPECT_EQ(startUpMessage(), ""); }

TEST_F(SpoiledGameFolder, OversizedPicturesStopTheGameNamingTheFile) {
    // A PNG header claiming 8192 x 8192, a small JPEG claiming the same, a file of 200 MB.
    replace("gfx/complete.spr", pngWithSize(pngFile(pngSpec(1, 1, PNG_COLOR_TYPE_GRAY, 8, {{1}})), 8192, 8192));
    EXPECT_EQ(startUpMessage(), "cannot load picture gfx/complete.spr");
    Bytes jpeg = jpegFile(8, 8, 1, Bytes(64, 9), JCS_GRAYSCALE);
    for (size_t i = 0; i + 8 < jpeg.size(); ++i)
        if (jpeg[i] == 0xFF && jpeg[i + 1] == 0xC0) jpeg[i + 5] = jpeg[i + 7] = 0x20;
    replace("gfx/back/menuback.vvx", jpeg);
    replace("gfx/complete.spr", readBytes((gameFolder() / "gfx/complete.spr").string()));
    EXPECT_EQ(startUpMessage(), "cannot load picture gfx/back/menuback.vvx");
    replace("gfx/back/menuback.vvx", tgaFile(2, 24, 2, 2, Bytes(12, 50)));
    fs::resize_file(folder.file("gfx/back/menuback.vvx"), 200u << 20);
    EXPECT_EQ(startUpMessage(), "cannot load picture gfx/back/menuback.vvx");
}

TEST_F(SpoiledGameFolder, AStripWithTooFewCellsStopsTheGameNamingTheFile) {
    // One 56 x 56 cell where the tile sheet needs 120.
    replace("gfx/complete.spr", tgaFile(2, 24, 56, 56, Bytes(56 * 56 * 3, 80)));
    EXPECT_EQ(startUpMessage(), "cannot load picture gfx/complete.spr");
}

}  // namespace
