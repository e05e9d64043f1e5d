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
#include "support/offscreen_screen.h"

namespace {

std::unique_ptr<Image> solid(int width, int height, int frames, uint8_t grey, bool centred) {
    auto image = std::make_unique<Image>(solidPicture(width, height, grey, grey, grey, frames));
    if (centred) MediaLayer::centreImageHandle(*image);
    return image;
}

using LitPixels = OffscreenTest;

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
    setFadeColour(media, fade);
    drawScene(media, res, effects, board, fade, BoardMarks{&lit, nullptr});
    const PixelBlock screen = media.readScreen();
    // Cell (0,0) lit, cell (1,1) not; both away from the next cell's overlap and the shadows.
    const Pixel litPixel = pixelAt(screen, cellCentreX(board, 0), cellCentreY(board, 0));
    const Pixel unlit = pixelAt(screen, cellCentreX(board, 1), cellCentreY(board, 1));
    EXPECT_NEAR(unlit.r, 100, 1);
    EXPECT_NEAR(unlit.g, 100, 1);
    // The piece again, tinted (110, 255, 160) and added at half strength: 100 + 100 x tint / 2.
    EXPECT_NEAR(litPixel.r, 122, 2);
    EXPECT_NEAR(litPixel.g, 150, 2) << "greener than it is red or blue";
    EXPECT_NEAR(litPixel.b, 131, 2);
}

INSTANTIATE_TEST_SUITE_P(BothPaths, LitPixels, ::testing::Values(PathChoice::Renderer, PathChoice::Composer),
                         [](const auto& info) { return info.param == PathChoice::Renderer ? "Renderer" : "Composer"; });
