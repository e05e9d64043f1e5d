// The fade, the menu's screen states and start-up failures, frame by frame.

#include <gtest/gtest.h>

#include "media/scripted_media.h"
#include "play/game.h"
#include "shell/menu.h"
#include "shell/menu_layout.h"
#include "shell/resource_table.h"
#include "shell/shell_state.h"
#include "support/fake_pictures.h"
#include "support/test_support.h"

namespace {

struct MenuFixture : ::testing::Test {
    ScratchFolder folder{"menu"};
    WorkingFolder inFolder{folder.path()};
    ScriptedMedia media;
    Game game{media};
    ShellState shell;
    void SetUp() override {
        giveFakePictures(game.res, game.font);
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

// Drawing and hit-testing share one layout: the pointer at a drawn button's centre takes
// that button, and the column ends where the last button's band ends.
TEST_F(MenuFixture, EachButtonTakesThePointerWhereItIsDrawn) {
    auto hoveredAt = [&](int x, int y) {
        game.input.x = x;
        game.input.y = y;
        game.hoveredControl = NoControl;
        media.clearScreen();
        drawMenuFrame(game, shell);
        return game.hoveredControl;
    };
    auto buttonsDrawn = [&] {
        std::vector<DrawCall> calls;
        for (const DrawCall& call : media.currentDraws)
            if (call.image == game.res.menuButtons.get()) calls.push_back(call);
        return calls;
    };
    shell.screenState = ScreenState::Menu;
    hoveredAt(0, 0);
    const std::vector<DrawCall> column = buttonsDrawn();
    ASSERT_EQ(column.size(), 5u);
    for (const DrawCall& button : column) {
        const int x = static_cast<int>(button.x), y = static_cast<int>(button.y);
        EXPECT_EQ(hoveredAt(x, y), button.frame);
        EXPECT_EQ(hoveredAt(x - 119, y + 28), button.frame);
        EXPECT_EQ(hoveredAt(x + 120, y), NoControl);
    }
    EXPECT_EQ(hoveredAt(650, 172), NoControl);
    EXPECT_EQ(hoveredAt(650, 456), ExitButton);
    EXPECT_EQ(hoveredAt(650, 457), NoControl);

    shell.screenState = ScreenState::Help;
    hoveredAt(0, 0);
    std::vector<DrawCall> nextPage;
    for (const DrawCall& call : buttonsDrawn())
        if (call.frame == NextPageButton) nextPage.push_back(call);
    ASSERT_EQ(nextPage.size(), 1u);
    EXPECT_EQ(hoveredAt(static_cast<int>(nextPage[0].x), static_cast<int>(nextPage[0].y)), NextPageButton);
    EXPECT_EQ(hoveredAt(static_cast<int>(nextPage[0].x), 490), NoControl);
}

// The help panel is tinted green: red and blue are the brightness divided by 1.2, exactly.
TEST_F(MenuFixture, HelpPanelTintIsExact) {
    shell.screenState = ScreenState::Help;
    for (const int brightness : {60, 120, 255}) {
        game.fade.brightness = brightness;
        media.clearScreen();
        drawMenuFrame(game, shell);
        const DrawCall* panel = nullptr;
        for (const DrawCall& call : media.currentDraws)
            if (call.image == game.res.canvas[2].get()) panel = &call;
        ASSERT_NE(panel, nullptr);
        EXPECT_EQ(panel->state.colour.r, brightness * 5 / 6) << brightness;
        EXPECT_EQ(panel->state.colour.g, brightness);
        EXPECT_EQ(panel->state.colour.b, brightness * 5 / 6);
    }
    EXPECT_EQ(60 * 5 / 6, 50);
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
