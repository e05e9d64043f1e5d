// A save that fails as play is left is told across the menu's top band, until a save works
// again; the line says "the previous file is kept" only where there is one.

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <tuple>

#include "media/files/safe_replace.h"
#include "media/scripted/scripted_media.h"
#include "menu_scene.h"
#include "shell/run_game.h"
#include "shell/shell_scenario.h"
#include "support/test_support.h"

namespace {

int openRefused(const char*, int, mode_t) {
    errno = EACCES;
    return -1;
}

// The small-font lines of a frame in the menu's top band, y 0 to 50.
std::vector<DrawnText> topBand(const std::vector<DrawCall>& frame) {
    std::vector<DrawnText> band;
    for (const DrawnText& text : smallTexts(frame))
        if (text.y < 50) band.push_back(text);
    return band;
}

}  // namespace

TEST_F(MenuFixture, AFailedSaveIsToldAcrossTheTopBandInTheFade) {
    game.progress.files.unsavedFiles["data/oldgame.cwm"] = {"Progress not saved: data is not writable", "short"};
    game.progress.files.latestUnsaved = "data/oldgame.cwm";
    runOut(200);
    const std::vector<DrawnText> band = topBand(media.lastFrame);
    ASSERT_EQ(band.size(), 1u);
    EXPECT_EQ(band[0].text, "Progress not saved: data is not writable");
    EXPECT_EQ(band[0].y, 18);
    EXPECT_EQ(band[0].x, 400 - textWidth(game.font, band[0].text) / 2);
    EXPECT_EQ(std::make_tuple(band[0].colour.r, band[0].colour.g, band[0].colour.b), std::make_tuple(255, 176, 64));
}

TEST_F(MenuFixture, AFailedSavesLineFadesInWithTheMenu) {
    game.progress.files.unsavedFiles["x"] = {"Progress not saved: data is not writable", "short"};
    runOut(10);
    const std::vector<DrawnText> band = topBand(media.lastFrame);
    ASSERT_EQ(band.size(), 1u);
    const int brightness = brightnessAfter(9);  // the last frame was drawn before its own step
    EXPECT_EQ(std::make_tuple(band[0].colour.r, band[0].colour.g, band[0].colour.b),
              std::make_tuple(brightness, 176 * brightness / 255, 64 * brightness / 255));
}

TEST_F(MenuFixture, ALineTooWideForTheScreenGivesWayToItsShortForm) {
    game.progress.files.unsavedFiles["x"] = {std::string(200, 'W'), "Progress not saved: the disk is full"};
    runOut(200);
    const std::vector<DrawnText> band = topBand(media.lastFrame);
    ASSERT_EQ(band.size(), 1u);
    EXPECT_EQ(band[0].text, "Progress not saved: the disk is full");
}

TEST_F(MenuFixture, WithEverySaveWorkingTheTopBandHoldsNoText) {
    runOut(200);
    EXPECT_TRUE(topBand(media.lastFrame).empty());
}

// The whole program: the first stay in play is left into a folder that takes no files, the
// second into the same folder taking them again.
TEST(SaveFailureOnScreen, TheMenuTellsOfTheFailedSaveUntilTheNextSaveWorks) {
    ScratchFolder folder("unsaved-menu");
    if (!linkBuiltGameFiles(folder.path())) GTEST_SKIP() << "no built game folder";
    WorkingFolder inFolder(folder.path());
    ScriptedMedia media;
    media.fileWriteCalls().open = openRefused;
    std::vector<std::vector<DrawnText>> bands;  // the top band of each bright menu
    bool inPlay = false;
    int arrived = 0;
    media.moveMouse(0, 650, 200);
    media.click(140);
    media.onFrame = [&](int presented) {
        const std::vector<DrawnText> texts = smallTexts(media.lastFrame);
        const bool menu = findTextStarting(texts, "Welcome to Cablewright") != nullptr;
        if (!inPlay && findTextStarting(texts, "Zone ")) {
            inPlay = true;
            media.pressKey(presented + 10, Key::Escape);
            media.releaseKey(presented + 40, Key::Escape);
        }
        if (inPlay && menu) {
            inPlay = false;
            arrived = presented;
        }
        if (arrived > 0 && presented == arrived + 135) {
            bands.push_back(topBand(media.lastFrame));
            media.fileWriteCalls().open = openWithMode;         // the player makes the folder writable
            if (bands.size() == 1) media.click(presented + 5);  // a new game again
            if (bands.size() == 2) media.tapKey(presented + 5, Key::Escape);
        }
    };
    media.frameLimit = 4000;
    EXPECT_EQ(runGame(media), 0);
    ASSERT_EQ(bands.size(), 2u);
    ASSERT_EQ(bands[0].size(), 1u);
    // The records went first and failed, then the saved game: neither was there before.
    EXPECT_EQ(bands[0][0].text, "Progress not saved: the game folder is not writable");
    EXPECT_TRUE(bands[1].empty()) << bands[1][0].text;
    EXPECT_EQ(readBytes("oldgame.cwm").size(), 16u);
}
