// BMP decoding: every accepted depth, padded bottom-up rows, and the hostile files
// (huge palettes, absurd sizes, indices past the palette) that must give nothing.

#include <gtest/gtest.h>

#include <climits>

#include "picture_test_files.h"

namespace {

const std::vector<Rgba> Palette = {{0, 0, 0, 255},   {255, 0, 0, 255},  {0, 255, 0, 255},
                                   {0, 0, 255, 255}, {10, 20, 30, 255}, {200, 100, 50, 255}};

// 3 x 2 pictures: the top row uses palette entries 1, 2, 3, the bottom row 4, 5, 0.
// Rows are stored bottom row first and padded to 4 bytes.
Bytes eightBitRows() { return {4, 5, 0, 0, 1, 2, 3, 0}; }
Bytes fourBitRows() { return {0x45, 0x00, 0, 0, 0x12, 0x30, 0, 0}; }

void expectPaletteColours(const DecodedPicture& picture) {
    EXPECT_FALSE(picture.hasAlpha);
    ASSERT_EQ(picture.pixels.width, 3);
    ASSERT_EQ(picture.pixels.height, 2);
    const int indices[6] = {1, 2, 3, 4, 5, 0};
    for (int i = 0; i < 6; ++i) EXPECT_EQ(pixelAt(picture.pixels, i % 3, i / 3), Palette[indices[i]]) << i;
}

TEST(BmpDecoder, DecodesPalettedDepths) {
    const auto eight = decodeBmp(bmpFile(8, 3, 2, Palette, 6, eightBitRows()));
    ASSERT_TRUE(eight);
    expectPaletteColours(*eight);
    const auto four = decodeBmp(bmpFile(4, 3, 2, Palette, 6, fourBitRows()));
    ASSERT_TRUE(four);
    expectPaletteColours(*four);
    // 1 bit, count 0 = two entries: top row 1 0 1 (101xxxxx), bottom row 0 1 1 (011xxxxx).
    const auto one = decodeBmp(bmpFile(1, 3, 2, {Palette[0], Palette[1]}, 0, {0x60, 0, 0, 0, 0xA0, 0, 0, 0}));
    ASSERT_TRUE(one);
    EXPECT_EQ(pixelAt(one->pixels, 0, 0), Palette[1]);
    EXPECT_EQ(pixelAt(one->pixels, 1, 0), Palette[0]);
    EXPECT_EQ(pixelAt(one->pixels, 0, 1), Palette[0]);
    EXPECT_EQ(pixelAt(one->pixels, 2, 1), Palette[1]);
    // A palette that runs to the file's last byte is whole (here the one row is its last entry).
    Bytes tight = bmpFile(8, 1, 1, {{10, 20, 30, 255}, {40, 50, 1, 255}}, 2, {});
    poke32(tight, 10, 58);
    const auto tightPicture = decodeBmp(tight);
    ASSERT_TRUE(tightPicture);
    EXPECT_EQ(pixelAt(tightPicture->pixels, 0, 0), (Rgba{40, 50, 1, 255}));
}

TEST(BmpDecoder, DecodesTrueColourDepths) {
    // 24 bits: B, G, R, rows of 9 bytes padded to 12.
    const Bytes rows24 = {30, 20, 10, 50, 100, 200, 0, 0, 0, 0, 0, 0, 0, 0, 255, 0, 255, 0, 255, 0, 0, 0, 0, 0};
    const auto truecolour = decodeBmp(bmpFile(24, 3, 2, {}, 0, rows24));
    ASSERT_TRUE(truecolour);
    expectPaletteColours(*truecolour);
    // 32 bits: B, G, R, A, with alpha kept.
    const auto withAlpha = decodeBmp(bmpFile(32, 1, 2, {}, 0, {1, 2, 3, 40, 5, 6, 7, 80}));
    ASSERT_TRUE(withAlpha);
    EXPECT_TRUE(withAlpha->hasAlpha);
    EXPECT_EQ(pixelAt(withAlpha->pixels, 0, 0), (Rgba{7, 6, 5, 80}));
    EXPECT_EQ(pixelAt(withAlpha->pixels, 0, 1), (Rgba{3, 2, 1, 40}));
}

TEST(BmpDecoder, ReadsTopDownRowsWhenTheHeightIsNegative) {
    const auto picture = decodeBmp(bmpFile(8, 3, -2, Palette, 6, {1, 2, 3, 0, 4, 5, 0, 0}));
    ASSERT_TRUE(picture);
    expectPaletteColours(*picture);
}

TEST(BmpDecoder, RefusesEveryTruncation) {
    EXPECT_EQ(acceptedPrefixes(bmpFile(8, 3, 2, Palette, 6, eightBitRows()), decodeBmp), 0);
    EXPECT_EQ(acceptedPrefixes(bmpFile(24, 1, 1, {}, 0, {1, 2, 3, 0}), decodeBmp), 0);
}

TEST(BmpDecoder, RefusesUnsupportedHeadersAbsurdSizesAndPalettes) {
    const Bytes good = bmpFile(8, 3, 2, Palette, 6, eightBitRows());
    const auto refusedWith = [&](size_t at, uint32_t value) {
        Bytes file = good;
        poke32(file, at, value);
        return !decodeBmp(file);
    };
    EXPECT_TRUE(refusedWith(0, 0x00004D42 ^ 0x0100));  // "BL" instead of "BM"
    EXPECT_TRUE(refusedWith(14, 108));                 // a later, longer information header
    EXPECT_TRUE(refusedWith(30, 1));                   // run-length compression
    EXPECT_TRUE(refusedWith(28, 16));                  // 16 bits per pixel
    EXPECT_TRUE(refusedWith(10, 0xFFFFFFF0));          // pixel data past the end
    // Absurd sizes and palettes.
    EXPECT_TRUE(refusedWith(18, 0));                                 // width 0
    EXPECT_TRUE(refusedWith(18, 0x7FFFFFFF));                        // width far too large
    EXPECT_TRUE(refusedWith(18, static_cast<uint32_t>(-3)));         // negative width
    EXPECT_TRUE(refusedWith(22, static_cast<uint32_t>(INT32_MIN)));  // height that cannot be negated in 32 bits
    EXPECT_TRUE(refusedWith(22, 4097));
    EXPECT_TRUE(refusedWith(46, 0xFFFFFFFF));  // palette count beyond any buffer
    EXPECT_TRUE(refusedWith(46, 257));         // more entries than 8 bits can index
    // Pixels point at entry 5 but the header declares only 5 entries (0 to 4).
    EXPECT_FALSE(decodeBmp(bmpFile(8, 3, 2, Palette, 5, eightBitRows())));
    // 1 x 4096 is fine, the size limit is per side.
    EXPECT_TRUE(decodeBmp(bmpFile(24, 1, 4096, {}, 0, Bytes(4096 * 4, 7))));
}

}  // namespace
