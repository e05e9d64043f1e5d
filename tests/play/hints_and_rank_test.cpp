#include <gtest/gtest.h>

#include <tuple>

#include "play/hint_overlay.h"
#include "play_fixture.h"

namespace {

std::vector<DrawCall> rectsOf(const ScriptedMedia& media) {
    std::vector<DrawCall> rects;
    for (const DrawCall& call : media.lastFrame)
        if (call.kind == DrawCall::Kind::Rect) rects.push_back(call);
    return rects;
}

}  // namespace

TEST(Hints, FirstLevelShowsPagesAt200And1300AndFadesFrom2400) {
    PlayFixture f;
    startLevel(f.game);
    const HintOverlay& hint = f.game.level.hint;
    f.runFrames(199);
    EXPECT_FALSE(hint.visible);
    playFrame(f.game);  // level time 200
    EXPECT_TRUE(hint.visible);
    EXPECT_EQ(hint.page, 0);
    playFrame(f.game);
    std::vector<DrawCall> rects = rectsOf(f.media);
    ASSERT_EQ(rects.size(), 1u);
    EXPECT_EQ(rects[0].width, 400);
    EXPECT_EQ(rects[0].height, 130);
    EXPECT_FLOAT_EQ(rects[0].state.alpha, 0.05f / 3.0f);
    EXPECT_EQ(rects[0].x, 10);
    EXPECT_EQ(rects[0].y, 10);
    EXPECT_EQ(rects[0].state.colour.r, 0);
    std::vector<DrawnText> texts = f.texts();
    const DrawnText* title = findText(texts, "Network Construction Hint");
    ASSERT_NE(title, nullptr);
    EXPECT_EQ(title->x, 210 - textWidth(f.game.font, title->text) / 2);
    EXPECT_EQ(title->y, 15);
    EXPECT_FLOAT_EQ(title->alpha, 0.05f);
    EXPECT_EQ(title->colour.r, 255);  // the fade colour, full by now
    const DrawnText* first = findText(texts, "The basic task in game, is to connect all computers to Server.");
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->x, 15);
    EXPECT_EQ(first->y, 45);
    const DrawnText* fifth = findText(texts, "click - 90 degrees.");
    ASSERT_NE(fifth, nullptr);
    EXPECT_EQ(fifth->x, 15);
    EXPECT_EQ(fifth->y, 45 + 4 * 15);
    f.runFrames(30);
    EXPECT_GE(hint.alpha, 1.0f);
    f.runFrames(1300 - 231);
    EXPECT_EQ(hint.page, 1);
    EXPECT_FLOAT_EQ(hint.alpha, 0.0f);  // a new page starts over
    playFrame(f.game);
    texts = f.texts();
    const DrawnText* second = findText(texts, "Connect Computers to Server");
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(second->x, 220 - textWidth(f.game.font, second->text) / 2);
    EXPECT_EQ(rectsOf(f.media).at(0).width, 420);
    EXPECT_EQ(rectsOf(f.media).at(0).height, 115);
    f.runFrames(1099);  // level time 2400
    EXPECT_EQ(hint.direction, -1);
    EXPECT_TRUE(hint.visible);
    f.runFrames(25);
    EXPECT_FALSE(hint.visible);
    EXPECT_TRUE(rectsOf(f.media).empty());
}

// Every page, brought up by its own level's trigger, reads as a box over the board: inside
// the screen, clear of the status panel's controls, with its title on top and every line of
// text inside the box, one under the other. The texts themselves are the page's to choose.
TEST(Hints, EveryPageFitsItsBoxAboveTheStatusPanel) {
    struct Trigger {
        int levelIndex, levelFrames, virusClock, page;
        const char* reading;  // the page's lines read from the top down, a space between two
    };
    const Trigger triggers[] = {
        {0, 200, 0, 0,
         "The basic task in game, is to connect all computers to Server. The connection of computers with Server "
         "occurs by means rotation of elements network cable. For rotation of elements cable, use the Left button of "
         "the mouse. Turn of an element after one click - 90 degrees."},
        {0, 1300, 0, 1,
         "The outputs of devices too can be rotated.For it move the mouse on the device and click the left button. "
         "Server can have from one up to two outputs. The amount of outputs depends on a level of game."},
        {4, 0, 200, 2,
         "The computer, infected by a virus, by anything does not give out, is not connected to Server. As soon as "
         "the connection occurs, the virus reveals itself, and infects all computers connected with Server."},
        {4, 0, 1250, 3,
         "To clear the computer of a virus is useless, when to Server is connected of two or more infected "
         "computers. Be more circumspect! Do not connect many computers! To clear the computer of a virus it is "
         "possible when it is connected to Server."},
        {5, 200, 0, 4,
         "Such devices at a level cannot be less than two. With connection network cable to such device, the device "
         "begins to transfer connection to other device type ''FaxModem''. All connected to second of ''FaxModem'', "
         "are considered connected to server."}};
    constexpr int GlyphHeight = 13;
    constexpr int StatusPanelControlsTop = 568;  // the music buttons' top edge
    PlayFixture f;
    f.game.fade.brightness = 255;
    for (const Trigger& trigger : triggers) {
        LevelState& level = f.game.level;
        level.hint = HintOverlay{};
        level.levelFrames = trigger.levelFrames;
        level.virusWatch.virusRevealed = trigger.virusClock > 0;
        level.virusWatch.virusHintClock = trigger.virusClock - 1;
        stepHintTriggers(level, trigger.levelIndex);
        ASSERT_TRUE(level.hint.visible) << "level " << trigger.levelIndex;
        EXPECT_EQ(level.hint.page, trigger.page) << "level " << trigger.levelIndex;
        f.media.clearScreen();
        drawHintOverlay(f.media, f.game.font, f.game.fade, level.hint);
        f.media.presentFrame();

        const std::vector<DrawCall> box = rectsOf(f.media);
        ASSERT_EQ(box.size(), 1u) << "page " << trigger.page;
        const int left = int(box[0].x), top = int(box[0].y);
        const int right = left + int(box[0].width), bottom = top + int(box[0].height);
        EXPECT_GE(left, 0);
        EXPECT_GE(top, 0);
        EXPECT_LE(right, 800) << "page " << trigger.page;
        EXPECT_LE(bottom, StatusPanelControlsTop) << "page " << trigger.page;

        const std::vector<DrawnText> texts = f.texts();
        ASSERT_GE(texts.size(), 2u) << "a title and at least one line, page " << trigger.page;
        std::string reading;
        for (size_t i = 1; i < texts.size(); ++i) reading += (i > 1 ? " " : "") + texts[i].text;
        EXPECT_EQ(reading, trigger.reading);
        int previousBottom = top;
        for (const DrawnText& text : texts) {
            const int width = textWidth(f.game.font, text.text);
            EXPECT_GT(text.x, left) << text.text;
            EXPECT_LT(text.x + width, right) << text.text;
            EXPECT_GE(text.y, previousBottom) << "one under the other: " << text.text;
            EXPECT_LE(text.y + GlyphHeight, bottom) << text.text;
            previousBottom = text.y + GlyphHeight;
        }
        EXPECT_EQ(texts[0].x + textWidth(f.game.font, texts[0].text) / 2, (left + right) / 2)
            << "the title centred in its box, page " << trigger.page;
    }
}

TEST(Hints, VirusClockAndFaxModemTriggers) {
    PlayFixture f;
    LevelState& level = f.game.level;
    f.game.progress.levelIndex = 4;
    level.virusWatch.virusRevealed = true;
    level.virusWatch.virusHintClock = 199;
    stepHintTriggers(f.game.level, f.game.progress.levelIndex);
    EXPECT_TRUE(level.hint.visible);
    EXPECT_EQ(level.hint.page, 2);
    EXPECT_EQ(level.hint.direction, 1);
    level.hint.alpha = 0.5f;  // part-way faded in
    stepHintTriggers(f.game.level, f.game.progress.levelIndex);
    EXPECT_EQ(level.hint.direction, 1) << "shown, not yet told to fade";
    EXPECT_EQ(level.hint.page, 2);
    EXPECT_EQ(level.hint.alpha, 0.5f) << "nor started again";
    level.virusWatch.virusHintClock = 1249;
    stepHintTriggers(f.game.level, f.game.progress.levelIndex);
    EXPECT_EQ(level.hint.page, 3);
    EXPECT_EQ(level.hint.direction, 1);
    level.virusWatch.virusHintClock = 2499;
    stepHintTriggers(f.game.level, f.game.progress.levelIndex);
    EXPECT_EQ(level.hint.direction, -1);

    f.game.progress.levelIndex = 5;
    level.virusWatch.virusRevealed = false;
    level.levelFrames = 200;
    stepHintTriggers(f.game.level, f.game.progress.levelIndex);
    EXPECT_EQ(level.hint.page, 4);
    EXPECT_EQ(level.hint.direction, 1);
    f.media.clearScreen();
    drawHintOverlay(f.media, f.game.font, f.game.fade, f.game.level.hint);
    f.media.presentFrame();
    EXPECT_TRUE(f.textShown("Application of devices of a type ''FaxModem''"));
    level.levelFrames = 1400;
    stepHintTriggers(f.game.level, f.game.progress.levelIndex);
    EXPECT_EQ(level.hint.direction, -1);
    // Told to fade out while still at alpha 0: gone at the next draw.
    showHint(level.hint, 4);
    stepHintTriggers(f.game.level, f.game.progress.levelIndex);
    drawHintOverlay(f.media, f.game.font, f.game.fade, f.game.level.hint);
    EXPECT_FALSE(level.hint.visible);

    f.game.progress.levelIndex = 3;  // the virus hints belong to level 4 alone
    level.virusWatch.virusRevealed = true;
    for (const int clock : {199, 1249}) {
        level.virusWatch.virusHintClock = clock;
        stepHintTriggers(f.game.level, f.game.progress.levelIndex);
        EXPECT_FALSE(level.hint.visible) << clock;
    }
}

TEST(Rank, PassingOneHundredFiftyRaisesTheRankAndDropsTheExcess) {
    PlayFixture f;
    Progress& progress = f.game.progress;
    progress.rankPoints = 150;
    EXPECT_FALSE(stepRank(progress));
    EXPECT_EQ(progress.rankPoints, 150);
    EXPECT_EQ(progress.rankIndex, 0);
    progress.rankPoints = 190;
    EXPECT_TRUE(stepRank(progress));  // the rank-up sound plays
    EXPECT_EQ(progress.rankIndex, 1);
    EXPECT_EQ(progress.rankPoints, 0);
    // At the top rank the points still start over, silently.
    progress.rankIndex = 9;
    progress.rankPoints = 155;
    EXPECT_FALSE(stepRank(progress));
    EXPECT_EQ(progress.rankIndex, 9);
    EXPECT_EQ(progress.rankPoints, 0);
    // Each rank by its own name, from the bottom up; past either end the nearest.
    const std::vector<std::string> names = {"Child",       "Looser",      "User",       "Gamer",     "Advanced Gamer",
                                            "Webdesigner", "Cablewright", "Programmer", "Developer", "Hacker"};
    for (int rank = 0; rank < 10; ++rank) EXPECT_EQ(rankName(rank), names[rank]);
    EXPECT_EQ(rankName(-1), "Child");
    EXPECT_EQ(rankName(10), "Hacker");
}

TEST(Rank, TheFrameThatLeavesPlayStillRaisesTheRank) {
    PlayFixture f;
    startLevel(f.game);
    f.game.fade.brightness = 0;  // the screen is already dark: Escape leaves at once
    f.game.fade.fadeTarget = 0;
    f.game.progress.rankPoints = 151;
    f.game.res.rankUp = fakeSound();
    const int channelsBefore = f.media.soundMixer().activeChannels();
    f.media.pressKey(f.media.framesPresented, Key::Escape);
    EXPECT_FALSE(playFrame(f.game));
    EXPECT_EQ(f.game.progress.rankIndex, 1);
    EXPECT_EQ(f.game.progress.rankPoints, 0);
    EXPECT_EQ(f.media.soundMixer().activeChannels(), channelsBefore + 1) << "the rank-up sound";
}
