#pragma once
// The real SDL layer on an offscreen 800 x 600 screen, for tests that read back what either
// drawing path put on it, pixel by pixel.

#include <SDL.h>
#include <gtest/gtest.h>

#include <cstdlib>

#include "media/desktop/sdl_media.h"

// One colour everywhere, fully opaque, unfiltered: exact pixels wherever it is drawn.
inline Image solidPicture(int width, int height, uint8_t r, uint8_t g, uint8_t b, int frames = 1) {
    Image image;
    image.width = width;
    image.height = height;
    image.flags = 0;
    for (int f = 0; f < frames; ++f) {
        PixelBlock block{width, height, {}};
        for (int i = 0; i < width * height; ++i) block.rgba.insert(block.rgba.end(), {r, g, b, 255});
        image.frames.push_back(std::move(block));
    }
    return image;
}

struct Pixel {
    int r, g, b;
};

inline Pixel pixelAt(const PixelBlock& screen, int x, int y) {
    const size_t i = (static_cast<size_t>(y) * screen.width + x) * 4;
    return {screen.rgba[i], screen.rgba[i + 1], screen.rgba[i + 2]};
}

// Each test on a fresh screen of the path its parameter names, drawn by SDL's software renderer.
class OffscreenTest : public ::testing::TestWithParam<PathChoice> {
protected:
    void SetUp() override {
        setenv("SDL_VIDEODRIVER", "offscreen", 1);
        setenv("SDL_AUDIODRIVER", "dummy", 1);
        SDL_SetHint(SDL_HINT_RENDER_DRIVER, "software");
        ASSERT_TRUE(media.openScreen(800, 600, 0, 60, 0));
        media.setBlendMode(BlendMode::Alpha);
    }
    SdlMedia media{GetParam()};
};
