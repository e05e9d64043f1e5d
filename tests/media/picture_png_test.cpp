// PNG decoding: every colour type comes out as 8-bit RGBA, with alpha only when the
// file carried it (an alpha channel or a tRNS chunk).

#include <gtest/gtest.h>

#include "picture_test_files.h"

namespace {

DecodedPicture decoded(const PngSpec& spec) {
    const auto picture = decodePng(pngFile(spec));
    if (!picture) throw std::runtime_error("not decoded");
    EXPECT_EQ(picture->pixels.width, spec.width);
    EXPECT_EQ(picture->pixels.height, spec.height);
    return *picture;
}

TEST(PngDecoder, WidensGreyAndGreyWithAlpha) {
    const auto grey = decoded(pngSpec(2, 1, PNG_COLOR_TYPE_GRAY, 8, {{0x10, 0xF0}}));
    EXPECT_FALSE(grey.hasAlpha);
    EXPECT_EQ(pixelAt(grey.pixels, 1, 0), (Rgba{0xF0, 0xF0, 0xF0, 255}));
    // Two bits per pixel expand to the full 8-bit range: 3 -> 255, 1 -> 85.
    const auto lowDepth = decoded(pngSpec(2, 1, PNG_COLOR_TYPE_GRAY, 2, {{0xD0}}));
    EXPECT_EQ(pixelAt(lowDepth.pixels, 0, 0), (Rgba{255, 255, 255, 255}));
    EXPECT_EQ(pixelAt(lowDepth.pixels, 1, 0), (Rgba{85, 85, 85, 255}));
    const auto greyAlpha = decoded(pngSpec(1, 2, PNG_COLOR_TYPE_GRAY_ALPHA, 8, {{0x40, 0x80}, {0x00, 0xFF}}));
    EXPECT_TRUE(greyAlpha.hasAlpha);
    EXPECT_EQ(pixelAt(greyAlpha.pixels, 0, 0), (Rgba{0x40, 0x40, 0x40, 0x80}));
    EXPECT_EQ(pixelAt(greyAlpha.pixels, 0, 1), (Rgba{0, 0, 0, 255}));
}

TEST(PngDecoder, ExpandsPalettesAndTurnsTransparencyIntoAlpha) {
    PngSpec spec = pngSpec(3, 1, PNG_COLOR_TYPE_PALETTE, 4, {{0x21, 0x00}});
    spec.palette = {{0, 0, 0}, {200, 10, 20}, {1, 2, 3}};
    const auto plain = decoded(spec);
    EXPECT_FALSE(plain.hasAlpha);
    EXPECT_EQ(pixelAt(plain.pixels, 0, 0), (Rgba{1, 2, 3, 255}));
    EXPECT_EQ(pixelAt(plain.pixels, 1, 0), (Rgba{200, 10, 20, 255}));
    EXPECT_EQ(pixelAt(plain.pixels, 2, 0), (Rgba{0, 0, 0, 255}));
    spec.transparency = {0, 128};  // entries past the list stay opaque
    const auto transparent = decoded(spec);
    EXPECT_TRUE(transparent.hasAlpha);
    EXPECT_EQ(pixelAt(transparent.pixels, 0, 0), (Rgba{1, 2, 3, 255}));
    EXPECT_EQ(pixelAt(transparent.pixels, 1, 0), (Rgba{200, 10, 20, 128}));
    EXPECT_EQ(pixelAt(transparent.pixels, 2, 0), (Rgba{0, 0, 0, 0}));
}

TEST(PngDecoder, ReducesSixteenBitChannelsAndKeepsRgba) {
    // 16-bit RGB, big-endian samples: the high byte survives.
    const auto deep = decoded(pngSpec(1, 1, PNG_COLOR_TYPE_RGB, 16, {{0x12, 0x34, 0xAB, 0xCD, 0xFF, 0x00}}));
    EXPECT_FALSE(deep.hasAlpha);
    EXPECT_EQ(pixelAt(deep.pixels, 0, 0), (Rgba{0x12, 0xAB, 0xFF, 255}));
    const auto rgba = decoded(pngSpec(2, 1, PNG_COLOR_TYPE_RGB_ALPHA, 8, {{1, 2, 3, 4, 0, 0, 0, 0}}));
    EXPECT_TRUE(rgba.hasAlpha);
    EXPECT_EQ(pixelAt(rgba.pixels, 0, 0), (Rgba{1, 2, 3, 4}));
    EXPECT_EQ(pixelAt(rgba.pixels, 1, 0), (Rgba{0, 0, 0, 0}));
}

TEST(PngDecoder, RefusesDamagedFiles) {
    const Bytes file = pngFile(pngSpec(2, 2, PNG_COLOR_TYPE_RGB, 8, {{1, 2, 3, 4, 5, 6}, {7, 8, 9, 10, 11, 12}}));
    EXPECT_EQ(acceptedPrefixes(file, decodePng), 0);
    Bytes wrongMagic = file;
    wrongMagic[1] = 'Q';
    EXPECT_FALSE(decodePng(wrongMagic));
    Bytes badCrc = file;
    badCrc[29] ^= 0xFF;  // inside the IHDR checksum
    EXPECT_FALSE(decodePng(badCrc));
    EXPECT_FALSE(decodePng(pngWithSize(file, 100000, 100000)));  // refused before any pixel memory is taken
    EXPECT_TRUE(decodePng(pngWithSize(file, 2, 2)));             // the rewriting itself keeps files valid
}

}  // namespace
