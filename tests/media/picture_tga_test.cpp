// TGA decoding: every accepted depth, stored and run-length coded, and files that must be refused.

#include <gtest/gtest.h>

#include "picture_test_files.h"

namespace {

// A 3 x 2 picture, top row first, with colours whose 5-bit forms are exact.
const std::vector<Rgba> Expected = {
    {255, 0, 0, 255},     {0, 255, 0, 255},     {0, 0, 255, 255},  // top row
    {255, 255, 255, 255}, {255, 255, 255, 255}, {8, 66, 132, 0},
};

// Pixel as stored: B, G, R(, A) or a 16-bit word A RRRRR GGGGG BBBBB, little-endian.
Bytes storedPixel(const Rgba& c, int bits) {
    if (bits == 24) return {uint8_t(c.b), uint8_t(c.g), uint8_t(c.r)};
    if (bits == 32) return {uint8_t(c.b), uint8_t(c.g), uint8_t(c.r), uint8_t(c.a)};
    const int word = (c.a ? 0x8000 : 0) | ((c.r >> 3) << 10) | ((c.g >> 3) << 5) | (c.b >> 3);
    return {uint8_t(word & 0xFF), uint8_t(word >> 8)};
}

// Rows bottom-up, as the files store them.
std::vector<Bytes> storedPixels(int bits) {
    std::vector<Bytes> pixels;
    for (int row = 1; row >= 0; --row)
        for (int x = 0; x < 3; ++x) pixels.push_back(storedPixel(Expected[row * 3 + x], bits));
    return pixels;
}

Bytes rawData(int bits) {
    Bytes data;
    for (const Bytes& p : storedPixels(bits)) data.insert(data.end(), p.begin(), p.end());
    return data;
}

// Bottom row "white, white, blue-ish" and top row "red, green, blue": a run of 2 whites,
// then one raw packet of 4 pixels that crosses into the next row.
Bytes runLengthData(int bits) {
    const auto pixels = storedPixels(bits);
    Bytes data{0x81};
    data.insert(data.end(), pixels[0].begin(), pixels[0].end());
    data.push_back(0x03);
    for (int n = 2; n < 6; ++n) data.insert(data.end(), pixels[n].begin(), pixels[n].end());
    return data;
}

// What a depth keeps of the expected colours: 15 and 24 bits carry no alpha.
Rgba expectedAt(int index, int bits) {
    Rgba c = Expected[index];
    if (bits == 15 || bits == 24) c.a = 255;
    if (bits <= 16) {
        const auto expand = [](int v) { return ((v >> 3) << 3) | ((v >> 3) >> 2); };
        c = Rgba{expand(c.r), expand(c.g), expand(c.b), c.a};
    }
    return c;
}

class TgaDepths : public ::testing::TestWithParam<std::tuple<int, int>> {};

TEST_P(TgaDepths, DecodesBottomUpRowsIntoRgba) {
    const auto [type, bits] = GetParam();
    const Bytes file = tgaFile(type, bits, 3, 2, type == 2 ? rawData(bits) : runLengthData(bits));
    const auto picture = decodeTga(file);
    ASSERT_TRUE(picture);
    EXPECT_EQ(picture->hasAlpha, bits == 16 || bits == 32);
    ASSERT_EQ(picture->pixels.width, 3);
    ASSERT_EQ(picture->pixels.height, 2);
    for (int i = 0; i < 6; ++i) EXPECT_EQ(pixelAt(picture->pixels, i % 3, i / 3), expectedAt(i, bits)) << i;
    EXPECT_EQ(acceptedPrefixes(file, decodeTga), 0);
}

INSTANTIATE_TEST_SUITE_P(StoredAndRunLength, TgaDepths,
                         ::testing::Combine(::testing::Values(2, 10), ::testing::Values(15, 16, 24, 32)));

TEST(TgaDecoder, SkipsTheIdFieldAndIgnoresTheOriginBit) {
    Bytes file = tgaFile(2, 24, 3, 2, rawData(24), Bytes(7, 0xEE));
    file[17] = 0x20;  // "top-left origin": still read bottom-up
    const auto picture = decodeTga(file);
    ASSERT_TRUE(picture);
    EXPECT_EQ(pixelAt(picture->pixels, 0, 0), expectedAt(0, 24));
    EXPECT_EQ(pixelAt(picture->pixels, 2, 1), expectedAt(5, 24));
}

TEST(TgaDecoder, FiveBitChannelsSpanTheFullRange) {
    const Bytes file = tgaFile(2, 16, 1, 1, {0xFF, 0xFF});
    EXPECT_EQ(pixelAt(decodeTga(file)->pixels, 0, 0), (Rgba{255, 255, 255, 255}));
}

TEST(TgaDecoder, RefusesHeadersOutsideTheAcceptedSet) {
    const Bytes good = tgaFile(2, 24, 3, 2, rawData(24));
    const auto refused = [&](size_t at, uint8_t value) {
        Bytes file = good;
        file[at] = value;
        return !decodeTga(file);
    };
    EXPECT_TRUE(refused(1, 1));   // colour-map type
    EXPECT_TRUE(refused(2, 1));   // colour-mapped image type
    EXPECT_TRUE(refused(2, 3));   // greyscale image type
    EXPECT_TRUE(refused(16, 8));  // 8 bits per pixel
    EXPECT_TRUE(refused(12, 0));  // width 0
    EXPECT_TRUE(refused(14, 0));  // height 0
    EXPECT_FALSE(decodeTga(tgaFile(2, 24, 4097, 1, Bytes(4097 * 3, 1))));
    EXPECT_FALSE(decodeTga(tgaFile(2, 24, 1, 65535, Bytes(8, 1))));
    EXPECT_FALSE(decodeTga(Bytes{}));
}

TEST(TgaDecoder, RefusesRunsPastTheEndOfThePicture) {
    // 2 x 1 picture: a run of 3 overflows it, even though the buffer holds the pixel.
    EXPECT_FALSE(decodeTga(tgaFile(10, 24, 2, 1, {0x82, 1, 2, 3})));
    EXPECT_FALSE(decodeTga(tgaFile(10, 24, 2, 1, {0x02, 1, 2, 3, 4, 5, 6, 7, 8, 9})));
    EXPECT_TRUE(decodeTga(tgaFile(10, 24, 2, 1, {0x81, 1, 2, 3})));
}

}  // namespace
