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

// The next-page button takes a click strictly inside x 280..520, y 455..490.
TEST(HelpClicks, TheNextPageButtonActsOnAClickOnePixelInsideItsEdgesAndNotOutside) {
    const std::pair<int, int> inside[] = {{281, 470}, {519, 470}, {400, 456}, {400, 489}};
    const std::pair<int, int> outside[] = {{280, 470}, {520, 470}, {400, 455}, {400, 490}};
    for (const auto& point : inside) {
        const ShellState shell = afterClicks({{650, 314}, point});
        EXPECT_EQ(shell.screenState, ScreenState::Help);
        EXPECT_EQ(shell.helpPage, 1) << point.first << "," << point.second;
    }
    for (const auto& point : outside)
        EXPECT_EQ(afterClicks({{650, 314}, point}).helpPage, 0) << point.first << "," << point.second;
}

TEST_F(MenuFixture, TheNextPageButtonGlowsWhileHoveredAndFadesAfter) {
    media.moveMouse(0, 650, 314);
    media.click(150);                // help
    media.moveMouse(165, 281, 456);  // just inside
    media.moveMouse(190, 280, 456);  // just outside
    std::vector<DrawCall> glows;     // the next-page glow of every frame in Help
    std::map<int, float> glowOf;     // by frame
    media.onFrame = [&](int presented) {
        for (const DrawCall& call : media.drawsOf(game.res.menuButtonsGlow.get()))
            if (call.frame == 5) glows.push_back(call), glowOf[presented] = call.state.alpha;
        if (presented > 150) {  // the pointer over the help page is drawn as usual, not as a glow
            EXPECT_EQ(media.drawsOf(game.res.pointer.get()).at(0).state.blend, BlendMode::Alpha) << presented;
        }
    };
    runOut(240);
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
    EXPECT_EQ(title->colour.r, 255);
    EXPECT_FLOAT_EQ(title->alpha, 1.0f);
    const auto pictures = media.drawsOf(game.res.tiles.get());
    ASSERT_EQ(pictures.size(), 3u);
    // A computer, and under it a cable end with a connected computer over it.
    EXPECT_EQ(std::make_tuple(pictures[0].frame, pictures[0].x, pictures[0].y), std::make_tuple(0, 230.f, 340.f));
    EXPECT_EQ(std::make_tuple(pictures[1].frame, pictures[1].x, pictures[1].y), std::make_tuple(94, 230.f, 395.f));
    EXPECT_EQ(std::make_tuple(pictures[2].frame, pictures[2].x, pictures[2].y), std::make_tuple(40, 230.f, 395.f));
    const auto buttons = media.drawsOf(game.res.menuButtons.get());
    ASSERT_EQ(buttons.size(), 6u);
    EXPECT_EQ(buttons[5].frame, 5);
    EXPECT_EQ(buttons[5].x, 400);
    EXPECT_EQ(buttons[5].y, 470);
}

namespace {

// The three pages as they are written, row by row.
const std::vector<TableRow> HelpPageRows[3] = {
    {{
        {400, 100, 'c', "How to play?"},
        {180, 130, 'l', "      Game process:"},
        {180, 145, 'l', "      The basic task in game, is to connect all computers to Server."},
        {180, 160, 'l', "The connection of computers with Server occurs by means rotation"},
        {180, 175, 'l', "of elements network cable. For rotation of elements cable,"},
        {180, 190, 'l', "use the Left button of the mouse. Turn of an element after one "},
        {180, 205, 'l', "click - 90 degrees. Making elements of cable in a chain, you create "},
        {180, 220, 'l', "connections. Each of devices in game has outputs for connection cable."},
        {180, 235, 'l', "The outputs of devices too can be rotated.For it move the mouse"},
        {180, 250, 'l', "on the device and click the left button."},
        {180, 265, 'l', "Server can have from one up to two outputs. The amount of outputs"},
        {180, 280, 'l', "depends on a level of game."},
        {270, 310, 'l', "Computer."},
        {270, 325, 'l', "The computers can have three condition:"},
        {270, 340, 'l', "With the dark blue screen - is not connect to network."},
        {270, 355, 'l', "With the green screen - the computer is included in a network."},
        {270, 370, 'l', "With the red screen - the computer is infected by a virus."},
        {270, 400, 'l', "There are some more condition of computers, but about them"},
        {270, 415, 'l', "you learn during game."},
    }},
    {{
        {400, 100, 'c', "Additional devices."},
        {180, 130, 'l', "      In game, except computers and servers, there is some"},
        {180, 145, 'l', "more devices."},
        {180, 160, 'l', "      Application of devices of a type ''FaxModem''"},
        {180, 175, 'l', "Such devices at a level cannot be less than two. With connection"},
        {180, 190, 'l', "network cable to such device, the device begins to transfer"},
        {180, 205, 'l', "connection to other device type ''FaxModem''."},
        {180, 220, 'l', "All connected to second of ''FaxModem'', are considered"},
        {180, 235, 'l', "connected To server."},
        {180, 280, 'l', "     In game except devices of a type ''Faxmodem'', there are"},
        {180, 295, 'l', "still some devices. Their application you will understand on a "},
        {180, 310, 'l', "course of game."},
        {270, 385, 'l', "FaxModem."},
        {530, 385, 'r', "Server"},
    }},
    {{
        {400, 100, 'c', "About cleaning computers from viruses."},
        {180, 130, 'l', "      The computer, infected by a virus, by anything does not give"},
        {180, 145, 'l', "out, is not connected yet to Server."},
        {180, 160, 'l', "      As soon as the connection occurs, the virus reveals itself,"},
        {180, 175, 'l', "and infects all computers connected with Server."},
        {180, 190, 'l', "To clear the computer of a virus, it is possible only then,"},
        {180, 205, 'l', "when this computer is connected to Server."},
        {180, 220, 'l', "To clear the computer of a virus is useless, when to Server"},
        {180, 235, 'l', "is connected of two or more infected computers."},
        {180, 250, 'l', "To clear the computer of a virus it is possible when it is"},
        {180, 265, 'l', "connected to Server."},
        {180, 280, 'l', "Be more circumspect!"},
        {400, 310, 'c', "Additional Information."},
        {180, 340, 'l', "    * For change of background music, use ''The Sound control panel''"},
        {180, 355, 'l', "in the left-bottom corner of the screen."},
        {180, 370, 'l', "    * For addition of the music, copy files, necessary For you, of music"},
        {180, 385, 'l', "(format .WAV of .OGG) in a folder ''Tracks'' which is taking place"},
        {180, 400, 'l', "in a folder ,where the game is installed."},
        {400, 430, 'c', "More about the game: README.md and man cablewright"},
    }},

};

}  // namespace

TEST_F(MenuFixture, EveryHelpLineSitsOnItsRowAndThePicturesWhereTheyBelong) {
    media.moveMouse(0, 650, 314);
    media.click(150);
    media.moveMouse(160, 400, 470);
    media.click(170);
    media.click(190);
    std::map<int, std::vector<DrawnText>> pages;  // page -> its texts
    std::map<int, std::vector<DrawCall>> pictures;
    media.onFrame = [&](int presented) {
        if (presented == 165 || presented == 185 || presented == 205) {
            for (const DrawnText& line : texts())
                // Not the menu's welcome line, nor its links on the bottom band.
                if (line.y != 520 && line.y < 550) pages[shell.helpPage].push_back(line);
            pictures[shell.helpPage] = media.drawsOf(game.res.tiles.get());
        }
    };
    runOut(210);
    ASSERT_EQ(pages.size(), 3u);
    for (int page = 0; page < 3; ++page)
        EXPECT_EQ(seenRows(pages[page]), seenRows(HelpPageRows[page])) << "page " << page;
    auto at = [](const DrawCall& call) {
        return std::make_tuple(call.frame, static_cast<int>(call.x), static_cast<int>(call.y));
    };
    ASSERT_EQ(pictures[1].size(), 3u);
    EXPECT_EQ(at(pictures[1][0]), std::make_tuple(98, 230, 395));  // FaxModem
    EXPECT_EQ(at(pictures[1][1]), std::make_tuple(96, 570, 373));  // the Server's two halves, one above the other
    EXPECT_EQ(at(pictures[1][2]), std::make_tuple(97, 570, 421));
    EXPECT_TRUE(pictures[2].empty());
}
