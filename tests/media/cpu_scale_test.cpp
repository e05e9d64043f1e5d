// A picture scaled upright by our own two-pass sampling looks as pixman's smooth sampling makes
// it, enlarged or shrunk, at any offset, up to and beyond the picture's edges.

#include "media/draw/cpu/cpu_scale.h"

#include "media/draw/cpu/cpu_canvas.h"

#include <gtest/gtest.h>
#include <pixman.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <vector>

namespace {

// Premultiplied, with pixel-sized detail and a soft edge of alpha, so that half a pixel's
// shift or a swapped weight shows.
std::vector<uint32_t> detailedPicture(int width, int height) {
    std::vector<uint32_t> pixels(static_cast<size_t>(width) * height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const uint32_t alpha = x == 0 || y == height - 1 ? 90 : 255;
            const uint32_t red = (x * 255 / (width - 1)) * alpha / 255, green = ((x + y) % 2 ? 230 : 20) * alpha / 255;
            const uint32_t blue = (y * 255 / (height - 1)) * alpha / 255;
            pixels[static_cast<size_t>(y) * width + x] = alpha << 24 | red << 16 | green << 8 | blue;
        }
    return pixels;
}

struct Case {
    double scaleX, scaleY;      // frame pixels per picture pixel
    double shiftX, shiftY;      // where the picture's top left lands on the frame
    int x0, y0, width, height;  // the frame rectangle asked for
};

}  // namespace

TEST(SmoothScaler, LooksAsPixmansSmoothSampling) {
    constexpr int PictureWidth = 23, PictureHeight = 17;
    std::vector<uint32_t> picture = detailedPicture(PictureWidth, PictureHeight);
    const Case cases[] = {
        {4.5, 4.5, 10.3, 20.7, 0, 0, 130, 100},  // a grown sparkle, past every edge
        {0.5, 0.5, 3.25, 1.75, 0, 0, 16, 12},    // a new one, shrunk
        {0.8, 0.8, 0.4, 0.6, 2, 3, 15, 11},      // a larger set drawn smaller
        {1.7, 2.3, -5.2, 7.9, 10, 30, 30, 20},   // stretched unevenly, a part from inside
        {1.0, 1.0, 0.5, 0.5, 0, 0, 25, 19},      // half a pixel off: every pixel a mix
    };
    for (const Case& c : cases) {
        pixman_f_transform inverse{};
        inverse.m[0][0] = 1 / c.scaleX, inverse.m[0][2] = -c.shiftX / c.scaleX;
        inverse.m[1][1] = 1 / c.scaleY, inverse.m[1][2] = -c.shiftY / c.scaleY;
        inverse.m[2][2] = 1;
        pixman_transform_t fixed;
        ASSERT_TRUE(pixman_transform_from_pixman_f_transform(&fixed, &inverse));

        std::vector<uint32_t> expected(static_cast<size_t>(c.width) * c.height);
        pixman_image_t* source =
            pixman_image_create_bits(PIXMAN_a8r8g8b8, PictureWidth, PictureHeight, picture.data(), PictureWidth * 4);
        pixman_image_set_transform(source, &fixed);
        pixman_image_set_filter(source, PIXMAN_FILTER_BILINEAR, nullptr, 0);
        pixman_image_set_repeat(source, PIXMAN_REPEAT_PAD);
        pixman_image_t* into =
            pixman_image_create_bits(PIXMAN_a8r8g8b8, c.width, c.height, expected.data(), c.width * 4);
        pixman_image_composite32(PIXMAN_OP_SRC, source, nullptr, into, c.x0, c.y0, 0, 0, 0, 0, c.width, c.height);
        pixman_image_unref(source);
        pixman_image_unref(into);

        // Written into a wider frame: rows keep to their stride.
        const int stride = c.width + 5;
        std::vector<uint32_t> scaled(static_cast<size_t>(stride) * c.height, 0xDEADBEEFu);
        SmoothScaler scaler;
        scaler.scale(PictureRows{picture.data(), PictureWidth, PictureHeight, PictureWidth},
                     UprightMapping{fixed.matrix[0][0], fixed.matrix[0][2], fixed.matrix[1][1], fixed.matrix[1][2]},
                     c.x0, c.y0, c.width, c.height, scaled.data(), stride);

        int worst = 0;
        for (int y = 0; y < c.height; ++y) {
            for (int x = 0; x < c.width; ++x)
                for (int shift = 0; shift < 32; shift += 8) {
                    const int a = (expected[static_cast<size_t>(y) * c.width + x] >> shift) & 0xFF;
                    const int b = (scaled[static_cast<size_t>(y) * stride + x] >> shift) & 0xFF;
                    worst = std::max(worst, std::abs(a - b));
                }
            EXPECT_EQ(scaled[static_cast<size_t>(y) * stride + c.width], 0xDEADBEEFu) << "wrote past its row";
        }
        EXPECT_LE(worst, 1) << "scale " << c.scaleX << " x " << c.scaleY << " at " << c.shiftX << ", " << c.shiftY;
    }
}

TEST(SmoothScaler, ATurnedPictureLooksAsPixmansSmoothSampling) {
    constexpr int PictureWidth = 23, PictureHeight = 17, Size = 60;
    std::vector<uint32_t> picture = detailedPicture(PictureWidth, PictureHeight);
    for (const double degrees : {30.0, 90.0, 200.0, -8.0}) {
        // Turned about the frame's middle and grown 1.6 times: a rotation ghost.
        const double turn = degrees * M_PI / 180, grow = 1.6;
        pixman_f_transform inverse{};
        const double c = std::cos(turn) / grow, s = std::sin(turn) / grow;
        inverse.m[0][0] = c, inverse.m[0][1] = s, inverse.m[0][2] = PictureWidth / 2.0 - c * 30.3 - s * 29.6;
        inverse.m[1][0] = -s, inverse.m[1][1] = c, inverse.m[1][2] = PictureHeight / 2.0 + s * 30.3 - c * 29.6;
        inverse.m[2][2] = 1;
        pixman_transform_t fixed;
        ASSERT_TRUE(pixman_transform_from_pixman_f_transform(&fixed, &inverse));

        std::vector<uint32_t> expected(Size * Size);
        pixman_image_t* source =
            pixman_image_create_bits(PIXMAN_a8r8g8b8, PictureWidth, PictureHeight, picture.data(), PictureWidth * 4);
        pixman_image_set_transform(source, &fixed);
        pixman_image_set_filter(source, PIXMAN_FILTER_BILINEAR, nullptr, 0);
        pixman_image_set_repeat(source, PIXMAN_REPEAT_PAD);
        pixman_image_t* into = pixman_image_create_bits(PIXMAN_a8r8g8b8, Size, Size, expected.data(), Size * 4);
        pixman_image_composite32(PIXMAN_OP_SRC, source, nullptr, into, 0, 0, 0, 0, 0, 0, Size, Size);
        pixman_image_unref(source);
        pixman_image_unref(into);

        const auto& m = fixed.matrix;
        const TurnedMapping mapping{m[0][0], m[0][1], m[0][2], m[1][0], m[1][1], m[1][2]};
        int worst = 0;
        for (int y = 0; y < Size; ++y) {
            // A part of each row, from a column inside it, with a guard pixel either side.
            std::vector<uint32_t> row(Size + 2, 0xDEADBEEFu);
            const int first = y % 7, end = Size - y % 5;
            sampleTurnedRow(PictureRows{picture.data(), PictureWidth, PictureHeight, PictureWidth}, mapping, y, first,
                            end, &row[1 + first]);
            EXPECT_EQ(row[first], 0xDEADBEEFu);
            EXPECT_EQ(row[end + 1], 0xDEADBEEFu);
            for (int x = first; x < end; ++x)
                for (int shift = 0; shift < 32; shift += 8) {
                    const int a = (expected[y * Size + x] >> shift) & 0xFF, b = (row[1 + x] >> shift) & 0xFF;
                    worst = std::max(worst, std::abs(a - b));
                }
        }
        EXPECT_LE(worst, 1) << "turned " << degrees << " degrees";
    }
}

// A frame composed at a smaller scale and stretched to the window is smooth and in place,
// band by band, whether our own scaling (enlarged 1.8 times, a 4K window at scale 2) or
// pixman's (1.2 times) does it.
TEST(SmoothScaler, AStretchedFrameLooksAsPixmansSmoothStretch) {
    Image picture;
    picture.width = 40, picture.height = 30, picture.flags = ImageFiltered;
    PixelBlock block{40, 30, {}};
    const std::vector<uint32_t> pixels = detailedPicture(40, 30);
    for (const uint32_t pixel : pixels)
        block.rgba.insert(block.rgba.end(), {static_cast<uint8_t>(pixel >> 16), static_cast<uint8_t>(pixel >> 8),
                                             static_cast<uint8_t>(pixel), 255});
    picture.frames.push_back(block);
    for (const double enlarged : {1.8, 1.2}) {
        CpuCanvas canvas(100, 80, 1.0f, 2);
        canvas.clear();
        canvas.drawImage(picture, 30, 25, 0, DrawState{});
        canvas.compose();
        const int width = static_cast<int>(100 * enlarged), height = static_cast<int>(80 * enlarged);
        const int stride = width + 3;
        std::vector<uint32_t> window(static_cast<size_t>(stride) * height, 0xDEADBEEFu);
        // First a window half as wide, in the same memory: a window's width can change alone,
        // and the stretch must follow it.
        canvas.stretchInto(window.data(), stride, width / 2, height);
        canvas.stretchInto(window.data(), stride, width, height);

        std::vector<uint32_t> frame(canvas.pixels(), canvas.pixels() + static_cast<size_t>(canvas.stride()) * 80);
        pixman_f_transform scaling{};
        scaling.m[0][0] = 100.0 / width, scaling.m[1][1] = 80.0 / height, scaling.m[2][2] = 1;
        pixman_transform_t fixed;
        pixman_transform_from_pixman_f_transform(&fixed, &scaling);
        pixman_image_t* source = pixman_image_create_bits(PIXMAN_x8r8g8b8, 100, 80, frame.data(), canvas.stride() * 4);
        pixman_image_set_transform(source, &fixed);
        pixman_image_set_filter(source, PIXMAN_FILTER_BILINEAR, nullptr, 0);
        pixman_image_set_repeat(source, PIXMAN_REPEAT_PAD);
        std::vector<uint32_t> expected(static_cast<size_t>(width) * height);
        pixman_image_t* into = pixman_image_create_bits(PIXMAN_x8r8g8b8, width, height, expected.data(), width * 4);
        pixman_image_composite32(PIXMAN_OP_SRC, source, nullptr, into, 0, 0, 0, 0, 0, 0, width, height);
        pixman_image_unref(source);
        pixman_image_unref(into);

        int worst = 0;
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < width; ++x)
                for (int shift = 0; shift < 24; shift += 8) {
                    const int a = (expected[static_cast<size_t>(y) * width + x] >> shift) & 0xFF;
                    const int b = (window[static_cast<size_t>(y) * stride + x] >> shift) & 0xFF;
                    worst = std::max(worst, std::abs(a - b));
                }
            EXPECT_EQ(window[static_cast<size_t>(y) * stride + width], 0xDEADBEEFu) << "wrote past the window's row";
        }
        EXPECT_LE(worst, 1) << "enlarged " << enlarged << " times";
        // Not black: the picture is there, where it was drawn.
        const uint32_t middle =
            window[static_cast<size_t>(45 * enlarged) * stride + static_cast<size_t>(50 * enlarged)];
        EXPECT_NE(middle & 0xFFFFFF, 0u);
    }
}
