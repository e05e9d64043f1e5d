// The 800 x 600 screen drawn at a window's own pixels: where it lies in windows of other
// shapes, which picture set suits which scale, and the game's own pictures drawn at scales 2
// and 3 on both drawing paths, texel for pixel as the generator drew them.

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "media/desktop/sdl_media.h"
#include "media/draw/cpu/compose_budget.h"
#include "media/draw/viewport.h"
#include "support/test_support.h"

namespace {

constexpr int LogicalWidth = 800, LogicalHeight = 600;

}  // namespace

TEST(Viewport, TheScreenIsCentredWithItsShapeKept) {
    struct Case {
        int windowWidth, windowHeight;
        Viewport expected;
    };
    // The last: a window with no height (minimised) still gets a screen of a pixel.
    const Case cases[] = {
        {800, 600, {800, 600, 0, 0, 800, 600, 1.0f}},         {1600, 1200, {1600, 1200, 0, 0, 1600, 1200, 2.0f}},
        {1920, 1080, {1920, 1080, 240, 0, 1440, 1080, 1.8f}},  // bars left and right
        {1280, 1024, {1280, 1024, 0, 32, 1280, 960, 1.6f}},    // bars above and below
        {2560, 1080, {2560, 1080, 560, 0, 1440, 1080, 1.8f}},  // a wide screen
        {3840, 2160, {3840, 2160, 480, 0, 2880, 2160, 3.6f}}, {4, 0, {4, 0, 1, 0, 1, 1, 0.0f}},
    };
    for (const Case& c : cases) {
        const Viewport viewport = fitScreen(LogicalWidth, LogicalHeight, c.windowWidth, c.windowHeight);
        EXPECT_EQ(viewport, c.expected) << c.windowWidth << " x " << c.windowHeight << ": " << viewport.x << ","
                                        << viewport.y << " " << viewport.width << " x " << viewport.height;
        // Centred: the bars on either side differ by a pixel at most.
        EXPECT_LE(std::abs(c.windowWidth - viewport.width - 2 * viewport.x), 1);
        EXPECT_LE(std::abs(c.windowHeight - viewport.height - 2 * viewport.y), 1);
    }
}

// Every window pixel of a row and of a column, at each scale the game draws at, against the
// exact inverse of the screen's placement: a window pixel belongs to the logical pixel its
// centre falls in (bars give -1 or 800 and beyond), and a logical pixel is warped to the
// window pixel its centre falls in. The scales are exact fractions here (1.8 is 9 / 5).
TEST(Viewport, EveryWindowPixelOfARowAndAColumnMapsToTheLogicalPixelItsCentreFallsIn) {
    struct Scale {
        int windowWidth, windowHeight, numerator, denominator;
    };
    const Scale scales[] = {{800, 600, 1, 1},    {1024, 768, 32, 25}, {1280, 1024, 8, 5},  {1600, 1200, 2, 1},
                            {1920, 1080, 9, 5},  {2400, 1800, 3, 1},  {2560, 1440, 12, 5}, {3840, 2160, 18, 5},
                            {1366, 768, 32, 25}, {2560, 1080, 9, 5}};
    auto floorDivide = [](long long a, long long b) { return a / b - (a % b != 0 && a < 0); };
    for (const Scale& s : scales) {
        const Viewport viewport = fitScreen(LogicalWidth, LogicalHeight, s.windowWidth, s.windowHeight);
        // Centre of window pixel p, measured from the screen's edge at `edge`, in logical pixels.
        auto logicalOf = [&](int p, int edge) {
            return floorDivide((2LL * (p - edge) + 1) * s.denominator, 2LL * s.numerator);
        };
        auto windowOf = [&](int l, int edge) {
            return edge + floorDivide((2LL * l + 1) * s.numerator, 2LL * s.denominator);
        };
        SCOPED_TRACE(testing::Message() << s.windowWidth << " x " << s.windowHeight);
        for (int x = 0; x < s.windowWidth; ++x) ASSERT_EQ(toScreen(viewport, x, 0).x, logicalOf(x, viewport.x)) << x;
        for (int y = 0; y < s.windowHeight; ++y) ASSERT_EQ(toScreen(viewport, 0, y).y, logicalOf(y, viewport.y)) << y;
        for (int x = 0; x < LogicalWidth; ++x) ASSERT_EQ(toWindow(viewport, x, 0).x, windowOf(x, viewport.x)) << x;
        for (int y = 0; y < LogicalHeight; ++y) ASSERT_EQ(toWindow(viewport, 0, y).y, windowOf(y, viewport.y)) << y;
    }
}

TEST(Viewport, PicturesComeFromTheNearestSetAtOrAboveTheScale) {
    EXPECT_EQ(pictureScaleFor(1.0f), 1);
    EXPECT_EQ(pictureScaleFor(1.28f), 2);   // 1024 x 768
    EXPECT_EQ(pictureScaleFor(1.8f), 2);    // 1920 x 1080
    EXPECT_EQ(pictureScaleFor(2.0f), 2);    // 1600 x 1200
    EXPECT_EQ(pictureScaleFor(2.005f), 3);  // a window 1604 wide: only float error is let pass
    EXPECT_EQ(pictureScaleFor(2.4f), 3);    // 2560 x 1440
    EXPECT_EQ(pictureScaleFor(3.6f), 3);    // 3840 x 2160: the largest there is
    EXPECT_EQ(pictureScaleFor(0.5f), 1);
}

TEST(Viewport, AWindowIsTheLargestWholeMultipleThatFits) {
    EXPECT_EQ(wholeMultipleThatFits(LogicalWidth, LogicalHeight, 1920, 1050), 1);
    EXPECT_EQ(wholeMultipleThatFits(LogicalWidth, LogicalHeight, 1600, 1200), 2);
    EXPECT_EQ(wholeMultipleThatFits(LogicalWidth, LogicalHeight, 2560, 1400), 2);
    EXPECT_EQ(wholeMultipleThatFits(LogicalWidth, LogicalHeight, 3840, 2100), 3);
    EXPECT_EQ(wholeMultipleThatFits(LogicalWidth, LogicalHeight, 640, 480), 1);
}

TEST(ComposeBudget, AScaleIsJudgedTooCostlyOnlyWhenItStaysOverAfterItsFirstFrames) {
    ComposeBudget budget(10.0);
    auto windowOf = [&budget](double ms) {
        bool over = false;
        for (size_t i = 0; i < ComposeBudget::Frames; ++i) over = budget.overAfter(ms) || over;
        return over;
    };
    EXPECT_FALSE(windowOf(40.0)) << "the first frames prepare pictures: not judged";
    EXPECT_FALSE(windowOf(12.0));
    EXPECT_FALSE(windowOf(9.0)) << "one window under the budget starts the count again";
    EXPECT_FALSE(windowOf(12.0));
    EXPECT_TRUE(windowOf(12.0));
    EXPECT_DOUBLE_EQ(budget.lastMedian(), 12.0);
    // Judged again from the start: its first window is let pass.
    EXPECT_FALSE(windowOf(12.0));
    EXPECT_FALSE(windowOf(12.0));
    EXPECT_TRUE(windowOf(12.0));
}

TEST(ComposeBudget, AtASmallerScaleFramesGoBackUpWhenTheLargerOneWouldKeepWellWithinForSeconds) {
    ComposeBudget budget(12.0);  // a larger scale must promise under 0.7 of it: 8.4 ms
    // The verdict of a half second of frames that cost `ms`, `growth` times more one scale up.
    auto windowOf = [&budget](double ms, double growth) {
        ComposeVerdict verdict = ComposeVerdict::Keep;
        for (size_t i = 0; i < ComposeBudget::Frames; ++i) {
            const ComposeVerdict said = budget.judge({ms, ms, 0}, growth);
            if (said != ComposeVerdict::Keep) verdict = said;
        }
        return verdict;
    };
    // Windows in a row with room until the verdict; Keep all the way otherwise.
    auto windowsUntilGrowing = [&windowOf](double ms, double growth, int most) {
        for (int window = 1; window <= most; ++window)
            if (windowOf(ms, growth) == ComposeVerdict::RoomToGrow) return window;
        return 0;
    };
    const int settling = ComposeBudget::SettlingWindows, needed = ComposeBudget::WindowsWithRoom;
    EXPECT_EQ(windowsUntilGrowing(2.0, 4.0, 40), settling + needed) << "8 ms one scale up";
    EXPECT_EQ(windowsUntilGrowing(2.2, 4.0, 40), 0) << "8.8 ms one scale up is too close to the budget";
    EXPECT_EQ(windowsUntilGrowing(1.0, 0.0, 40), 0) << "at the window's own scale there is nothing larger";
    budget.restart();
    EXPECT_EQ(windowOf(2.0, 4.0), ComposeVerdict::Keep) << "the first window of a fresh watch is let pass";
    for (int i = 1; i < needed; ++i) EXPECT_EQ(windowOf(2.0, 4.0), ComposeVerdict::Keep);
    EXPECT_EQ(windowOf(2.3, 4.0), ComposeVerdict::Keep) << "a window without room starts the count again";
    EXPECT_EQ(windowsUntilGrowing(2.0, 4.0, 40), needed);
    budget.growMoreSlowly();
    budget.restart();
    EXPECT_EQ(windowsUntilGrowing(2.0, 4.0, 40), settling + 2 * needed) << "after a scale given up again";
}

TEST(ComposeBudget, OnlyFramesShownLateAndCostlyToComposeGiveUpTheScale) {
    // Windows of frames costing `ms` of composing CPU, of which `late` were shown late: the
    // number of the window that judged the scale too costly, 0 when none did.
    auto windowsUntilTooCostly = [](double ms, int late, int most) {
        ComposeBudget budget(12.0);
        for (int window = 1; window <= most; ++window)
            for (size_t i = 0; i < ComposeBudget::Frames; ++i)
                if (budget.judge({ms, ms, static_cast<int>(i) < late ? 2.0 : 0}, 0) == ComposeVerdict::TooCostly)
                    return window;
        return 0;
    };
    const int first = ComposeBudget::SettlingWindows + ComposeBudget::WindowsOver;
    EXPECT_EQ(windowsUntilTooCostly(20.0, ComposeBudget::Frames, 40), first);
    EXPECT_EQ(windowsUntilTooCostly(20.0, ComposeBudget::LateInWindow, 40), first);
    EXPECT_EQ(windowsUntilTooCostly(20.0, 0, 40), 0) << "costly frames that were all on time: the player sees none";
    EXPECT_EQ(windowsUntilTooCostly(20.0, ComposeBudget::LateInWindow - 1, 40), 0) << "a late frame or two";
    EXPECT_EQ(windowsUntilTooCostly(11.0, ComposeBudget::Frames, 40), 0)
        << "every frame late while composing keeps within its budget: a busy machine, not the scale";
}

TEST(ComposeBudget, ABusyDesktopThatShowsFewerThanFiftyFramesASecondGivesUpTheScaleWhateverTheyCost) {
    // Frames that cost `cpuMs` (per band; `wallMs` on the clock), every `every`th of them
    // shown `lateMs` late: the verdict of each window in turn.
    struct Window {
        double cpuMs, wallMs;
        int every;
        double lateMs;
        double growth;
    };
    auto verdicts = [](ComposeBudget& budget, const Window& w, int windows) {
        std::vector<ComposeVerdict> said;
        for (int window = 0; window < windows; ++window) {
            ComposeVerdict verdict = ComposeVerdict::Keep;
            for (size_t i = 0; i < ComposeBudget::Frames; ++i) {
                const double late = w.every > 0 && i % w.every == 0 ? w.lateMs : 0;
                const ComposeVerdict v = budget.judge({w.cpuMs, w.wallMs, late}, w.growth);
                if (v != ComposeVerdict::Keep) verdict = v;
            }
            said.push_back(verdict);
        }
        return said;
    };
    using V = ComposeVerdict;
    {
        // Cheap to compose but a third of the frames 12 ms late: 120 ms a window, 30 frames in
        // 620 ms. Given up after the settling window and two windows over.
        ComposeBudget budget(12.0);
        EXPECT_EQ(verdicts(budget, {8.0, 20.0, 3, 12.0, 0}, 3), (std::vector<V>{V::Keep, V::Keep, V::TooCostly}));
        EXPECT_TRUE(budget.gaveUpForBusyDesktop());
    }
    {
        // Late 95 ms a window (about 55 frames a second): kept.
        ComposeBudget budget(12.0);
        EXPECT_EQ(verdicts(budget, {8.0, 20.0, 3, 9.5, 0}, 6), std::vector<V>(6, V::Keep));
    }
    {
        // As late, but composing kept to 11 ms on the clock: the frames waited elsewhere.
        ComposeBudget budget(12.0);
        EXPECT_EQ(verdicts(budget, {8.0, 11.0, 3, 12.0, 0}, 6), std::vector<V>(6, V::Keep));
    }
    {
        // A scale given up for cost is so said.
        ComposeBudget budget(12.0);
        EXPECT_EQ(verdicts(budget, {20.0, 20.0, 1, 4.0, 0}, 3).back(), V::TooCostly);
        EXPECT_FALSE(budget.gaveUpForBusyDesktop());
    }
    {
        // After a busy spell the larger scale is tried again once the frames would fit its
        // budget (not only well within it), in CPU and on the clock, with no frames late.
        ComposeBudget budget(12.0);
        verdicts(budget, {8.0, 20.0, 3, 12.0, 0}, 3);
        const int needed = ComposeBudget::SettlingWindows + ComposeBudget::WindowsWithRoom;
        EXPECT_EQ(verdicts(budget, {7.0, 14.0, 0, 0, 1.44}, needed).back(), V::Keep)
            << "still busy: twice as long on the clock as in CPU";
        budget.restart();
        EXPECT_EQ(verdicts(budget, {7.0, 7.5, 2, 3.0, 1.44}, needed).back(), V::Keep) << "frames still late";
        budget.restart();
        EXPECT_EQ(verdicts(budget, {7.0, 7.5, 0, 0, 1.44}, needed).back(), V::RoomToGrow) << "10.8 ms one scale up";
        // After a scale too costly, 10.8 ms one scale up is too close to the budget.
        verdicts(budget, {20.0, 20.0, 1, 4.0, 0}, 3);
        EXPECT_EQ(verdicts(budget, {7.0, 7.5, 0, 0, 1.44}, needed).back(), V::Keep);
    }
}

TEST(ComposeBudget, AScaleGivenUpAgainAndAgainIsStillTriedWithinSeconds) {
    ComposeBudget budget(12.0);
    for (int i = 0; i < 10; ++i) budget.growMoreSlowly();
    int windows = 0;
    for (bool grown = false; !grown && windows < 100; ++windows)
        for (size_t i = 0; i < ComposeBudget::Frames; ++i)
            grown = budget.judge({2.0, 2.0, 0}, 4.0) == ComposeVerdict::RoomToGrow || grown;
    EXPECT_EQ(windows, ComposeBudget::SettlingWindows + ComposeBudget::MostWindowsWithRoom);
}

TEST(ComposeBudget, AFrameTooCostlyIsComposedAtTheNextWholeScaleBelow) {
    EXPECT_EQ(smallerComposingScale(3.6f), 3);
    EXPECT_EQ(smallerComposingScale(3.0f), 2);
    EXPECT_EQ(smallerComposingScale(2.4f), 2);
    EXPECT_EQ(smallerComposingScale(1.8f), 1);
    EXPECT_EQ(smallerComposingScale(1.0f), 0);
}

namespace {

struct ScaledDraw {
    PathChoice path;
    int scale;
};

std::string describe(const ::testing::TestParamInfo<ScaledDraw>& info) {
    return std::string(info.param.path == PathChoice::Renderer ? "OpenGl" : "Composer") + "AtScale" +
           std::to_string(info.param.scale);
}

class GamePicturesAtScale : public ::testing::TestWithParam<ScaledDraw> {
protected:
    void SetUp() override {
        const char* gameDir = std::getenv("GAME_DIR");
        if (!gameDir) GTEST_SKIP() << "GAME_DIR names the built game's folder";
        setenv("SDL_VIDEODRIVER", "offscreen", 1);
        setenv("SDL_AUDIODRIVER", "dummy", 1);
        if (GetParam().path == PathChoice::Renderer) setenv("SDL_RENDER_DRIVER", "opengl", 1);
        folder = gameDir;
        inGameFolder = std::make_unique<WorkingFolder>(folder);
        media = std::make_unique<SdlMedia>(GetParam().path);
        media->setPictureScale(GetParam().scale);
        media->setWindowSize(LogicalWidth * GetParam().scale, LogicalHeight * GetParam().scale);
        ASSERT_TRUE(media->openScreen(LogicalWidth, LogicalHeight, 0, 0, 0));
        if (GetParam().path == PathChoice::Renderer && media->rendererName() != "opengl")
            GTEST_SKIP() << "no OpenGL here";
        media->setBlendMode(BlendMode::Alpha);
        media->clearScreen();
    }
    void TearDown() override {
        media.reset();
        inGameFolder.reset();
        unsetenv("SDL_RENDER_DRIVER");
    }

    std::unique_ptr<Image> strip(const std::string& name, int cell, int cells) {
        return media->loadImageStrip(name, cell, cell, 0, cells);
    }

    // The frame as the generator drew it, over black, against the window at the logical point.
    void expectDrawnTexelForPixel(const Image& image, int frame, int x, int y, const PixelBlock& screen) {
        const int k = GetParam().scale;
        ASSERT_EQ(image.pixelScale, k);
        ASSERT_EQ(screen.width, LogicalWidth * k);
        const PixelBlock& picture = image.frames[frame];
        int beyond = 0, worst = 0;
        for (int row = 0; row < picture.height; ++row)
            for (int column = 0; column < picture.width; ++column) {
                const uint8_t* texel = &picture.rgba[(static_cast<size_t>(row) * picture.width + column) * 4];
                const uint8_t* pixel =
                    &screen.rgba[(static_cast<size_t>(y * k + row) * screen.width + x * k + column) * 4];
                for (int c = 0; c < 3; ++c) {
                    const int expected = (texel[c] * texel[3] + 127) / 255;
                    const int difference = std::abs(expected - pixel[c]);
                    worst = std::max(worst, difference);
                    beyond += difference > 2;
                }
            }
        EXPECT_EQ(beyond, 0) << "channels beyond 2 levels of the generator's picture, the largest " << worst;
    }

    std::string folder;
    std::unique_ptr<WorkingFolder> inGameFolder;
    std::unique_ptr<SdlMedia> media;
};

}  // namespace

TEST_P(GamePicturesAtScale, ATileADeviceAndAGlyphAreTheGeneratorsPixels) {
    const auto tiles = strip("gfx/complete.spr", 56, 120);
    const auto font = strip("gfx/tahomafont.spr", 13, 90);
    ASSERT_TRUE(tiles && font) << "the game's pictures are in " << folder;
    constexpr int CableFrame = 5, ComputerFrame = 0, GlyphFrame = 33;  // the letter A
    media->drawImage(*tiles, 100, 100, CableFrame);
    media->drawImage(*tiles, 300, 200, ComputerFrame);
    media->drawImage(*font, 520, 410, GlyphFrame);
    const PixelBlock screen = media->readScreen();
    expectDrawnTexelForPixel(*tiles, CableFrame, 100, 100, screen);
    expectDrawnTexelForPixel(*tiles, ComputerFrame, 300, 200, screen);
    expectDrawnTexelForPixel(*font, GlyphFrame, 520, 410, screen);
}

INSTANTIATE_TEST_SUITE_P(BothPaths, GamePicturesAtScale,
                         ::testing::Values(ScaledDraw{PathChoice::Renderer, 2}, ScaledDraw{PathChoice::Renderer, 3},
                                           ScaledDraw{PathChoice::Composer, 2}, ScaledDraw{PathChoice::Composer, 3}),
                         describe);
