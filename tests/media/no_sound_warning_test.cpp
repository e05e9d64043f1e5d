// A machine without a sound device: the game says so once, as a warning, and goes on.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "media/desktop/sdl_media.h"
#include "support/test_support.h"

namespace {

struct WarningsKept : SdlMedia {
    std::vector<std::string> warnings;
    void warning(const std::string& message) override { warnings.push_back(message); }
};

}  // namespace

TEST(NoSound, AMissingDeviceIsAWarningNotAnError) {
    const ScopedEnv audio("SDL_AUDIODRIVER", "no-such-driver");
    setenv("SDL_VIDEODRIVER", "offscreen", 1);  // a screen in memory, asked for by name
    WarningsKept media;
    EXPECT_TRUE(media.openScreen(800, 600, 0, 60, 0));
    ASSERT_EQ(media.warnings.size(), 1u);
    EXPECT_EQ(media.warnings[0].rfind("no sound: ", 0), 0u) << media.warnings[0];
}
