// The compositor's own row blends give pixman's pixels to the bit, over every kind of source
// pixel: clear, opaque, part alpha, and bright enough that sums saturate.

#include "media/draw/cpu/cpu_blend.h"

#include <gtest/gtest.h>
#include <pixman.h>

#include <random>
#include <vector>

namespace {

// 37: whole runs of four and a tail; runs of clear and of opaque pixels among the others.
constexpr int Count = 37;

std::vector<uint32_t> premultipliedPixels(std::mt19937& random) {
    std::vector<uint32_t> pixels(Count);
    for (int i = 0; i < Count; ++i) {
        uint32_t alpha = random() % 256;
        if (i < 8) alpha = 0;                 // a run of clear pixels
        if (i >= 8 && i < 16) alpha = 255;    // and of opaque ones
        if (i % 7 == 3) alpha = 255 - i % 3;  // near opaque: every colour up to 255
        uint32_t pixel = alpha << 24;
        for (int shift = 0; shift < 24; shift += 8) pixel |= (alpha == 0 ? 0 : random() % (alpha + 1)) << shift;
        pixels[i] = pixel;
    }
    return pixels;
}

std::vector<uint32_t> framePixels(std::mt19937& random) {
    std::vector<uint32_t> pixels(Count);
    for (uint32_t& pixel : pixels) pixel = static_cast<uint32_t>(random());
    return pixels;
}

pixman_image_t* row(std::vector<uint32_t>& pixels) {
    return pixman_image_create_bits(PIXMAN_a8r8g8b8, Count, 1, pixels.data(), Count * 4);
}

pixman_image_t* repeatedPixel(uint32_t& pixel, bool perChannel) {
    pixman_image_t* image = pixman_image_create_bits(PIXMAN_a8r8g8b8, 1, 1, &pixel, 4);
    pixman_image_set_repeat(image, PIXMAN_REPEAT_NORMAL);
    pixman_image_set_component_alpha(image, perChannel);
    return image;
}

// What pixman makes of the source blended over (or added to) the frame, through `scale`.
std::vector<uint32_t> byPixman(pixman_op_t op, std::vector<uint32_t> source, std::vector<uint32_t> frame,
                               uint32_t scale) {
    pixman_image_t* from = row(source);
    pixman_image_t* onto = row(frame);
    uint32_t maskPixel = scale;
    pixman_image_t* mask = repeatedPixel(maskPixel, true);
    if (op == PIXMAN_OP_OVER) {
        // Tinted first, then blended: a tint's colour is not a per-channel alpha.
        std::vector<uint32_t> tinted(Count);
        pixman_image_t* scratch = row(tinted);
        pixman_image_composite32(PIXMAN_OP_SRC, from, mask, scratch, 0, 0, 0, 0, 0, 0, Count, 1);
        pixman_image_composite32(PIXMAN_OP_OVER, scratch, nullptr, onto, 0, 0, 0, 0, 0, 0, Count, 1);
        pixman_image_unref(scratch);
    } else {
        pixman_image_composite32(op, from, mask, onto, 0, 0, 0, 0, 0, 0, Count, 1);
    }
    for (pixman_image_t* image : {from, onto, mask}) pixman_image_unref(image);
    return frame;
}

const uint32_t Scales[] = {Unscaled, tintScale(255, 255, 255, 200), tintScale(90, 200, 255, 255),
                           tintScale(255, 40, 0, 77), tintScale(0, 0, 0, 128)};

using RowBlendFunction = void (*)(uint32_t*, const uint32_t*, int, ChannelScale);

// Twenty rows of each kind of source through every scale: the row blend's pixels are pixman's.
void expectPixmansPixels(RowBlendFunction blendRow, pixman_op_t op, unsigned seed) {
    std::mt19937 random(seed);
    for (int trial = 0; trial < 20; ++trial)
        for (const uint32_t scale : Scales) {
            const std::vector<uint32_t> source = premultipliedPixels(random), frame = framePixels(random);
            std::vector<uint32_t> blended = frame;
            blendRow(blended.data(), source.data(), Count, scale);
            ASSERT_EQ(blended, byPixman(op, source, frame, scale)) << "scale " << std::hex << scale;
        }
}

}  // namespace

TEST(CpuBlend, OverGivesPixmansPixels) { expectPixmansPixels(blendRowOver, PIXMAN_OP_OVER, 1); }

TEST(CpuBlend, AddGivesPixmansPixelsAndSaturates) {
    expectPixmansPixels(blendRowAdd, PIXMAN_OP_ADD, 2);
    // White light on a bright frame stays white, never wraps round to dark.
    std::vector<uint32_t> frame(Count, 0xFFF0F0F0u), light(Count, 0xFF202020u);
    blendRowAdd(frame.data(), light.data(), Count);
    EXPECT_EQ(frame[0], 0xFFFFFFFFu);
    EXPECT_EQ(frame[Count - 1], 0xFFFFFFFFu);
}

TEST(CpuBlend, ShadowDarkensAsBlackThroughTheAlphaBytes) {
    std::mt19937 random(3);
    for (const int alpha : {255, 128, 102, 1}) {
        std::vector<uint8_t> alphas(((Count + 3) / 4) * 4);
        for (size_t i = 0; i < alphas.size(); ++i) alphas[i] = i < 8 ? 0 : i < 16 ? 255 : random() % 256;
        std::vector<uint32_t> frame = framePixels(random), expected = frame;
        pixman_image_t* mask = pixman_image_create_bits(PIXMAN_a8, Count, 1, reinterpret_cast<uint32_t*>(alphas.data()),
                                                        static_cast<int>(alphas.size()));
        uint32_t blackPixel = static_cast<uint32_t>(alpha) << 24;
        pixman_image_t* black = repeatedPixel(blackPixel, false);
        pixman_image_t* onto = row(expected);
        pixman_image_composite32(PIXMAN_OP_OVER, black, mask, onto, 0, 0, 0, 0, 0, 0, Count, 1);
        for (pixman_image_t* image : {mask, black, onto}) pixman_image_unref(image);
        blendRowShadow(frame.data(), alphas.data(), Count, alpha);
        ASSERT_EQ(frame, expected) << "alpha " << alpha;
    }
}
