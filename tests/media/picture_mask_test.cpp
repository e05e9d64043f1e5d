// Masking of pictures without alpha, and cutting sheets into frames.

#include <gtest/gtest.h>

#include <climits>

#include "picture_test_files.h"

namespace {

PixelBlock blockOf(int width, int height, const std::vector<Rgba>& pixels) {
    PixelBlock block{width, height, {}};
    for (const Rgba& c : pixels)
        block.rgba.insert(block.rgba.end(), {uint8_t(c.r), uint8_t(c.g), uint8_t(c.b), uint8_t(c.a)});
    return block;
}

constexpr Rgba Red{255, 0, 0, 255};
constexpr Rgba Black{0, 0, 0, 255};

TEST(PictureMask, BlackSurroundedByRedTurnsTransparentRed) {
    PixelBlock block = blockOf(3, 3, {Red, Red, Red, Red, Black, Red, Red, Red, Red});
    applyMask(block);
    EXPECT_EQ(pixelAt(block, 1, 1), (Rgba{255, 0, 0, 0}));
    EXPECT_EQ(pixelAt(block, 0, 0), Red);
}

TEST(PictureMask, AllBlackTurnsTransparentBlack) {
    PixelBlock block = blockOf(2, 2, {Black, Black, Black, Black});
    applyMask(block);
    for (int i = 0; i < 4; ++i) EXPECT_EQ(pixelAt(block, i % 2, i / 2), (Rgba{0, 0, 0, 0}));
}

TEST(PictureMask, EdgesAverageOnlyTheNeighboursThatExist) {
    // Corner pixel with three neighbours: integer averages 300/3, 50/3, 200/3.
    PixelBlock block = blockOf(2, 2, {Black, {100, 0, 0, 7}, {200, 50, 0, 7}, {0, 0, 200, 7}});
    applyMask(block);
    EXPECT_EQ(pixelAt(block, 0, 0), (Rgba{100, 16, 66, 0}));
    EXPECT_EQ(pixelAt(block, 1, 0), (Rgba{100, 0, 0, 255}));  // every other pixel becomes opaque
}

TEST(PictureMask, UsesTheOriginalNeighboursNotReplacedOnes) {
    // The middle pixel takes red from its left; the right one sees only black originals.
    PixelBlock block = blockOf(3, 1, {Red, Black, Black});
    applyMask(block);
    EXPECT_EQ(pixelAt(block, 1, 0), (Rgba{255, 0, 0, 0}));
    EXPECT_EQ(pixelAt(block, 2, 0), (Rgba{0, 0, 0, 0}));
    // Near-black is not the mask colour.
    PixelBlock nearBlack = blockOf(1, 1, {{1, 0, 0, 9}});
    applyMask(nearBlack);
    EXPECT_EQ(pixelAt(nearBlack, 0, 0), (Rgba{1, 0, 0, 255}));
}

// Each pixel holds its own coordinates, so a frame shows where it was cut from.
PixelBlock coordinateSheet(int width, int height) {
    std::vector<Rgba> pixels;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) pixels.push_back({x, y, 7, 255});
    return blockOf(width, height, pixels);
}

TEST(PictureStrip, StacksCellsDownATallPicture) {
    const PixelBlock sheet = coordinateSheet(64, 128);
    const auto frames = cutStrip(sheet, 64, 64, 0, 2);
    ASSERT_TRUE(frames);
    ASSERT_EQ(frames->size(), 2u);
    EXPECT_EQ((*frames)[1].width, 64);
    EXPECT_EQ((*frames)[1].height, 64);
    EXPECT_EQ(pixelAt((*frames)[0], 0, 0), (Rgba{0, 0, 7, 255}));
    EXPECT_EQ(pixelAt((*frames)[1], 0, 0), (Rgba{0, 64, 7, 255}));
    EXPECT_EQ(pixelAt((*frames)[1], 63, 63), (Rgba{63, 127, 7, 255}));
    EXPECT_FALSE(cutStrip(sheet, 64, 64, 0, 3));
}

TEST(PictureStrip, NumbersCellsAlongRowsThenDownAndIgnoresPartialCells) {
    // 7 x 5 with 2 x 2 cells: three whole cells per row, two whole rows.
    const PixelBlock sheet = coordinateSheet(7, 5);
    const auto frames = cutStrip(sheet, 2, 2, 2, 4);
    ASSERT_TRUE(frames);
    const Rgba corners[4] = {{4, 0, 7, 255}, {0, 2, 7, 255}, {2, 2, 7, 255}, {4, 2, 7, 255}};
    for (int f = 0; f < 4; ++f) EXPECT_EQ(pixelAt((*frames)[f], 0, 0), corners[f]) << f;
    EXPECT_FALSE(cutStrip(sheet, 2, 2, 2, 5));
}

TEST(PictureStrip, RefusesMeaninglessCells) {
    const PixelBlock sheet = coordinateSheet(8, 8);
    EXPECT_FALSE(cutStrip(sheet, 0, 4, 0, 1));
    EXPECT_FALSE(cutStrip(sheet, 4, -4, 0, 1));
    EXPECT_FALSE(cutStrip(sheet, 4, 4, 0, 0));
    EXPECT_FALSE(cutStrip(sheet, 4, 4, -1, 2));
    EXPECT_FALSE(cutStrip(sheet, 16, 4, 0, 1));       // wider than the picture
    EXPECT_FALSE(cutStrip(sheet, 4, 4, INT_MAX, 1));  // the sum must not wrap into "fits"
    EXPECT_TRUE(cutStrip(sheet, 8, 8, 0, 1));
}

}  // namespace
