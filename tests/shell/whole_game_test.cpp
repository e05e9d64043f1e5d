// The whole program on the scripted layer with the game's own generated files:
// start-up, the menu, a new game, a continued game, leaving play with Escape, and the end.

#include <gtest/gtest.h>

#include <filesystem>

#include "media/scripted/scripted_media.h"
#include "play/game.h"
#include "shell/run_game.h"
#include "shell/shell_scenario.h"
#include "support/test_support.h"

namespace {

constexpr int Unbeaten = 359940;

// What the player saw of one stay in play.
struct Stay {
    DrawnText startCaption;  // "Zone z/ Level l is started!"
    DrawnText captionLine;   // the HUD line under the board
    std::vector<uint8_t> savedGameAfter, recordsAfter;
};

// Plays the program from the menu: each entry of menuClicks is the button clicked in
// the menu (its centre y), once the menu is bright; every stay in play is left at once with
// Escape; after the last stay Escape in the menu ends the program.
std::vector<Stay> playThrough(ScriptedMedia& media, const std::vector<int>& menuClicks) {
    std::vector<Stay> stays;
    bool inPlay = false;
    size_t nextClick = 0;
    auto clickNext = [&](int now) {
        if (nextClick < menuClicks.size()) {
            media.moveMouse(now, 650, menuClicks[nextClick++]);
            media.click(now + 140);
        } else {
            media.tapKey(now + 140, Key::Escape);
        }
    };
    clickNext(0);
    media.onFrame = [&](int presented) {
        const std::vector<DrawnText> texts = smallTexts(media.lastFrame);
        const DrawnText* caption = findTextStarting(texts, "Zone ");
        if (!inPlay && caption) {
            inPlay = true;
            Stay stay;
            stay.startCaption = *caption;
            if (const DrawnText* line = findTextStarting(texts, "Level:")) stay.captionLine = *line;
            stays.push_back(stay);
            media.pressKey(presented + 10, Key::Escape);
            media.releaseKey(presented + 40, Key::Escape);
        }
        if (inPlay && findTextStarting(texts, "Welcome to Cablewright")) {
            inPlay = false;
            stays.back().savedGameAfter = readBytes("oldgame.cwm");
            stays.back().recordsAfter = readBytes("oldgame.cws");
            clickNext(presented);
        }
    };
    media.frameLimit = 8000;
    EXPECT_EQ(runGame(media), 0);
    return stays;
}

}  // namespace

TEST(WholeGame, NewGameThenEscapeSavesAndReturnsToTheMenu) {
    ScratchFolder folder("wholegame");
    if (!linkBuiltGameFiles(folder.path())) GTEST_SKIP() << "no built game folder";
    std::filesystem::copy_file(gameFolder() / "oldgame.cws", folder.path() / "oldgame.cws");
    WorkingFolder inFolder(folder.path());

    ScriptedMedia media;
    const std::vector<Stay> stays = playThrough(media, {200});
    ASSERT_EQ(stays.size(), 1u);
    EXPECT_EQ(stays[0].savedGameAfter, littleEndian({0, 0, 0, 0}));  // still on the first level
    EXPECT_EQ(stays[0].recordsAfter.size(), 312u);
    EXPECT_TRUE(media.pointerHidden);
    // A player who never opens Options gets no settings file: the game writes its progress only.
    EXPECT_FALSE(std::filesystem::exists("settings.conf"));
}

TEST(WholeGame, ContinueLoadsTheSavedLevelAndRankAndNewGameStartsAfresh) {
    ScratchFolder folder("continue");
    if (!linkBuiltGameFiles(folder.path())) GTEST_SKIP() << "no built game folder";
    WorkingFolder inFolder(folder.path());
    std::vector<int32_t> records(78, Unbeaten);
    records[12] = (1 * 60 + 23) * 60;  // 01:23
    records[0] = 7 * 60 + 59;          // 00:07
    writeBytes("oldgame.cws", littleEndian(records));
    writeBytes("oldgame.cwm", littleEndian({3, 12, 15, 7}));

    ScriptedMedia media;
    const std::vector<Stay> stays = playThrough(media, {257, 200});  // continue, then new game
    ASSERT_EQ(stays.size(), 2u);
    SpriteFont font;
    buildGlyphWidths(font);

    // Continue: zone 2, level 3 of the saved game, with the rank and the best time read at start-up.
    const Stay& continued = stays[0];
    EXPECT_EQ(continued.startCaption.text, "Zone 2/ Level 3 is started!");
    EXPECT_EQ(continued.startCaption.x, 400 - textWidth(font, continued.startCaption.text) / 2);
    EXPECT_EQ(continued.startCaption.y, 300);
    EXPECT_EQ(continued.startCaption.colour.b, 255);
    EXPECT_EQ(continued.captionLine.text, "Level:3   Zone:2   Best: 01:23   Rank: Gamer");
    EXPECT_EQ(continued.captionLine.x, 400 - textWidth(font, continued.captionLine.text) / 2);
    EXPECT_EQ(continued.captionLine.y, 585);
    EXPECT_EQ(continued.captionLine.colour.r, 255);
    // Leaving writes the level being played and the carried value back, and keeps every best time.
    EXPECT_EQ(continued.savedGameAfter, littleEndian({3, 12, 15, 7}));
    EXPECT_EQ(continued.recordsAfter, littleEndian(records));

    // New game after it in the same run: the first level and the first rank, whatever was loaded.
    const Stay& fresh = stays[1];
    EXPECT_EQ(fresh.startCaption.text, "Zone 0/ Level 1 is started!");
    EXPECT_EQ(fresh.captionLine.text, "Level:1   Zone:0   Best: 00:07   Rank: Child");
    EXPECT_EQ(fresh.savedGameAfter, littleEndian({0, 0, 0, 7}));
    EXPECT_EQ(fresh.recordsAfter, littleEndian(records));
}

TEST(WholeGame, ATamperedSavedGameContinuesFromTheStart) {
    ScratchFolder folder("tampered");
    if (!linkBuiltGameFiles(folder.path())) GTEST_SKIP() << "no built game folder";
    WorkingFolder inFolder(folder.path());
    writeBytes("oldgame.cws", littleEndian(std::vector<int32_t>(78, Unbeaten)));
    writeBytes("oldgame.cwm", littleEndian({3, 12, 14, 7}));

    ScriptedMedia media;
    const std::vector<Stay> stays = playThrough(media, {257});
    ASSERT_EQ(stays.size(), 1u);
    EXPECT_EQ(stays[0].captionLine.text, "Level:1   Zone:0   Best: 99:59   Rank: Child");
    EXPECT_EQ(stays[0].savedGameAfter, littleEndian({0, 0, 0, 7}));
}

TEST(WholeGame, TheWelcomeLineReentersAsSoonAsItsLastLetterHasLeftTheScreen) {
    ScratchFolder folder("marquee");
    if (!linkBuiltGameFiles(folder.path())) GTEST_SKIP() << "no built game folder";
    WorkingFolder inFolder(folder.path());
    writeBytes("oldgame.cws", littleEndian(std::vector<int32_t>(78, Unbeaten)));

    ScriptedMedia media;
    SpriteFont font;
    buildGlyphWidths(font);
    int previousEnd = 99999, endBeforeReentry = 99999;
    media.onFrame = [&](int presented) {
        if (presented < 1000) return;  // the line is some 3,500 pixels long
        int firstX = 99999, end = -99999;
        for (const DrawCall& call : media.lastFrame) {
            const bool glyph = call.image && call.image->frameCount() == 90 && call.state.colour.r != 0;
            if (!glyph || call.y != 520) continue;
            firstX = std::min(firstX, static_cast<int>(call.x));
            end = std::max(end, static_cast<int>(call.x) + font.glyphWidths[static_cast<size_t>(call.frame)] - 1);
        }
        if (firstX == 800 && endBeforeReentry == 99999) {
            endBeforeReentry = previousEnd;
            media.frameLimit = presented + 1;
        }
        previousEnd = end;
    };
    media.frameLimit = 8000;
    EXPECT_THROW(runGame(media), ScriptEnded);
    EXPECT_EQ(endBeforeReentry, 0);  // its last letter had just ended at the left edge
}
