// With no display to show the window on, the game says so instead of running unseen: SDL
// falls back to its offscreen driver by itself, which is kept only when asked for by name.

#include <SDL.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "media/desktop/sdl_media.h"
#include "media/desktop/sdl_video_start.h"
#include "support/test_support.h"

namespace {

// No display answers here, and no driver is asked for by name.
struct NoDisplay {
    ScopedEnv display{"DISPLAY", ":987"};
    ScopedEnv wayland{"WAYLAND_DISPLAY", nullptr};
    ScopedEnv driver{"SDL_VIDEODRIVER", nullptr};
    ScopedEnv audio{"SDL_AUDIODRIVER", "dummy"};
};

}  // namespace

TEST(VideoStart, WithoutADisplayItAsksAgainThenFailsSayingWhich) {
    const NoDisplay none;
    std::vector<std::string> warnings;
    const bool started = startVideoOnADisplay(3, 1, [&](const std::string& text) { warnings.push_back(text); });
    if (started) {
        const std::string driver = SDL_GetCurrentVideoDriver();
        SDL_Quit();
        ASSERT_NE(driver, "offscreen") << "started on a screen no one sees";
        GTEST_SKIP() << "a display answers here after all (" << driver << ")";
    }
    EXPECT_EQ(warnings, std::vector<std::string>(2, "the display :987 did not answer: asking again"));
    EXPECT_EQ(std::string(SDL_GetError()), "no display to show the game on: the display :987 did not answer");
    EXPECT_EQ(SDL_WasInit(SDL_INIT_VIDEO), 0u);
}

TEST(VideoStart, TheOffscreenDriverIsKeptWhenAskedForByName) {
    const NoDisplay none;
    const ScopedEnv offscreen("SDL_VIDEODRIVER", "offscreen");
    int warned = 0;
    ASSERT_TRUE(startVideoOnADisplay(3, 1, [&](const std::string&) { ++warned; }));
    EXPECT_EQ(std::string(SDL_GetCurrentVideoDriver()), "offscreen");
    EXPECT_EQ(warned, 0);
    SDL_Quit();
}

TEST(VideoStart, TheGameOpensNoScreenWithoutADisplay) {
    const NoDisplay none;
    SdlMedia media(PathChoice::Composer);
    EXPECT_FALSE(media.openScreen(800, 600, 32, 60, 0));
}
