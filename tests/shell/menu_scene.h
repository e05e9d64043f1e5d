#pragma once
// The menu screens run whole in a scratch folder, with pictures made in memory and no
// start-up: what the menu, help and credits tests share.

#include <gtest/gtest.h>

#include "media/scripted/scripted_media.h"
#include "play/game.h"
#include "shell/menu.h"
#include "shell/menu_layout.h"
#include "shell/shell_scenario.h"
#include "shell/shell_state.h"
#include "support/fake_pictures.h"
#include "support/test_support.h"

struct MenuScene {
    ScratchFolder folder{"menu"};
    WorkingFolder inFolder{folder.path()};
    ScriptedMedia media;
    Game game{media};
    ShellState shell;
    MenuScene() {
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
    // Runs until the budget is spent; the program must not end before.
    void runOut(int frames) { EXPECT_THROW(run(frames), ScriptEnded); }
    std::vector<DrawnText> texts() const { return smallTexts(media.lastFrame); }
    // The welcome line of the last presented frame; x 9999 when it is not shown.
    DrawnText welcomeLine() const {
        const std::vector<DrawnText> shown = texts();
        const DrawnText* line = findTextStarting(shown, "Welcome to Cablewright v1.0!");
        return line ? *line : DrawnText{"", 9999, 9999, {}, 0.0f};
    }
};

struct MenuFixture : ::testing::Test, MenuScene {};

// A fresh menu, with or without a saved game, clicked at each point in turn (three frames
// apart, from its third frame on) and run a few frames more: where the clicks left it.
inline ShellState afterClicks(const std::vector<std::pair<int, int>>& points, bool savedGame = false) {
    MenuScene scene;
    if (savedGame) writeBytes("oldgame.cwm", {});
    int frame = 3;
    for (const auto& [x, y] : points) {
        scene.media.moveMouse(frame - 1, x, y);
        scene.media.click(frame);
        frame += 3;
    }
    scene.runOut(frame + 1);
    return scene.shell;
}

// After the present that made framesPresented p, the fade has taken p - 1 steps of 2:
// frame 0 is the menu cycle's blank frame.
inline int brightnessAfter(int presented) { return 2 * (presented - 1); }
