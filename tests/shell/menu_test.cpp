// The fade, the menu's screen states and start-up failures, frame by frame.

#include <gtest/gtest.h>

#include <functional>

#include <algorithm>
#include <map>
#include <tuple>

#include "media/scripted/scripted_media.h"
#include "play/game.h"
#include "shell/menu.h"
#include "shell/menu_layout.h"
#include "shell/resource_table.h"
#include "shell/shell_scenario.h"
#include "shell/shell_state.h"
#include "shell/startup.h"
#include "support/fake_pictures.h"
#include "support/test_support.h"

namespace {

// The menu in a scratch folder, with pictures made in memory and no start-up.
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

// After the present that made framesPresented p, the fade has taken p - 1 steps of 2:
// frame 0 is the menu cycle's blank frame.
int brightnessAfter(int presented) { return 2 * (presented - 1); }

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

TEST_F(MenuFixture, EscapeEndsTheProgramOnlyOnceTheMenuIsBrighterThan240) {
    ASSERT_EQ(brightnessAfter(121), 240);
    media.tapKey(60, Key::Escape);
    media.tapKey(121, Key::Escape);  // at brightness 240 exactly: still ignored
    media.pressKey(122, Key::Escape);
    EXPECT_EQ(run(1000), 0);
    EXPECT_EQ(media.framesPresented, 122);  // read right after the present that brought frame 122
    EXPECT_EQ(game.fade.brightness, 242);
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
    // Black bands across the top and the bottom, over the background and the logos.
    std::vector<DrawCall> bands;
    for (const DrawCall& call : media.lastFrame)
        if (call.kind == DrawCall::Kind::Rect) bands.push_back(call);
    ASSERT_EQ(bands.size(), 2u);
    EXPECT_EQ(std::make_tuple(bands[0].x, bands[0].y, bands[0].width, bands[0].height),
              std::make_tuple(0.f, 0.f, 800.f, 50.f));
    EXPECT_EQ(std::make_tuple(bands[1].x, bands[1].y, bands[1].width, bands[1].height),
              std::make_tuple(0.f, 550.f, 800.f, 50.f));
    EXPECT_EQ(bands[1].state.colour.r + bands[1].state.colour.g + bands[1].state.colour.b, 0);
    const auto logos = media.drawsOf(game.res.logo.get());
    ASSERT_EQ(logos.size(), 1u);
    EXPECT_EQ(std::make_pair(logos[0].x, logos[0].y), std::make_pair(420.f, 126.f));
    const auto publisher = media.drawsOf(game.res.publisherLogo.get());
    ASSERT_EQ(publisher.size(), 1u);
    EXPECT_EQ(std::make_pair(publisher[0].x, publisher[0].y), std::make_pair(10.f, 440.f));
}

TEST_F(MenuFixture, ParticlesAreBornInTheMenuAndHelpButNotDuringAFadeOut) {
    media.moveMouse(0, 650, 314);
    media.click(150);  // help
    media.tapKey(170, Key::Escape);
    media.moveMouse(175, 650, 371);
    media.click(180);  // credits: the menu fades out
    std::map<int, size_t> counts;
    media.onFrame = [&](int presented) {
        if (presented == 151 || presented == 182) game.effects.particles.clear();
        counts[presented] = game.effects.particles.size();
    };
    runOut(200);
    EXPECT_EQ(counts[161], 10u);  // one a frame in Help, none expired yet
    EXPECT_EQ(counts[199], 0u);   // none while the menu fades out toward the credits
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

TEST(StartUp, EveryPictureIsCutAndHandledAsTheGameDrawsIt) {
    ScratchFolder folder("startup");
    if (!linkBuiltGameFiles(folder.path())) GTEST_SKIP() << "no built game folder";
    WorkingFolder inFolder(folder.path());
    ScriptedMedia media;
    Game game(media);
    ShellState shell;
    startUp(game, shell);
    const Resources& res = game.res;
    struct Cut {
        const char* name;
        const Image* image;
        int width, height, frames;  // width 0: a single picture of its own size
        bool centred;
    };
    const Cut cuts[] = {
        {"pointer", res.pointer.get(), 23, 32, 2, false},
        {"sphere", res.sphere.get(), 0, 0, 1, true},
        {"lights", res.lights.get(), 64, 64, 2, false},
        {"buttons", res.buttons.get(), 32, 32, 8, true},
        {"icon", res.icon.get(), 0, 0, 1, false},
        {"hint", res.hint.get(), 13, 16, 3, false},
        {"background", res.background.get(), 0, 0, 1, true},
        {"logo", res.logo.get(), 0, 0, 1, true},
        {"tiles", res.tiles.get(), 56, 56, 120, true},
        {"panel", res.panel.get(), 0, 0, 1, false},
        {"bigFont", game.font.bigDigits.get(), 46, 64, 11, false},
        {"smallFont", game.font.smallGlyphs.get(), 13, 13, 90, false},
        {"canvas0", res.canvas[0].get(), 0, 0, 1, true},
        {"canvas3", res.canvas[3].get(), 0, 0, 1, true},
        {"publisherLogo", res.publisherLogo.get(), 0, 0, 1, false},
        {"crest", res.crest.get(), 32, 32, 34, true},
        {"particle", res.particle.get(), 64, 64, 2, true},
        {"menuBack", res.menuBack.get(), 0, 0, 1, true},
        {"menuButtons", res.menuButtons.get(), 281, 57, 7, true},
        {"menuButtonsGlow", res.menuButtonsGlow.get(), 281, 57, 7, true},
    };
    for (const Cut& cut : cuts) {
        ASSERT_NE(cut.image, nullptr) << cut.name;
        if (cut.width) {
            EXPECT_EQ(cut.image->width, cut.width) << cut.name;
            EXPECT_EQ(cut.image->height, cut.height) << cut.name;
        }
        EXPECT_EQ(cut.image->frameCount(), cut.frames) << cut.name;
        EXPECT_FLOAT_EQ(cut.image->handleX, cut.centred ? cut.image->width * 0.5f : 0.0f) << cut.name;
        EXPECT_FLOAT_EQ(cut.image->handleY, cut.centred ? cut.image->height * 0.5f : 0.0f) << cut.name;
    }
    for (const auto& canvas : res.canvas) ASSERT_NE(canvas, nullptr);
    // Effects sound once; only the menu theme plays on and on.
    for (const SoundPtr& effect : {res.click, res.start, res.complete, res.virus, res.starUse, res.rankUp}) {
        ASSERT_NE(effect, nullptr);
        EXPECT_FALSE(effect->looping);
    }
    ASSERT_NE(res.menuTheme, nullptr);
    EXPECT_TRUE(res.menuTheme->looping);
    EXPECT_GT(game.music.trackCount, 0) << "the game's own music is listed for play";
    EXPECT_TRUE(media.pointerHidden);
    EXPECT_EQ(game.connectors.open[TeeNES], (std::array<int, 4>{1, 1, 1, 0}));
    EXPECT_EQ(game.animations[6][0], 22);
    EXPECT_EQ(game.font.glyphWidths[0], 2);
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

// ---- Whole screens: the welcome line, the buttons, the credits --------------------------

TEST_F(MenuFixture, WelcomeLineScrollsLeftAlongRow520InTheFadeColour) {
    std::vector<DrawnText> lines;  // the welcome line of every presented frame
    media.onFrame = [&](int) { lines.push_back(welcomeLine()); };
    runOut(60);
    // lines[p - 1] is the frame presented as p; the entry's first frame (p = 2) draws at x 400.
    EXPECT_EQ(lines[1].x, 400);
    EXPECT_EQ(lines[51].x, 350);
    EXPECT_EQ(lines[51].y, 520);
    EXPECT_EQ(lines[51].colour.r, brightnessAfter(51));  // drawn before the fade step of its frame
    EXPECT_EQ(lines[51].colour.g, brightnessAfter(51));
}

TEST_F(MenuFixture, WelcomeLineReentersFromTheRightOnceItHasLeft) {
    shell.marqueeX = shell.marqueeLoopPoint + 1;
    std::vector<int> xs;
    media.onFrame = [&](int) { xs.push_back(welcomeLine().x); };
    runOut(5);
    EXPECT_EQ(xs[1], shell.marqueeLoopPoint + 1);
    EXPECT_EQ(xs[2], shell.marqueeLoopPoint);  // at the loop point itself it is still drawn there
    EXPECT_EQ(xs[3], 800);
    EXPECT_EQ(xs[4], 799);
}

TEST_F(MenuFixture, ButtonsHoverOnlyStrictlyInsideTheirColumn) {
    const std::vector<std::pair<std::pair<int, int>, int>> probes = {
        {{530, 200}, NoControl}, {{531, 200}, 0}, {{769, 200}, 0}, {{770, 200}, NoControl},
        {{650, 172}, NoControl}, {{650, 173}, 0}, {{650, 228}, 0}, {{650, 229}, 1},
        {{650, 342}, 2},         {{650, 343}, 3}, {{650, 456}, 4}, {{650, 457}, NoControl}};
    for (size_t i = 0; i < probes.size(); ++i)
        media.moveMouse(200 + static_cast<int>(i), probes[i].first.first, probes[i].first.second);
    std::vector<int> hovered;
    media.onFrame = [&](int presented) {
        if (presented > 200) hovered.push_back(game.hoveredControl);
    };
    runOut(200 + static_cast<int>(probes.size()));
    ASSERT_EQ(hovered.size(), probes.size());
    for (size_t i = 0; i < probes.size(); ++i)
        EXPECT_EQ(hovered[i], probes[i].second)
            << "pointer at " << probes[i].first.first << ", " << probes[i].first.second;
}

TEST_F(MenuFixture, AHoveredButtonGlowsAdditivelyAndTheGlowFadesWhenThePointerLeaves) {
    media.moveMouse(150, 650, 314);  // help
    media.moveMouse(170, 100, 100);
    std::vector<float> glowAlpha;  // the help button's glow per frame
    media.onFrame = [&](int presented) {
        if (presented < 2) return;  // the menu cycle's blank frame
        const auto glows = media.drawsOf(game.res.menuButtonsGlow.get());
        ASSERT_EQ(glows.size(), 4u);  // no glow for continue without a saved game
        EXPECT_EQ(glows[1].y, 314);
        EXPECT_EQ(glows[1].x, 650);
        EXPECT_EQ(glows[1].frame, 2);
        EXPECT_EQ(glows[1].state.blend, BlendMode::Light);
        glowAlpha.push_back(glows[1].state.alpha);
    };
    runOut(200);
    // glowAlpha[i] is the frame presented as i + 2; the pointer arrives in frame 151.
    EXPECT_FLOAT_EQ(glowAlpha[149], 0.0f);
    EXPECT_NEAR(glowAlpha[150], 0.15f, 1e-5);                   // drawn after the fall of 0.05, before the rise of 0.2
    EXPECT_NEAR(glowAlpha[168], 1.0f, 0.11f);                   // held near full while hovered
    EXPECT_NEAR(glowAlpha[171], glowAlpha[170] - 0.05f, 1e-5);  // falls once the pointer has gone
    EXPECT_LE(glowAlpha.back(), 0.0f);
    EXPECT_EQ(media.getBlendMode(), BlendMode::Alpha);
}

TEST_F(MenuFixture, WithASavedGameContinueIsBrightAndGlows) {
    writeBytes("oldgame.cwm", {});
    media.moveMouse(100, 650, 257);
    runOut(140);
    const auto buttons = media.drawsOf(game.res.menuButtons.get());
    ASSERT_EQ(buttons.size(), 5u);
    EXPECT_EQ(buttons[1].state.colour.r, 255);
    EXPECT_EQ(buttons[1].y, 257);
    const auto glows = media.drawsOf(game.res.menuButtonsGlow.get());
    ASSERT_EQ(glows.size(), 5u);
    EXPECT_GT(glows[1].state.alpha, 0.9f);
}

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
    // 2801 frames of scrolling until the rows are 800 pixels above the top, then 128 of fade.
    EXPECT_EQ(credits.backInMenu - credits.firstCreditsFrame, 2801 + 128);
    EXPECT_EQ(media.pointerMoves, (std::vector<std::pair<int, int>>{{400, 300}}));
    EXPECT_EQ(credits.welcomeXAfter, credits.welcomeXBefore - 1);  // the welcome line goes on where it was
    EXPECT_EQ(media.soundMixer().activeChannels(), 1);             // the theme was not started again

    // Frame 100 of the credits: creditsY is 550 and the fade has reached 200.
    EXPECT_FLOAT_EQ(credits.logos[100].y, 700.0f);
    EXPECT_FLOAT_EQ(credits.logos[101].y, 699.5f);  // the logo keeps the half pixel
    EXPECT_EQ(credits.logos[100].x, 400);
    const std::vector<DrawnText>& frame100 = credits.texts[100];
    const DrawnText* heading = findText(frame100, "C r e d i t s");
    ASSERT_NE(heading, nullptr);
    EXPECT_EQ(heading->y, 780);
    EXPECT_EQ(heading->x, 400 - textWidth(game.font, "C r e d i t s") / 2);
    EXPECT_EQ(heading->colour.r, 200);
    const DrawnText* idea = findText(frame100, "Original Idea");
    ASSERT_NE(idea, nullptr);
    EXPECT_EQ(idea->x, 200);
    EXPECT_EQ(idea->y, 850);
    EXPECT_EQ(findText(credits.texts[101], "Original Idea")->y, 849);  // 849.5 truncated
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
    // Every role is the team's, right-aligned to 600 on its role's row; the thanks and
    // greetings name the projects the game is built on.
    for (const char* role :
         {"Original Idea", "Code", "Design and Graphics", "Levels Construction", "Gamedev Support"}) {
        const DrawnText* roleRow = findText(frame120, role);
        ASSERT_NE(roleRow, nullptr) << role;
        const auto team = std::find_if(frame120.begin(), frame120.end(), [&](const DrawnText& row) {
            return row.y == roleRow->y && row.text == "The Cablewright Team";
        });
        ASSERT_NE(team, frame120.end()) << role;
        EXPECT_EQ(team->x + fullWidth(team->text), 600) << role;
    }
    for (const char* project : {"SDL", "libpng", "libjpeg", "Ogg Vorbis", "cairo and pixman", "FreeType",
                                "The DejaVu fonts", "GoogleTest and CMake"})
        EXPECT_NE(findText(frame120, project), nullptr) << project;
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
}
