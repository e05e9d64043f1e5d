// The credits screen: its scroll, its rows and the keys that end it.

#include <gtest/gtest.h>

#include <functional>
#include <set>
#include <string>
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
    EXPECT_EQ(thanks->x, 400 - textWidth(game.font, "Special Thanks") / 2);
    EXPECT_EQ(thanks->colour.g, 255);
    // Frame 120: creditsY is 540. Rows come every 30 pixels under the heading; each is left-aligned
    // at 170, 200 or 230, right-aligned to 570, 600 or 630, or centred on 400.
    const std::vector<DrawnText>& frame120 = credits.texts[120];
    auto fullWidth = [&](const std::string& text) {  // right placement uses the full widths
        int full = 0;
        for (char c : text) full += c == ' ' ? 5 : game.font.glyphWidths[static_cast<size_t>(c - 33)];
        return full;
    };
    EXPECT_GE(frame120.size(), 20u);
    for (const DrawnText& row : frame120) {
        if (row.text == "C r e d i t s") continue;
        EXPECT_EQ(row.y % 30, 0) << row.text << " at y " << row.y;
        const int full = fullWidth(row.text);
        const bool left = row.x == 170 || row.x == 200 || row.x == 230;
        const bool right = row.x + full == 570 || row.x + full == 600 || row.x + full == 630;
        const bool centred = row.x == 400 - textWidth(game.font, row.text) / 2;
        EXPECT_TRUE(left || right || centred) << row.text << " at x " << row.x;
    }
    // Each role names what made that part of the game, right-aligned to 600 on the role's
    // row and the rows the role has under it; no two lines say the same.
    const int top = findText(frame120, "C r e d i t s")->y - 230;  // creditsY
    auto rowAt = [&](int offset, int rightEdge) -> const DrawnText* {
        for (const DrawnText& row : frame120)
            if (row.y == top + offset && row.x + fullWidth(row.text) == rightEdge) return &row;
        return nullptr;
    };
    const std::vector<std::pair<const char*, std::vector<int>>> roles = {{"Original Idea", {300}},
                                                                         {"Code", {330}},
                                                                         {"Design and Graphics", {390, 420, 450}},
                                                                         {"Levels Construction", {510}},
                                                                         {"Gamedev Support", {570, 600, 630, 660}}};
    std::set<std::string> said;
    std::string whatMadeIt;
    for (const auto& [role, offsets] : roles) {
        const DrawnText* roleRow = findText(frame120, role);
        ASSERT_NE(roleRow, nullptr) << role;
        EXPECT_EQ(roleRow->x, 200) << role;
        EXPECT_EQ(roleRow->y, top + offsets.front()) << role;
        for (int offset : offsets) {
            const DrawnText* name = rowAt(offset, 600);
            ASSERT_NE(name, nullptr) << role << " at " << offset;
            EXPECT_TRUE(said.insert(name->text).second) << name->text;
            whatMadeIt += name->text + "\n";
        }
    }
    for (const char* maker : {"C++", "picture", "track", "assetgen", "Grown", "level"})
        EXPECT_NE(whatMadeIt.find(maker), std::string::npos) << maker;
    for (const char* project : {"SDL", "pixman", "libpng and libjpeg", "Ogg Vorbis", "cairo and FreeType",
                                "The DejaVu fonts", "GoogleTest and CMake", "Debian and GCC"})
        EXPECT_NE(findText(frame120, project), nullptr) << project;
    // The studio's closing line carries the year; its last line sends the player to where
    // the game lives, with no made-up address anywhere.
    const DrawnText* closing = findTextStarting(frame120, "Pelmar Studio (c) 2006");
    ASSERT_NE(closing, nullptr);
    EXPECT_EQ(std::make_pair(closing->x, closing->y), std::make_pair(170, top + 1170));
    const DrawnText* home = rowAt(1200, 630);
    ASSERT_NE(home, nullptr);
    EXPECT_NE(home->text.find("README.md"), std::string::npos);
    for (const DrawnText& row : frame120) EXPECT_EQ(row.text.find('@'), std::string::npos) << row.text;
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
