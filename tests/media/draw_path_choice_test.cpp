// The drawing path the game picks by itself: the composer wherever OpenGL would draw on
// the CPU anyway, SDL's own renderer where a graphics card draws.

#include <SDL.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "media/desktop/sdl_media.h"
#include "media/draw/path_choice.h"

namespace {

// What OpenGL says of itself on this machine: "" when there is no OpenGL window to be had.
std::string openGlRendererName() {
    if (SDL_Init(SDL_INIT_VIDEO) != 0) return "";
    std::string name;
    if (SDL_Window* window = SDL_CreateWindow("probe", 0, 0, 64, 64, SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN)) {
        if (SDL_GLContext context = SDL_GL_CreateContext(window)) {
            using GetString = const unsigned char* (*)(unsigned int);
            const auto getString = reinterpret_cast<GetString>(SDL_GL_GetProcAddress("glGetString"));
            if (const unsigned char* text = getString ? getString(0x1F01) : nullptr)
                name = reinterpret_cast<const char*>(text);
            SDL_GL_DeleteContext(context);
        }
        SDL_DestroyWindow(window);
    }
    SDL_Quit();
    return name;
}

class AutomaticDrawPath : public ::testing::Test {
protected:
    void SetUp() override {
        setenv("SDL_VIDEODRIVER", "offscreen", 1);
        setenv("SDL_AUDIODRIVER", "dummy", 1);
        unsetenv("SDL_RENDER_DRIVER");
    }
    void TearDown() override { unsetenv("SDL_RENDER_DRIVER"); }
};

TEST_F(AutomaticDrawPath, OpenGlOnTheCpuIsReplacedByTheComposer) {
    const std::string name = openGlRendererName();
    if (name.empty()) GTEST_SKIP() << "no OpenGL here";
    SdlMedia media;
    ASSERT_TRUE(media.openScreen(800, 600, 0, 0, 0));
    EXPECT_EQ(media.composing(), isSoftwareRasteriser(name)) << "OpenGL renderer: " << name;
}

TEST_F(AutomaticDrawPath, SdlsSoftwareRendererIsReplacedByTheComposer) {
    setenv("SDL_RENDER_DRIVER", "software", 1);
    SdlMedia media;
    ASSERT_TRUE(media.openScreen(800, 600, 0, 0, 0));
    EXPECT_TRUE(media.composing());
}

TEST_F(AutomaticDrawPath, AForcedPathIsKeptWhateverTheMachine) {
    {
        SdlMedia media(PathChoice::Renderer);
        ASSERT_TRUE(media.openScreen(800, 600, 0, 0, 0));
        EXPECT_FALSE(media.composing());
    }
    SdlMedia media(PathChoice::Composer);
    ASSERT_TRUE(media.openScreen(800, 600, 0, 0, 0));
    EXPECT_TRUE(media.composing());
}

TEST(GraphicsCard, IsSeenByItsDeviceNodesOnly) {
    namespace fs = std::filesystem;
    const fs::path devices = fs::temp_directory_path() / ("cw-devices-" + std::to_string(getpid()));
    fs::remove_all(devices);
    fs::create_directories(devices);
    const auto node = [&devices](const fs::path& name) {
        fs::create_directories((devices / name).parent_path());
        std::ofstream(devices / name).put('\0');
    };
    const auto withOnly = [&](const fs::path& name) {
        fs::remove_all(devices);
        fs::create_directories(devices);
        node(name);
        return graphicsCardPresent(devices);
    };
    EXPECT_FALSE(graphicsCardPresent(devices)) << "no dri folder at all";
    EXPECT_FALSE(graphicsCardPresent(devices / "missing"));
    EXPECT_TRUE(withOnly("dri/renderD128"));
    EXPECT_TRUE(withOnly("dri/card0"));
    EXPECT_TRUE(withOnly("nvidiactl"));
    EXPECT_FALSE(withOnly("dri/by-path-only")) << "a dri folder without card or render nodes";
    EXPECT_FALSE(withOnly("fb0")) << "a frame buffer device is no graphics card";
    fs::remove_all(devices);
}

}  // namespace
