// The credits screen: its scroll, its rows and the keys that end it.

#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "shell/menu_scene.h"

namespace {

// Frames of a menu run that opens the credits with a click at frame 150.
struct CreditsRun {
    int firstCreditsFrame = -1;  // presented number of the credits' first frame
    int backInMenu = -1;         // presented number of the first menu frame after them
    int welcomeXBefore = 0, welcomeXAfter = 0;
    std::vector<std::vector<DrawnText>> texts;  // of every credits frame
    std::vector<DrawCall> logos;                // the logo of every credits frame
};

void watchCredits(MenuScene& f, CreditsRun& run) {
    f.media.moveMouse(0, 650, 371);
    f.media.click(150);
    f.media.onFrame = [&](int presented) {
        const auto logo = f.media.drawsOf(f.game.res.logo.get());
        const bool credits = !logo.empty() && logo[0].x == 400;  // the menu draws it at x 420
        const DrawnText welcome = f.welcomeLine();
        if (credits && run.firstCreditsFrame < 0) run.firstCreditsFrame = presented;
        if (credits) {
            run.texts.push_back(f.texts());
            run.logos.push_back(logo[0]);
        }
        if (run.firstCreditsFrame < 0 && presented > 1) run.welcomeXBefore = welcome.x;
        if (run.firstCreditsFrame > 0 && !credits && run.backInMenu < 0) {
            run.backInMenu = presented;
            run.welcomeXAfter = welcome.x;
        }
    };
}

}  // namespace

TEST_F(MenuFixture, CreditsScrollUpHalfAPixelPerFrameAndReturnToTheMenuAfterTheirFade) {
    game.res.menuTheme = std::make_shared<Sound>(Sound{std::vector<int16_t>(2 * MixRate * 60), true});
    CreditsRun credits;
    watchCredits(*this, credits);
    runOut(3500);
    ASSERT_GT(credits.firstCreditsFrame, 0);
    ASSERT_GT(credits.texts.size(), 1000u);
    // 2801 frames of scrolling until the rows are 800 pixels above the top, then 128 of fade.
    EXPECT_EQ(credits.backInMenu - credits.firstCreditsFrame, 2801 + 128);
    EXPECT_EQ(media.pointerMoves, (std::vector<std::pair<int, int>>{{400, 300}}));
    EXPECT_EQ(credits.welcomeXAfter, credits.welcomeXBefore - 1);  // the welcome line goes on where it was
    EXPECT_EQ(media.soundMixer().activeChannels(), 1);             // the theme was not started again

    // Frame 100 of the credits: creditsY is 550 and the fade has reached 200.
    EXPECT_FLOAT_EQ(credits.logos[100].y, 700.0f);
    EXPECT_FLOAT_EQ(credits.logos[101].y, 699.5f);  // the logo keeps the half pixel
    EXPECT_EQ(credits.logos[100].x, 400);
    const DrawnText* heading = findText(credits.texts[100], "C r e d i t s");
    ASSERT_NE(heading, nullptr);
    EXPECT_EQ(heading->y, 780);
    EXPECT_EQ(heading->colour.r, 200);
    const DrawnText* idea = findText(credits.texts[101], "Original Idea");
    ASSERT_NE(idea, nullptr);
    EXPECT_EQ(idea->y, 849);  // 849.5 truncated
    const DrawnText* thanks = findText(credits.texts[1000], "Special Thanks");
    ASSERT_NE(thanks, nullptr);
    EXPECT_EQ(thanks->y, 100 + 750);  // creditsY = 600 - 500
    EXPECT_EQ(thanks->colour.g, 255);
    // Frame 120: creditsY is 540. Every row on its own place: roles on the left with the team
    // right-aligned beside them, the projects the game is built on in two columns.
    const std::vector<TableRow> rows = {
        {400, 540 + 230, 'c', "C r e d i t s"},
        {200, 540 + 300, 'l', "Original Idea"},
        {600, 540 + 300, 'r', "The Cablewright Team"},
        {200, 540 + 330, 'l', "Code"},
        {600, 540 + 330, 'r', "The Cablewright Team"},
        {200, 540 + 390, 'l', "Design and Graphics"},
        {600, 540 + 390, 'r', "The Cablewright Team"},
        {200, 540 + 510, 'l', "Levels Construction"},
        {600, 540 + 510, 'r', "The Cablewright Team"},
        {200, 540 + 570, 'l', "Gamedev Support"},
        {600, 540 + 570, 'r', "The Cablewright Team"},
        {400, 540 + 750, 'c', "Special Thanks"},
        {230, 540 + 810, 'l', "SDL"},
        {570, 540 + 810, 'r', "libpng"},
        {230, 540 + 840, 'l', "libjpeg"},
        {570, 540 + 840, 'r', "Ogg Vorbis"},
        {400, 540 + 900, 'c', "Greetings to the open-source projects"},
        {230, 540 + 990, 'l', "cairo and pixman"},
        {570, 540 + 990, 'r', "FreeType"},
        {230, 540 + 1020, 'l', "The DejaVu fonts"},
        {570, 540 + 1020, 'r', "GoogleTest and CMake"},
        {170, 540 + 1170, 'l', "Pelmar Studio (c) 2006 - thank you for playing!"},
        {630, 540 + 1200, 'r', "hello@pelmar-studio.example"},
    };
    EXPECT_EQ(seenRows(credits.texts[120]), seenRows(rows));
}

TEST(Credits, HoldingEscapeSpaceEnterOrTheLeftButtonEndsThemAtOnce) {
    const std::vector<std::pair<const char*, std::function<void(ScriptedMedia&)>>> holds = {
        {"Escape", [](ScriptedMedia& media) { media.pressKey(200, Key::Escape); }},
        {"Space", [](ScriptedMedia& media) { media.pressKey(200, Key::Space); }},
        {"Enter", [](ScriptedMedia& media) { media.pressKey(200, Key::Enter); }},
        {"left button", [](ScriptedMedia& media) { media.pressMouse(200, MouseButton::Left); }},
    };
    for (const auto& [name, hold] : holds) {
        MenuScene f;
        CreditsRun credits;
        watchCredits(f, credits);
        hold(f.media);  // held from the menu's fade-out on, where it does nothing
        f.runOut(700);
        ASSERT_GT(credits.firstCreditsFrame, 0) << name;
        EXPECT_EQ(credits.backInMenu - credits.firstCreditsFrame, 2) << name;  // fade-out from brightness 2
    }
}
