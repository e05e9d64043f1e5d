// The lit network as the player sees it, on both drawing paths: a lit piece brighter and
// greener than the same piece unlit, by the lit copy added over it.

#include <SDL.h>
#include <gtest/gtest.h>

#include <cstdlib>

#include "media/desktop/sdl_media.h"
#include "play/effects.h"
#include "play/resources.h"
#include "play/scene.h"
#include "play/screen_fade.h"

namespace {

std::unique_ptr<Image> solid(int width, int height, int frames, uint8_t grey, bool centred) {
    auto image = std::make_unique<Image>();
    image->width = width;
    image->height = height;
    image->flags = 0;
    for (int f = 0; f < frames; ++f) {
        PixelBlock block{width, height, {}};
        for (int i = 0; i < width * height; ++i) block.rgba.insert(block.rgba.end(), {grey, grey, grey, 255});
        image->frames.push_back(std::move(block));
    }
    if (centred) MediaLayer::centreImageHandle(*image);
    return image;
}

struct Rgb {
    int r, g, b;
};

Rgb pixelAt(const PixelBlock& screen, int x, int y) {
    const size_t i = (static_cast<size_t>(y) * screen.width + x) * 4;
    return {screen.rgba[i], screen.rgba[i + 1], screen.rgba[i + 2]};
}

class LitPixels : public ::testing::TestWithParam<PathChoice> {
protected:
    void SetUp() override {
        setenv("SDL_VIDEODRIVER", "offscreen", 1);
        setenv("SDL_AUDIODRIVER", "dummy", 1);
        SDL_SetHint(SDL_HINT_RENDER_DRIVER, "software");
        ASSERT_TRUE(media.openScreen(800, 600, 0, 60, 0));
    }
    SdlMedia media{GetParam()};
};

}  // namespace

TEST_P(LitPixels, ALitPieceIsAddedOverInGreenAndAnUnlitOneStaysAsItIs) {
    Resources res;
    res.background = solid(800, 600, 1, 0, true);
    res.tiles = solid(56, 56, TileSheetFrames, 100, true);
    res.padlock = solid(16, 16, 1, 0, true);
    res.lights = solid(64, 64, 2, 0, false);  // none falling, but every picture the scene names is there
    res.sphere = solid(8, 8, 1, 0, true);
    Board board;
    board.columns = 4, board.rows = 5, board.originX = 304, board.originY = 180;
    board.serverX = 3, board.serverY = 3;  // out of the way of the two cells looked at
    for (auto& column : board.tile) column.fill(cableTile(Cross));
    CellFlags lit{};
    lit[0][0] = true;
    Effects effects;
    ScreenFade fade{255, 255};
    media.setBlendMode(BlendMode::Alpha);
    setFadeColour(media, fade);
    drawScene(media, res, effects, board, fade, BoardMarks{&lit, nullptr});
    const PixelBlock screen = media.readScreen();
    // Cell (0,0) lit, cell (1,1) not; both away from the next cell's overlap and the shadows.
    const Rgb litPixel = pixelAt(screen, cellCentreX(board, 0), cellCentreY(board, 0));
    const Rgb unlit = pixelAt(screen, cellCentreX(board, 1), cellCentreY(board, 1));
    EXPECT_NEAR(unlit.r, 100, 1);
    EXPECT_NEAR(unlit.g, 100, 1);
    // The piece again, tinted (110, 255, 160) and added at half strength: 100 + 100 x tint / 2.
    EXPECT_NEAR(litPixel.r, 122, 2);
    EXPECT_NEAR(litPixel.g, 150, 2) << "greener than it is red or blue";
    EXPECT_NEAR(litPixel.b, 131, 2);
}

INSTANTIATE_TEST_SUITE_P(BothPaths, LitPixels, ::testing::Values(PathChoice::Renderer, PathChoice::Composer),
                         [](const auto& info) { return info.param == PathChoice::Renderer ? "Renderer" : "Composer"; });
