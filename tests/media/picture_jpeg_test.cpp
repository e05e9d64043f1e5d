// JPEG decoding: grey and colour pictures come out as opaque RGB. JPEG is lossy,
// so flat 8 x 8 blocks are compared within a small tolerance.

#include <gtest/gtest.h>

#include <cstdlib>

#include "picture_test_files.h"

namespace {

// 16 x 8: the left block in one colour, the right block in another.
Bytes twoBlocks(const Bytes& left, const Bytes& right) {
    Bytes pixels;
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 16; ++x) {
            const Bytes& colour = x < 8 ? left : right;
            pixels.insert(pixels.end(), colour.begin(), colour.end());
        }
    return pixels;
}

void expectNear(Rgba actual, Rgba expected) {
    EXPECT_LE(std::abs(actual.r - expected.r), 3) << actual.r;
    EXPECT_LE(std::abs(actual.g - expected.g), 3) << actual.g;
    EXPECT_LE(std::abs(actual.b - expected.b), 3) << actual.b;
    EXPECT_EQ(actual.a, 255);
}

TEST(JpegDecoder, DecodesColourAndGreyIntoOpaqueRgb) {
    const auto colour = decodeJpeg(jpegFile(16, 8, 3, twoBlocks({200, 40, 40}, {30, 60, 220}), JCS_RGB));
    ASSERT_TRUE(colour);
    EXPECT_FALSE(colour->hasAlpha);
    ASSERT_EQ(colour->pixels.width, 16);
    ASSERT_EQ(colour->pixels.height, 8);
    expectNear(pixelAt(colour->pixels, 3, 4), {200, 40, 40, 255});
    expectNear(pixelAt(colour->pixels, 12, 4), {30, 60, 220, 255});
    const auto grey = decodeJpeg(jpegFile(16, 8, 1, twoBlocks({30}, {230}), JCS_GRAYSCALE));
    ASSERT_TRUE(grey);
    EXPECT_FALSE(grey->hasAlpha);
    EXPECT_EQ(pixelAt(grey->pixels, 3, 4), (Rgba{30, 30, 30, 255}));
    EXPECT_EQ(pixelAt(grey->pixels, 12, 4), (Rgba{230, 230, 230, 255}));
}

TEST(JpegDecoder, RefusesTruncatedAndForeignFilesQuietly) {
    const Bytes file = jpegFile(16, 8, 3, twoBlocks({200, 40, 40}, {30, 60, 220}), JCS_RGB);
    // libjpeg would fill a short file with grey and only warn; the decoder refuses it.
    testing::internal::CaptureStderr();
    EXPECT_EQ(acceptedPrefixes(file, decodeJpeg), 0);
    Bytes garbage = file;
    for (size_t i = 20; i < garbage.size(); ++i) garbage[i] = static_cast<uint8_t>(i * 7);
    EXPECT_FALSE(decodeJpeg(garbage));
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
    // Four-channel (CMYK) pictures are not among the accepted kinds.
    EXPECT_FALSE(decodeJpeg(jpegFile(8, 8, 4, Bytes(8 * 8 * 4, 100), JCS_CMYK)));
}

}  // namespace
