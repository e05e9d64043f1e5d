// The three help pages drawn over the menu: paging, the panel, the next-page button.

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <tuple>

#include "shell/menu_scene.h"

TEST_F(MenuFixture, HelpPagesTurnAndEscapeKeepsThePage) {
    media.moveMouse(0, 650, 314);
    media.click(150);  // help
    media.moveMouse(155, 100, 100);
    media.click(158);  // anywhere but the next-page button: nothing
    media.moveMouse(160, 400, 470);
    media.click(170);                // page 1
    media.tapKey(180, Key::Escape);  // back to the menu at once, though the button is clicked too
    media.click(180);
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

TEST_F(MenuFixture, TheNextPageButtonGlowsWhileHoveredAndFadesAfter) {
    media.moveMouse(0, 650, 314);
    media.click(150);  // help
    // The button answers strictly inside x 280..520, y 455..490.
    const std::vector<std::pair<int, int>> probes = {{281, 456}, {519, 489}, {520, 470}, {400, 455}, {400, 490}};
    for (size_t i = 0; i < probes.size(); ++i)
        media.moveMouse(160 + static_cast<int>(i), probes[i].first, probes[i].second);
    media.moveMouse(165, 281, 456);  // just inside again
    media.moveMouse(190, 280, 456);  // just outside
    std::vector<DrawCall> glows;     // the next-page glow of every frame in Help
    std::vector<int> hovered;
    std::map<int, float> glowOf;  // by frame
    media.onFrame = [&](int presented) {
        for (const DrawCall& call : media.drawsOf(game.res.menuButtonsGlow.get()))
            if (call.frame == 5) glows.push_back(call), glowOf[presented] = call.state.alpha;
        if (presented > 160 && presented <= 165) hovered.push_back(game.hoveredControl);
        if (presented > 150) {  // the pointer over the help page is drawn as usual, not as a glow
            EXPECT_EQ(media.drawsOf(game.res.pointer.get()).at(0).state.blend, BlendMode::Alpha) << presented;
        }
    };
    runOut(240);
    EXPECT_EQ(hovered, (std::vector<int>{5, 5, NoControl, NoControl, NoControl}));
    for (int frame = 195; frame < 200; ++frame)  // falling by 0.05 a frame once the pointer has gone
        EXPECT_NEAR(glowOf[frame], glowOf[frame - 1] - 0.05f, 1e-5) << frame;
    ASSERT_GE(glows.size(), 80u);
    EXPECT_EQ(glows[0].x, 400);
    EXPECT_EQ(glows[0].y, 470);
    EXPECT_EQ(glows[0].state.blend, BlendMode::Light);
    float highest = 0.0f;
    for (const DrawCall& glow : glows) highest = std::max(highest, glow.state.alpha);
    EXPECT_GE(highest, 1.0f);
    EXPECT_LE(glows.back().state.alpha, 0.0f);  // gone some 20 frames after the pointer left
    EXPECT_EQ(shell.screenState, ScreenState::Help);
}

TEST_F(MenuFixture, TheFirstHelpPageLiesOnAGreenishPanelOverTheMenu) {
    media.moveMouse(0, 650, 314);
    media.click(150);
    runOut(200);
    ASSERT_EQ(shell.screenState, ScreenState::Help);
    const auto panels = media.drawsOf(game.res.canvas[2].get());
    ASSERT_EQ(panels.size(), 1u);
    EXPECT_EQ(panels[0].x, 400);
    EXPECT_EQ(panels[0].y, 300);
    EXPECT_FLOAT_EQ(panels[0].state.alpha, 0.8f);  // the menu shows faintly through it
    EXPECT_EQ(panels[0].state.colour.r, 212);      // 255 / 1.2
    EXPECT_EQ(panels[0].state.colour.g, 255);
    EXPECT_EQ(panels[0].state.colour.b, 212);
    const std::vector<DrawnText> shown = texts();
    const DrawnText* title = findText(shown, "How to play?");
    ASSERT_NE(title, nullptr);
    EXPECT_EQ(title->x, 400 - textWidth(game.font, title->text) / 2);
    EXPECT_EQ(title->y, 100);
    EXPECT_EQ(title->colour.r, 255);
    EXPECT_FLOAT_EQ(title->alpha, 1.0f);
    const DrawnText* process = findText(shown, "Game process:");
    ASSERT_NE(process, nullptr);
    EXPECT_EQ(process->x, 180 + 6 * 5);  // six leading blanks
    EXPECT_EQ(process->y, 130);
    const DrawnText* computer = findText(shown, "Computer.");
    ASSERT_NE(computer, nullptr);
    EXPECT_EQ(computer->x, 270);
    EXPECT_EQ(computer->y, 310);
    const auto pictures = media.drawsOf(game.res.tiles.get());
    ASSERT_EQ(pictures.size(), 3u);
    EXPECT_EQ(pictures[0].frame, 0);
    EXPECT_EQ(pictures[0].y, 340);
    EXPECT_EQ(pictures[1].frame, 94);  // a cable end with a connected computer over it
    EXPECT_EQ(pictures[2].frame, 40);
    EXPECT_EQ(pictures[2].x, 230);
    EXPECT_EQ(pictures[2].y, 395);
    const auto buttons = media.drawsOf(game.res.menuButtons.get());
    ASSERT_EQ(buttons.size(), 6u);
    EXPECT_EQ(buttons[5].frame, 5);
    EXPECT_EQ(buttons[5].x, 400);
    EXPECT_EQ(buttons[5].y, 470);
}

TEST_F(MenuFixture, EveryHelpLineSitsOnThePagesGridAndThePicturesWhereTheyBelong) {
    media.moveMouse(0, 650, 314);
    media.click(150);
    media.moveMouse(160, 400, 470);
    media.click(170);
    media.click(190);
    std::map<int, std::vector<DrawnText>> pages;  // page -> its texts
    std::map<int, std::vector<DrawCall>> pictures;
    media.onFrame = [&](int presented) {
        if (presented == 165 || presented == 185 || presented == 205) {
            pages[shell.helpPage] = texts();
            pictures[shell.helpPage] = media.drawsOf(game.res.tiles.get());
        }
    };
    runOut(210);
    ASSERT_EQ(pages.size(), 3u);
    for (const auto& [page, lines] : pages) {
        EXPECT_GE(lines.size(), 14u) << "page " << page;
        for (const DrawnText& line : lines) {
            if (line.text.rfind("Welcome", 0) == 0) continue;  // the menu's own line below the panel
            // Lines run 15 pixels apart from the title at y 100, with gaps of whole lines.
            EXPECT_EQ((line.y - 100) % 15, 0) << "page " << page << ": " << line.text << " at y " << line.y;
            const bool centred = line.x == 400 - textWidth(game.font, line.text) / 2;
            const bool rightAligned = line.text == "Server" && line.x == 530 - textWidth(game.font, "Server") - 6;
            const bool onColumn = line.x >= 180 && (line.x - 180) % 5 == 0;  // 180 or 270, then leading blanks
            EXPECT_TRUE(centred || rightAligned || onColumn)
                << "page " << page << ": " << line.text << " at x " << line.x;
        }
    }
    auto at = [](const DrawCall& call) {
        return std::make_tuple(call.frame, static_cast<int>(call.x), static_cast<int>(call.y));
    };
    ASSERT_EQ(pictures[1].size(), 3u);
    EXPECT_EQ(at(pictures[1][0]), std::make_tuple(98, 230, 395));  // FaxModem
    EXPECT_EQ(at(pictures[1][1]), std::make_tuple(96, 570, 373));  // the Server's two halves, one above the other
    EXPECT_EQ(at(pictures[1][2]), std::make_tuple(97, 570, 421));
    EXPECT_TRUE(pictures[2].empty());
    const DrawnText* fax = findText(pages[1], "FaxModem.");
    ASSERT_NE(fax, nullptr);
    EXPECT_EQ(fax->x, 270);
    EXPECT_EQ(fax->y, 385);
    // The last page ends by sending the player to where the game lives, centred under the
    // additional information; no page gives a made-up address.
    const DrawnText* home = findTextStarting(pages[2], "More about the game");
    ASSERT_NE(home, nullptr);
    EXPECT_EQ(home->y, 430);
    EXPECT_EQ(home->x, 400 - textWidth(game.font, home->text) / 2);
    EXPECT_NE(home->text.find("README.md"), std::string::npos);
    for (const auto& [page, lines] : pages)
        for (const DrawnText& line : lines) EXPECT_EQ(line.text.find('@'), std::string::npos) << line.text;
}
