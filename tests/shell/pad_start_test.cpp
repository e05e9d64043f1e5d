// A game pad's Start in the menu: a click on Continue, or on New Game without a saved game,
// wherever the pointer is. Anywhere else it does nothing, then or later.

#include <gtest/gtest.h>

#include "shell/menu_scene.h"

namespace {

// A fresh menu, with or without a saved game, its pointer away from every button and Start
// pressed in frame `frame`: the state a few frames later.
ScreenState afterStart(bool savedGame, int frame = 3) {
    MenuScene scene;
    if (savedGame) writeBytes("oldgame.cwm", {});
    scene.media.moveMouse(0, 100, 100);
    scene.media.tapKey(frame, Key::PadStart);
    scene.runOut(frame + 3);
    return scene.shell.screenState;
}

}  // namespace

TEST(PadStart, ContinuesTheSavedGameOrStartsANewOneAsAClickWould) {
    EXPECT_EQ(afterStart(true), ScreenState::Continue);
    EXPECT_EQ(afterStart(false), ScreenState::NewGame);
    // As a click, it is taken while the menu still fades in.
    EXPECT_EQ(afterStart(true, 40), ScreenState::Continue);
}

TEST_F(MenuFixture, PadStartLeadsIntoPlayAfterTheFadeAsTheClickDoes) {
    media.moveMouse(0, 100, 100);
    media.tapKey(3, Key::PadStart);
    // The menu fades out from where it stood, then play begins (and reads the map data,
    // which the scratch folder lacks).
    try {
        run(400);
        FAIL() << "play did not begin";
    } catch (const FatalError& error) {
        EXPECT_NE(std::string(error.what()).find("maps/newmapdata.cwm"), std::string::npos) << error.what();
    }
    EXPECT_EQ(game.progress.levelIndex, 0);
    EXPECT_EQ(game.fade.brightness, 0);
}

TEST_F(MenuFixture, PadStartOnTheHelpPagesDoesNothingThereOrOnceBackInTheMenu) {
    writeBytes("oldgame.cwm", {});
    media.moveMouse(0, 650, 314);
    media.click(10);  // help
    media.tapKey(20, Key::PadStart);
    media.tapKey(30, Key::Escape);  // back to the menu
    runOut(60);
    EXPECT_EQ(shell.screenState, ScreenState::Menu);
}

TEST_F(MenuFixture, PadStartInTheCreditsIsNotTakenByTheMenuAfterThem) {
    writeBytes("oldgame.cwm", {});
    media.moveMouse(0, 650, 371);
    media.click(3);  // credits: the menu fades out over 128 frames
    media.moveMouse(5, 100, 100);
    media.tapKey(200, Key::PadStart);
    media.pressKey(220, Key::Escape);  // the credits fade out
    media.releaseKey(230, Key::Escape);
    runOut(600);
    EXPECT_EQ(shell.screenState, ScreenState::Menu);
}
