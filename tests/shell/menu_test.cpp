// The main menu frame by frame: the fade, its buttons and their glows, the welcome line.

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <tuple>

#include "shell/menu_scene.h"

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
    EXPECT_EQ(std::make_pair(backgrounds[0].x, backgrounds[0].y), std::make_pair(400.f, 300.f));
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
    // Back to front: background, welcome line, particles, the two logos, bands, buttons, glows, pointer.
    std::vector<int> layers;
    for (const void* layer :
         {static_cast<const void*>(game.res.menuBack.get()), static_cast<const void*>(game.font.smallGlyphs.get()),
          static_cast<const void*>(game.res.particle.get()), static_cast<const void*>(game.res.publisherLogo.get()),
          static_cast<const void*>(game.res.logo.get()), static_cast<const void*>(nullptr),
          static_cast<const void*>(game.res.menuButtons.get()),
          static_cast<const void*>(game.res.menuButtonsGlow.get()), static_cast<const void*>(game.res.pointer.get())}) {
        const auto first = std::find_if(media.lastFrame.begin(), media.lastFrame.end(),
                                        [&](const DrawCall& call) { return call.image == layer; });  // bands: no image
        layers.push_back(static_cast<int>(first - media.lastFrame.begin()));
    }
    EXPECT_TRUE(std::is_sorted(layers.begin(), layers.end()) &&
                layers.back() < static_cast<int>(media.lastFrame.size()) &&
                std::adjacent_find(layers.begin(), layers.end()) == layers.end())
        << ::testing::PrintToString(layers);
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

TEST_F(MenuFixture, ExitButtonFadesOutThenEnds) {
    media.moveMouse(0, 650, 428);
    media.click(150);
    EXPECT_EQ(run(1000), 0);
    EXPECT_EQ(game.fade.brightness, 0);
    EXPECT_GE(media.framesPresented, 150 + 127);
}

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

// Each button takes a click one pixel inside each of its edges: x 531 to 769, and its band of
// 57 rows from y 172 + 57 i (173 for the first), where the one above ends; one pixel further
// out the click is the neighbour's or nobody's. Continue takes none without a saved game.
TEST(MenuClicks, EachButtonActsOnAClickOnePixelInsideItsEdgesAndNotOutside) {
    const ScreenState targets[] = {ScreenState::NewGame, ScreenState::Continue, ScreenState::Help, ScreenState::Credits,
                                   ScreenState::Quit};
    for (int i = 0; i < 5; ++i) {
        const int centre = 200 + 57 * i, top = i == 0 ? 173 : 172 + 57 * i, bottom = 228 + 57 * i;
        for (const auto& [x, y] : {std::pair{531, centre}, {769, centre}, {650, top}, {650, bottom}}) {
            EXPECT_EQ(afterClicks({{x, y}}, true).screenState, targets[i]) << "button " << i << " at " << x << "," << y;
            if (i == 1) {
                EXPECT_EQ(afterClicks({{x, y}}).screenState, ScreenState::Menu) << "continue without a save";
            }
        }
        for (const int x : {530, 770})
            EXPECT_EQ(afterClicks({{x, centre}}, true).screenState, ScreenState::Menu)
                << "button " << i << " at x " << x;
    }
    EXPECT_EQ(afterClicks({{650, 172}}, true).screenState, ScreenState::Menu);
    EXPECT_EQ(afterClicks({{650, 457}}, true).screenState, ScreenState::Menu);
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
    ASSERT_GE(glowAlpha.size(), 172u);
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
    // The column of buttons centred on x 650, 57 pixels apart from y 200, each glow on its button.
    const auto buttons = media.drawsOf(game.res.menuButtons.get());
    const auto glows = media.drawsOf(game.res.menuButtonsGlow.get());
    ASSERT_EQ(buttons.size(), 5u);
    ASSERT_EQ(glows.size(), 5u);
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(std::make_tuple(buttons[i].frame, buttons[i].x, buttons[i].y),
                  std::make_tuple(i, 650.f, 200.f + 57 * i));
        EXPECT_EQ(std::make_tuple(glows[i].frame, glows[i].x, glows[i].y), std::make_tuple(i, 650.f, 200.f + 57 * i));
    }
    EXPECT_EQ(buttons[1].state.colour.r, 255);
    EXPECT_GT(glows[1].state.alpha, 0.9f);
}
