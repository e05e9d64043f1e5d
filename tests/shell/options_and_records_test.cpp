// The Records and Options links of the menu, the options screen and the records screen.

#include <cmath>
#include <filesystem>
#include <string>

#include "menu_scene.h"
#include "persist/settings.h"
#include "shell/options_screen.h"
#include "shell/records_screen.h"

namespace {

// A fresh menu clicked at one point on frame 140 (bright by then) and run on a few frames.
ShellState afterClickAt(int x, int y) {
    MenuScene scene;
    scene.media.moveMouse(139, x, y);
    scene.media.click(140);
    scene.runOut(145);
    return scene.shell;
}

// A menu scene on the options screen from frame 140 on.
struct OnOptions : MenuScene {
    OnOptions() {
        media.moveMouse(139, 740, 575);
        media.click(140);
    }
};

const OptionChoiceBox& boxOf(const std::vector<OptionChoiceBox>& boxes, SettingId row, int choice) {
    for (const OptionChoiceBox& box : boxes)
        if (box.row == row && box.choice == choice) return box;
    throw std::runtime_error("no such choice");
}

}  // namespace

TEST(MenuLinks, EachLinkTakesTheClickOnePixelInsideItsBoxAndNotOutside) {
    // Records centred on (640, 575), Options on (740, 575), each over a box of 90 x 30.
    const std::pair<int, ScreenState> links[] = {{640, ScreenState::Records}, {740, ScreenState::Options}};
    for (const auto& [centre, target] : links) {
        for (const auto& [x, y] : {std::pair{centre - 45, 575}, {centre + 44, 575}, {centre, 560}, {centre, 589}})
            EXPECT_EQ(afterClickAt(x, y).screenState, target) << "link at " << centre << ": " << x << "," << y;
        for (const auto& [x, y] : {std::pair{centre - 46, 575}, {centre + 45, 575}, {centre, 559}, {centre, 590}})
            EXPECT_EQ(afterClickAt(x, y).screenState, ScreenState::Menu)
                << "link at " << centre << ": " << x << "," << y;
    }
}

TEST_F(MenuFixture, TheLinksSitOnTheBottomBandAndGlowWhileThePointerIsOnThem) {
    media.moveMouse(150, 640, 575);
    std::vector<float> recordsGlow;
    media.onFrame = [&](int presented) {
        if (presented < 2) return;
        const auto glows = media.drawsOf(game.res.menuLinkGlows.get());
        ASSERT_EQ(glows.size(), 2u);
        EXPECT_EQ(std::make_tuple(glows[0].frame, glows[0].x, glows[0].y), std::make_tuple(0, 640.f, 575.f));
        EXPECT_EQ(std::make_tuple(glows[1].frame, glows[1].x, glows[1].y), std::make_tuple(1, 740.f, 575.f));
        EXPECT_EQ(glows[0].state.blend, BlendMode::Light);
        recordsGlow.push_back(glows[0].state.alpha);
        EXPECT_FLOAT_EQ(glows[1].state.alpha, 0.0f) << "only the link under the pointer glows";
    };
    runOut(170);
    EXPECT_FLOAT_EQ(recordsGlow[140], 0.0f);
    EXPECT_GT(recordsGlow.back(), 0.9f);
    const std::vector<DrawnText> shown = texts();
    const DrawnText* records = findText(shown, "Records");
    const DrawnText* options = findText(shown, "Options");
    ASSERT_TRUE(records && options);
    EXPECT_EQ(records->x, 640 - textWidth(game.font, "Records") / 2);
    EXPECT_EQ(options->x, 740 - textWidth(game.font, "Options") / 2);
    EXPECT_EQ(records->y, 569);
    EXPECT_GE(records->y, 550) << "on the bottom band";
}

TEST(OptionsScreen, EveryChoiceTakesThePointerOnePixelInsideItsBoxAndNotOutside) {
    MenuScene scene;
    const std::vector<OptionChoiceBox> boxes = optionChoiceBoxes(scene.game.font);
    ASSERT_EQ(boxes.size(), 11u + 11u + 2u + 3u + 2u + 2u + 2u + 2u);
    for (const OptionChoiceBox& box : boxes) {
        const ButtonArea& a = box.area;
        const int midX = (a.left + a.right) / 2, midY = (a.top + a.bottom) / 2;
        for (const auto& [x, y] :
             {std::pair{a.left + 1, midY}, {a.right - 1, midY}, {midX, a.top + 1}, {midX, a.bottom - 1}})
            EXPECT_TRUE(a.contains(x, y));
        // No two boxes share a pixel, so a click never lands on two choices.
        for (const OptionChoiceBox& other : boxes) {
            if (&other == &box) continue;
            const bool apart = other.area.left + 1 >= a.right || a.left + 1 >= other.area.right ||
                               other.area.top + 1 >= a.bottom || a.top + 1 >= other.area.bottom;
            EXPECT_TRUE(apart) << int(box.row) << "/" << box.choice << " and " << int(other.row) << "/" << other.choice;
        }
        // Inside the plate, above its button.
        EXPECT_GT(a.left, 150);
        EXPECT_LT(a.right, 650);
        EXPECT_LT(a.bottom, 441);
    }
    // The volume steps run left to right from 0 to 10, evenly.
    for (int step = 1; step <= 10; ++step)
        EXPECT_EQ(boxOf(boxes, SettingId::EffectsVolume, step).area.left -
                      boxOf(boxes, SettingId::EffectsVolume, step - 1).area.left,
                  27);

    // A click one pixel inside a step's box sets it; one pixel outside its left edge, on the
    // gap between two steps, sets nothing.
    const ButtonArea five = boxOf(boxes, SettingId::MusicVolume, 5).area;
    for (const auto& [x, expected] : {std::pair{five.left + 1, 5}, {five.right - 1, 5}, {five.left, 10}}) {
        OnOptions options;
        options.media.moveMouse(159, x, (five.top + five.bottom) / 2);
        options.media.click(160);
        options.runOut(165);
        EXPECT_EQ(options.game.settings.musicVolume, expected) << "x " << x;
    }
}

TEST(OptionsScreen, AVolumeStepIsHeardAtOnceAndKeptInTheSettingsFile) {
    OnOptions scene;
    scene.game.settingsFile.path = SettingsFileName;
    auto click = std::make_shared<Sound>();
    click->samples.assign(2 * 100, 10000);
    scene.game.res.click = click;
    const std::vector<OptionChoiceBox> boxes = optionChoiceBoxes(scene.game.font);
    const ButtonArea three = boxOf(boxes, SettingId::EffectsVolume, 3).area;
    scene.media.moveMouse(159, three.left + 5, three.top + 5);
    scene.media.click(160);
    int clicksBefore = 0;
    scene.media.onFrame = [&](int presented) {
        if (presented == 160) clicksBefore = scene.media.soundMixer().activeChannels();
    };
    scene.runOut(162);
    EXPECT_EQ(scene.game.settings.effectsVolume, 3);
    EXPECT_EQ(scene.media.soundMixer().activeChannels(), clicksBefore + 1) << "the click";
    std::vector<int16_t> heard(2);
    scene.media.soundMixer().mixInto(heard.data(), 1);
    const int32_t stepThree = static_cast<int32_t>(std::lround(volumeStepGain(3) * 65536.0f));
    EXPECT_EQ(heard[0], (10000 * stepThree) >> 16) << "at the new effects volume, -21 dB";
    const std::vector<uint8_t> bytes = readBytes(SettingsFileName);
    const std::string text(bytes.begin(), bytes.end());
    EXPECT_NE(text.find("effects_volume = 3\n"), std::string::npos) << text;
    EXPECT_NE(text.find("music_volume = 10\n"), std::string::npos) << text;
    EXPECT_EQ(scene.shell.screenState, ScreenState::Options);
}

TEST(OptionsScreen, TheChoiceInForceIsLitAndBackOrEscapeReturns) {
    OnOptions scene;
    scene.game.settings.start = StartMode::Window;
    scene.runOut(150);
    const std::vector<DrawnText> shown = scene.texts();
    const DrawnText* window = findText(shown, "a window");
    const DrawnText* fullScreen = findText(shown, "full screen");
    ASSERT_TRUE(window && fullScreen);
    EXPECT_EQ(window->colour.r, 255) << "the choice in force in the fade colour";
    EXPECT_LT(fullScreen->colour.r, 200) << "the others dimmer";
    EXPECT_EQ(window->y, fullScreen->y);
    EXPECT_TRUE(findText(shown, "Options") && findText(shown, "Effects volume") && findText(shown, "Start in"));
    const auto back = scene.media.drawsOf(scene.game.res.menuButtons.get());
    ASSERT_EQ(back.size(), 6u);
    EXPECT_EQ(std::make_tuple(back[5].frame, back[5].x, back[5].y), std::make_tuple(6, 400.f, 470.f));

    for (const bool byEscape : {false, true}) {
        OnOptions leaving;
        if (byEscape) {
            leaving.media.pressKey(160, Key::Escape);
        } else {
            leaving.media.moveMouse(159, 400, 470);
            leaving.media.click(160);
        }
        leaving.runOut(165);
        EXPECT_EQ(leaving.shell.screenState, ScreenState::Menu) << (byEscape ? "Escape" : "Back");
    }
}

TEST(OptionsScreen, ARowsNoteShowsBelowTheRowsAndASaveThatFailedBelowThat) {
    OnOptions scene;  // no folder of the player's: a change holds for this run only
    scene.game.settingsFile.path.clear();
    const ButtonArea on = boxOf(optionChoiceBoxes(scene.game.font), SettingId::LitNetwork, 1).area;
    scene.media.moveMouse(159, on.left + 3, on.top + 3);
    scene.media.click(160);
    scene.runOut(162);
    EXPECT_TRUE(scene.game.settings.litNetwork);
    const std::vector<DrawnText> shown = scene.texts();
    const DrawnText* note = findText(shown, "The pieces that carry the connection light up.");
    const DrawnText* failure = findTextStarting(shown, "Not kept for the next start: ");
    ASSERT_TRUE(note && failure);
    EXPECT_EQ(note->y, 414);
    EXPECT_EQ(note->x + textWidth(scene.game.font, note->text) / 2, 400);
    EXPECT_EQ(failure->y, 432);
    EXPECT_EQ(failure->x + textWidth(scene.game.font, failure->text) / 2, 400);
    EXPECT_EQ(std::make_tuple(failure->colour.r, failure->colour.g, failure->colour.b), std::make_tuple(255, 160, 140));
}

TEST(OptionsScreen, ClicksOnTheMenuUnderneathDoNothing) {
    OnOptions scene;
    scene.media.moveMouse(159, 650, 200);  // New Game, under the plate's edge
    scene.media.click(160);
    scene.media.moveMouse(169, 640, 575);  // the Records link
    scene.media.click(170);
    scene.runOut(175);
    EXPECT_EQ(scene.shell.screenState, ScreenState::Options);
}

TEST(RecordsScreen, EveryLevelsBestTimeInZoneRowsAndTheLevelInPlayMarked) {
    MenuScene scene;
    scene.game.progress.bestTimes.fill(UnbeatenTime);
    scene.game.progress.bestTimes[0] = 3600 + 5 * 60 + 30;  // 01:05
    scene.game.progress.bestTimes[12] = 59 * 60;            // 00:59
    scene.game.progress.bestTimes[77] = 100 * 3600;         // beyond the shipped time: never completed
    writeBytes("oldgame.cwm", littleEndian({3, 12, 15, 0}));
    scene.media.moveMouse(139, 640, 575);
    scene.media.click(140);
    scene.runOut(150);
    EXPECT_EQ(scene.shell.screenState, ScreenState::Records);
    const std::vector<DrawnText> shown = scene.texts();
    EXPECT_TRUE(findText(shown, "Rank: Gamer   In play: Zone 2 / Level 3"));
    for (int level = 0; level < 78; ++level) {
        const RecordCell cell = recordCell(level);
        EXPECT_EQ(cell.x, 300 + 70 * (level % 5));
        EXPECT_EQ(cell.y, 160 + 17 * (level / 5));
    }
    auto textAt = [&](int level) -> std::string {
        const RecordCell cell = recordCell(level);
        for (const DrawnText& text : shown)
            if (text.y == cell.y && text.x + textWidth(scene.game.font, text.text) / 2 == cell.x) return text.text;
        return "(nothing)";
    };
    EXPECT_EQ(textAt(0), "01:05");
    EXPECT_EQ(textAt(12), "00:59");
    EXPECT_EQ(textAt(1), "--:--");
    EXPECT_EQ(textAt(77), "--:--");
    EXPECT_EQ(textAt(75), "--:--") << "the last zone has three levels";
    for (int zone = 0; zone < 16; ++zone) {  // each zone's label at the left of its row
        const DrawnText* label = findText(shown, "Zone " + std::to_string(zone));
        ASSERT_TRUE(label) << zone;
        EXPECT_EQ(std::make_pair(label->x, label->y), std::make_pair(190, recordCell(5 * zone).y)) << zone;
    }
    EXPECT_EQ(recordCell(77).y + 13, 160 + 17 * 15 + 13);
    EXPECT_LT(recordCell(77).y + 13, 441) << "clear of the Back button";
    // The level in play on its lit cell, in the fade colour; the others dimmer.
    bool marked = false;
    for (const DrawCall& call : scene.media.lastFrame)
        if (call.kind == DrawCall::Kind::Rect && call.x == recordCell(12).x - 30 && call.y == recordCell(12).y - 2)
            marked = true;
    EXPECT_TRUE(marked);
    EXPECT_EQ(recordTimeText(UnbeatenTime), "--:--");
    EXPECT_EQ(recordTimeText(UnbeatenTime - 60), "99:58");
    EXPECT_EQ(recordTimeText(0), "--:--");
}

TEST(RecordsScreen, WithoutASavedGameNoLevelIsInPlayAndNothingIsWritten) {
    MenuScene scene;
    scene.game.progress.rankIndex = 1;
    scene.media.moveMouse(139, 640, 575);
    scene.media.click(140);
    scene.media.pressKey(160, Key::Escape);
    std::vector<DrawnText> shown;
    scene.media.onFrame = [&](int presented) {
        if (presented == 155) shown = scene.texts();
    };
    scene.runOut(165);
    EXPECT_TRUE(findText(shown, "Rank: Looser   No game in play"));
    EXPECT_EQ(scene.shell.screenState, ScreenState::Menu);
    EXPECT_TRUE(std::filesystem::is_empty(std::filesystem::current_path()));
}
