// The fade, the menu's screen states and start-up failures, frame by frame.

#include <gtest/gtest.h>

#include "media/scripted_media.h"
#include "play/game.h"
#include "shell/menu.h"
#include "shell/resource_table.h"
#include "shell/shell_state.h"
#include "support/test_support.h"

namespace {

std::unique_ptr<Image> fakeImage(int width, int height, int frames) {
    auto image = std::make_unique<Image>();
    image->width = width;
    image->height = height;
    image->frames.assign(frames, PixelBlock{width, height, std::vector<uint8_t>(size_t(width) * height * 4, 255)});
    return image;
}

void giveFakePictures(Resources& res) {
    res.pointer = fakeImage(23, 32, 2);
    res.crest = fakeImage(32, 32, 34);
    res.particle = fakeImage(64, 64, 2);
    res.menuBack = fakeImage(800, 600, 1);
    res.logo = fakeImage(400, 120, 1);
    res.publisherLogo = fakeImage(150, 60, 1);
    res.menuButtons = fakeImage(281, 57, 7);
    res.menuButtonsGlow = fakeImage(281, 57, 7);
    res.smallFont = fakeImage(13, 13, 90);
    res.tiles = fakeImage(56, 56, 120);
    for (auto& canvas : res.canvas) canvas = fakeImage(500, 450, 1);
}

struct MenuFixture : ::testing::Test {
    ScratchFolder folder{"menu"};
    WorkingFolder inFolder{folder.path()};
    ScriptedMedia media;
    Game game{media};
    ShellState shell;
    void SetUp() override {
        giveFakePictures(game.res);
        buildGlyphWidths(game.font);
        media.setBlendMode(BlendMode::Alpha);
        shell.welcomeLine = buildWelcomeLine();
    }
    // Runs the menu until it ends the program or the frame budget runs out.
    int run(int frames) {
        media.frameLimit = frames;
        return runMenuCycles(game, shell);
    }
};

}  // namespace

TEST(ScreenFade, TakesOneHundredAndTwentyEightFramesEachWay) {
    ScreenFade fade;
    fade.fadeTarget = 255;
    int frames = 0;
    while (fade.brightness != 255) stepFade(fade), ++frames;
    EXPECT_EQ(frames, 128);
    EXPECT_EQ(fade.fadeTarget, 255);
    fade.fadeTarget = 0;
    frames = 0;
    while (fade.brightness != 0) stepFade(fade), ++frames;
    EXPECT_EQ(frames, 128);
}

TEST_F(MenuFixture, EscapeEndsTheProgramOnlyOnceTheMenuIsBright) {
    // Frame 0 is the menu cycle's blank frame; the entry's first frame is frame 1.
    media.tapKey(60, KeyEscape);
    media.tapKey(119, KeyEscape);
    media.pressKey(125, KeyEscape);
    EXPECT_EQ(run(1000), 0);
    EXPECT_EQ(media.framesPresented, 125);  // read right after the present that brought frame 125
    EXPECT_GT(game.fade.brightness, 240);
}

TEST_F(MenuFixture, MenuDrawsBackgroundAndWhitePointerOverTheFade) {
    media.moveMouse(0, 100, 120);
    EXPECT_THROW(run(30), ScriptEnded);
    const auto backgrounds = media.drawsOf(game.res.menuBack.get());
    ASSERT_EQ(backgrounds.size(), 1u);
    EXPECT_EQ(backgrounds[0].state.colour.r, 56);  // 28 fade steps of 2 drawn before the 29th step
    const auto pointers = media.drawsOf(game.res.pointer.get());
    ASSERT_EQ(pointers.size(), 1u);
    EXPECT_EQ(pointers[0].x, 100);
    EXPECT_EQ(pointers[0].y, 120);
    EXPECT_EQ(pointers[0].state.colour.r, 255);
}

TEST_F(MenuFixture, ContinueWithoutASavedGameIgnoresClicks) {
    media.moveMouse(0, 650, 257);
    media.click(200);
    EXPECT_THROW(run(400), ScriptEnded);
    EXPECT_EQ(shell.screenState, ScreenState::Menu);
    EXPECT_EQ(game.fade.brightness, 255);
    const auto buttons = media.drawsOf(game.res.menuButtons.get());
    ASSERT_GE(buttons.size(), 2u);
    EXPECT_EQ(buttons[1].state.colour.r, 63);  // a quarter of the fade brightness
}

TEST_F(MenuFixture, HelpPagesTurnAndEscapeKeepsThePage) {
    media.moveMouse(0, 650, 314);
    media.click(150);             // help
    media.moveMouse(160, 400, 470);
    media.click(170);             // page 1
    media.tapKey(180, KeyEscape); // back to the menu at once
    EXPECT_THROW(run(190), ScriptEnded);
    EXPECT_EQ(shell.screenState, ScreenState::Menu);
    EXPECT_EQ(shell.helpPage, 1);
}

TEST_F(MenuFixture, PagingPastTheLastHelpPageReturnsToTheMenu) {
    media.moveMouse(0, 650, 314);
    media.click(150);
    media.moveMouse(160, 400, 470);
    media.click(170);
    media.click(180);
    media.click(190);
    EXPECT_THROW(run(200), ScriptEnded);
    EXPECT_EQ(shell.screenState, ScreenState::Menu);
    EXPECT_EQ(shell.helpPage, 0);
}

TEST_F(MenuFixture, ExitButtonFadesOutThenEnds) {
    media.moveMouse(0, 650, 428);
    media.click(150);
    EXPECT_EQ(run(1000), 0);
    EXPECT_EQ(game.fade.brightness, 0);
    EXPECT_GE(media.framesPresented, 150 + 127);
}

TEST(StartUp, AMissingPictureStopsTheGameNamingTheFile) {
    ScratchFolder folder("nopictures");
    WorkingFolder inFolder(folder.path());
    ScriptedMedia media;
    Game game(media);
    try {
        loadPictures(game);
        FAIL() << "loading went on without its pictures";
    } catch (const FatalError& error) {
        EXPECT_NE(std::string(error.what()).find("gfx/pointer.spr"), std::string::npos);
    }
}

TEST(StartUp, AMissingSoundIsNamedAndLeftSilent) {
    ScratchFolder folder("nosounds");
    WorkingFolder inFolder(folder.path());
    ScriptedMedia media;
    Game game(media);
    loadSounds(game);
    EXPECT_EQ(game.res.click, nullptr);
    ASSERT_EQ(media.warnings.size(), 7u);
    EXPECT_NE(media.warnings[0].find("sfx/click.wav"), std::string::npos);
    EXPECT_EQ(media.playSound(game.res.click), 0);
}
