// What the player sees when a file the game needs is damaged: the whole program starts
// on the scripted layer in a copy of the built game folder with one file spoiled, and
// must stop with a message naming that file.

#include <gtest/gtest.h>

#include <filesystem>

#include "media/picture_test_files.h"
#include "media/scripted/scripted_media.h"
#include "shell/run_game.h"
#include "shell/shell_scenario.h"
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
            if (entry.is_directory())
                fs::create_directories(folder.path() / relative);
            else if (relative.filename() != "cablewright")
                fs::create_symlink(entry.path(), folder.path() / relative);
        }
        replace("maps/newmapdata.cwm", readBytes((gameFolder() / "maps/newmapdata.cwm").string()));
    }
    void replace(const std::string& relative, const Bytes& bytes) {
        fs::remove(folder.file(relative));
        writeBytes(folder.file(relative), bytes);
    }
    // Runs start-up and the menu for a moment; the message of the fatal error, or "".
    std::string startUpMessage() {
        ScriptedMedia media;
        return ::startUpMessage(folder.path(), media, 5);
    }

    ScratchFolder folder{"spoiled"};
};

TEST_F(SpoiledGameFolder, TheUntouchedFolderStartsCleanly) { EXPECT_EQ(startUpMessage(), ""); }

TEST_F(SpoiledGameFolder, OversizedPicturesStopTheGameNamingTheFile) {
    // A PNG header claiming 8192 x 8192, a small JPEG claiming the same, a file of 200 MB.
    replace("gfx/complete.spr", pngWithSize(pngFile(pngSpec(1, 1, PNG_COLOR_TYPE_GRAY, 8, {{1}})), 8192, 8192));
    EXPECT_EQ(startUpMessage(),
              "cannot load picture gfx/complete.spr (a PNG picture of 8192 x 8192 pixels, larger than 4096 a side)");
    Bytes jpeg = jpegFile(8, 8, 1, Bytes(64, 9), JCS_GRAYSCALE);
    for (size_t i = 0; i + 8 < jpeg.size(); ++i)
        if (jpeg[i] == 0xFF && jpeg[i + 1] == 0xC0) jpeg[i + 5] = jpeg[i + 7] = 0x20;
    replace("gfx/back/menuback.vvx", jpeg);
    replace("gfx/complete.spr", readBytes((gameFolder() / "gfx/complete.spr").string()));
    EXPECT_EQ(
        startUpMessage(),
        "cannot load picture gfx/back/menuback.vvx (a JPEG picture of 8200 x 8200 pixels, larger than 4096 a side)");
    replace("gfx/back/menuback.vvx", tgaFile(2, 24, 2, 2, Bytes(12, 50)));
    fs::resize_file(folder.file("gfx/back/menuback.vvx"), 200u << 20);
    EXPECT_EQ(startUpMessage(),
              "cannot load picture gfx/back/menuback.vvx (too large: 209715200 bytes, more than 100663296)");
}

TEST_F(SpoiledGameFolder, AStripWithTooFewCellsStopsTheGameNamingTheFile) {
    // One 56 x 56 cell where the tile sheet needs 120.
    replace("gfx/complete.spr", tgaFile(2, 24, 56, 56, Bytes(56 * 56 * 3, 80)));
    EXPECT_EQ(startUpMessage(),
              "cannot load picture gfx/complete.spr (its 56 x 56 pixels hold fewer than 120 cells of 56 x 56)");
}

TEST_F(SpoiledGameFolder, DamagedMapDataStopsTheGameNamingTheFileAndTheLevel) {
    const Bytes good = readBytes((gameFolder() / "maps/newmapdata.cwm").string());
    ASSERT_EQ(good.size(), 24180u);
    replace("maps/newmapdata.cwm", {});
    EXPECT_EQ(startUpMessage(), "bad map data maps/newmapdata.cwm: 0 bytes instead of 24180 (78 levels of 310 bytes)");
    replace("maps/newmapdata.cwm", Bytes(good.begin(), good.end() - 310));
    EXPECT_EQ(startUpMessage(),
              "bad map data maps/newmapdata.cwm: 23870 bytes instead of 24180 (78 levels of 310 bytes)");
    Bytes longer = good;
    longer.resize(1u << 20, 0);
    replace("maps/newmapdata.cwm", longer);
    EXPECT_EQ(startUpMessage(), "bad map data maps/newmapdata.cwm: longer than 24180 bytes");
    Bytes garbage(good.size());
    for (size_t i = 0; i < garbage.size(); ++i) garbage[i] = static_cast<uint8_t>(i * 131 + 7);
    replace("maps/newmapdata.cwm", garbage);
    EXPECT_EQ(startUpMessage().rfind("bad map data maps/newmapdata.cwm: level 0 (zone 0, level 1): ", 0), 0u);
    // Level 23's Server removed: zone 4, level 4 is named.
    Bytes noServer = good;
    for (size_t cell = 0; cell < 154; ++cell) {
        uint8_t& device = noServer[23 * 310 + 2 * cell + 1];
        if (device == 96 || device == 97) device = 255;
    }
    replace("maps/newmapdata.cwm", noServer);
    EXPECT_EQ(startUpMessage(),
              "bad map data maps/newmapdata.cwm: level 23 (zone 4, level 4): 0 Servers instead of one");
    fs::remove(folder.file("maps/newmapdata.cwm"));
    EXPECT_EQ(startUpMessage(), "cannot open map data maps/newmapdata.cwm");
}

}  // namespace
