// The CPU compositor against SDL's software renderer: the same scenes, pixel by pixel.
// Both are read back before presenting. They may differ by rounding (software truncates,
// pixman rounds) and by sampling: the software renderer samples turned and scaled pictures
// nearest while the compositor filters them, and the two choose differently which pixels
// an edge touches. The pictures are smooth gradients, so all but a few edge pixels agree
// within Tolerance per channel: 12 of 255, which five glows added on top of each other
// (each rounded on its own) need. Magnified pictures, which the software renderer shows
// in steps of whole source pixels, may differ in up to 1.5 % of the screen.

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>
#include <functional>

#include "media/draw/path_choice.h"
#include "media/draw/quad_geometry.h"
#include "media/sdl/sdl_media.h"

namespace {

constexpr int Tolerance = 12;
constexpr double MostPixels = 0.995;       // all but edge pixels
constexpr double MagnifiedPixels = 0.985;  // where the software renderer shows magnified steps

// A smooth picture: red across, green down, blue fixed, alpha as given (or a radial fall-off).
Image gradient(int width, int height, int blue, bool radialAlpha, int flags = ImageFiltered) {
    Image image;
    image.width = width, image.height = height, image.flags = flags;
    PixelBlock block{width, height, {}};
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const float dx = (x + 0.5f) / width - 0.5f, dy = (y + 0.5f) / height - 0.5f;
            const float fall = std::max(0.0f, 1.0f - 2.0f * std::sqrt(dx * dx + dy * dy));
            const auto alpha = static_cast<uint8_t>(radialAlpha ? 255 * fall : 255);
            block.rgba.insert(block.rgba.end(),
                              {static_cast<uint8_t>(60 + 150 * x / width), static_cast<uint8_t>(40 + 160 * y / height),
                               static_cast<uint8_t>(blue), alpha});
        }
    image.frames.push_back(block);
    return image;
}

struct ScenePictures {
    Image background = gradient(800, 600, 90, false);
    Image tile = gradient(56, 56, 200, false);
    Image light = gradient(64, 64, 255, true);
    Image unfiltered = gradient(32, 32, 30, false, 0);
};

using Scene = std::function<void(MediaLayer&, const ScenePictures&)>;

PixelBlock drawWith(PathChoice path, const Scene& scene) {
    setenv("SDL_VIDEODRIVER", "offscreen", 1);
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    setenv("SDL_RENDER_DRIVER", "software", 1);
    ScenePictures pictures;
    SdlMedia media(path);
    EXPECT_TRUE(media.openScreen(800, 600, 0, 0, 0));
    EXPECT_EQ(media.composing(), path == PathChoice::Composer);
    media.setBlendMode(BlendMode::Alpha);
    media.clearScreen();
    MediaLayer::centreImageHandle(pictures.background);
    media.drawImage(pictures.background, 400, 300, 0);
    scene(media, pictures);
    return media.readScreen();
}

// Fraction of pixels whose channels all agree within the tolerance.
double agreement(const PixelBlock& a, const PixelBlock& b, int& worst) {
    size_t agreeing = 0;
    worst = 0;
    const size_t pixels = static_cast<size_t>(a.width) * a.height;
    for (size_t i = 0; i < pixels; ++i) {
        int difference = 0;
        for (int c = 0; c < 3; ++c) difference = std::max(difference, std::abs(a.rgba[i * 4 + c] - b.rgba[i * 4 + c]));
        worst = std::max(worst, difference);
        if (difference <= Tolerance) ++agreeing;
    }
    return static_cast<double>(agreeing) / static_cast<double>(pixels);
}

void expectSameLook(const Scene& scene, double share = MostPixels) {
    const PixelBlock software = drawWith(PathChoice::Renderer, scene);
    const PixelBlock composed = drawWith(PathChoice::Composer, scene);
    int worst = 0;
    EXPECT_GE(agreement(software, composed, worst), share) << "largest difference " << worst;
}

uint8_t channel(const PixelBlock& screen, int x, int y, int c) {
    return screen.rgba[(static_cast<size_t>(y) * screen.width + x) * 4 + c];
}

}  // namespace

TEST(CpuCanvas, PlainPicturesAndShadowsLookAsOnTheSoftwareRenderer) {
    expectSameLook([](MediaLayer& media, const ScenePictures& p) {
        MediaLayer::centreImageHandle(const_cast<Image&>(p.tile));
        for (int i = 0; i < 6; ++i) {
            media.setDrawColour(0, 0, 0);
            media.setDrawAlpha(0.5f);
            media.drawImage(p.tile, 100 + 48 * i + 4, 204, 0);  // shadow
            media.setDrawColour(255, 255, 255);
            media.setDrawAlpha(1.0f);
            media.drawImage(p.tile, 100 + 48 * i, 200, 0);
        }
        media.setDrawAlpha(0.8f);
        media.drawImage(p.unfiltered, 500, 400, 0);
    });
}

TEST(CpuCanvas, TintedAdditiveAndFadedPicturesLookAsOnTheSoftwareRenderer) {
    expectSameLook([](MediaLayer& media, const ScenePictures& p) {
        media.setBlendMode(BlendMode::Light);
        media.setDrawAlpha(0.7f);
        for (int i = 0; i < 5; ++i) media.drawImage(p.light, 80 + 50 * i, 80, 0);  // overlapping glows
        media.setDrawColour(120, 255, 40);
        media.drawImage(p.light, 500, 100, 0);
        media.setBlendMode(BlendMode::Alpha);
        media.setDrawColour(128, 128, 128);  // the fade colour half way
        media.setDrawAlpha(1.0f);
        media.drawImage(p.tile, 300, 300, 0);
        media.setDrawColour(200, 200, 255);
        media.setDrawAlpha(0.6f);
        media.drawRect(0, 550, 800, 50);
    });
}

TEST(CpuCanvas, TurnedAndScaledPicturesLookAsOnTheSoftwareRenderer) {
    expectSameLook(
        [](MediaLayer& media, const ScenePictures& p) {
            MediaLayer::centreImageHandle(const_cast<Image&>(p.tile));
            media.setDrawRotation(30);
            media.setDrawScale(1.5f, 1.5f);
            media.setDrawAlpha(0.5f);
            media.drawImage(p.tile, 200, 300, 0);  // a rotation ghost
            media.setBlendMode(BlendMode::Light);
            media.setDrawRotation(0);
            media.setDrawScale(2.5f, 2.5f);
            media.setDrawAlpha(0.9f);
            media.drawImage(p.light, 500, 300, 0);  // a grown sparkle
            media.setBlendMode(BlendMode::Alpha);
            media.setDrawScale(-1, 1);  // mirrored
            media.setDrawAlpha(1.0f);
            media.drawImage(p.unfiltered, 700, 500, 0);
        },
        MagnifiedPixels);
}

TEST(CpuCanvas, QuarterTurnPutsTheTopEdgeOnTheRight) {
    // Blue picture whose top two rows are red, turned clockwise about its centre at (100, 100).
    Image picture = gradient(32, 32, 255, false, 0);
    for (int i = 0; i < 32 * 32; ++i) picture.frames[0].rgba[i * 4] = 0, picture.frames[0].rgba[i * 4 + 1] = 0;
    for (int i = 0; i < 32 * 2; ++i) picture.frames[0].rgba[i * 4] = 255, picture.frames[0].rgba[i * 4 + 2] = 0;
    const PixelBlock screen = drawWith(PathChoice::Composer, [&](MediaLayer& media, const ScenePictures&) {
        MediaLayer::centreImageHandle(picture);
        media.setDrawRotation(90);
        media.drawImage(picture, 100, 100, 0);
    });
    EXPECT_EQ(channel(screen, 115, 100, 0), 255);  // the old top edge
    EXPECT_EQ(channel(screen, 100, 100, 2), 255);
    EXPECT_EQ(channel(screen, 84, 100, 2), 255);
    EXPECT_NE(channel(screen, 83, 100, 2), 255);  // outside 84..116: the background
}

TEST(CpuCanvas, MaskModeDrawsOnlyTheSolidHalfOpaque) {
    Image picture = gradient(16, 16, 0, false, 0);
    for (int i = 0; i < 16 * 16; ++i) picture.frames[0].rgba[i * 4 + 3] = i % 16 < 8 ? 100 : 200;
    const PixelBlock screen = drawWith(PathChoice::Composer, [&](MediaLayer& media, const ScenePictures&) {
        media.setBlendMode(BlendMode::Mask);
        media.setDrawAlpha(0.3f);  // the mask mode ignores alpha
        media.drawImage(picture, 0, 0, 0);
    });
    EXPECT_EQ(channel(screen, 12, 8, 2), 0);  // alpha 200: drawn opaque, blue 0
    EXPECT_EQ(channel(screen, 3, 8, 2), 90);  // alpha 100: the background shows
}

TEST(QuadGeometry, QuadsThatCannotShowAreSkipped) {
    DrawState draw;
    draw.blend = BlendMode::Light;
    draw.colour = Colour{0, 0, 0};
    EXPECT_FALSE(quadCanShow(draw));  // additive black
    draw.colour = Colour{0, 0, 1};
    EXPECT_TRUE(quadCanShow(draw));
    draw.alpha = 0.003f;  // a byte of 0
    EXPECT_FALSE(quadCanShow(draw));
    draw.blend = BlendMode::Mask;  // opaque whatever the alpha
    EXPECT_TRUE(quadCanShow(draw));
    draw.scaleX = 0;
    EXPECT_FALSE(quadCanShow(draw));
}

TEST(QuadGeometry, OffScreenQuadsHaveAnEmptyBox) {
    DrawState draw;
    EXPECT_TRUE(pixelBox(placeQuad(draw, 810, 100, 0, 0, 32, 32), 800, 600).empty());
    EXPECT_TRUE(pixelBox(placeQuad(draw, -32, 100, 0, 0, 32, 32), 800, 600).empty());
    const PixelBox edge = pixelBox(placeQuad(draw, -16, 590, 0, 0, 32, 32), 800, 600);
    EXPECT_EQ(edge.x0, 0);
    EXPECT_EQ(edge.x1, 16);
    EXPECT_EQ(edge.y1, 600);
}

TEST(QuadGeometry, OnlyUprightUnscaledWholePixelQuadsCountAsExact) {
    DrawState draw;
    updateDrawMatrix(draw);
    EXPECT_TRUE(onWholePixels(draw, 12, 40));
    EXPECT_FALSE(onWholePixels(draw, 12.5f, 40));
    draw.scaleX = 1.2f;
    updateDrawMatrix(draw);
    EXPECT_FALSE(onWholePixels(draw, 12, 40));
    draw.scaleX = 1;
    draw.rotation = 180;
    updateDrawMatrix(draw);
    EXPECT_FALSE(onWholePixels(draw, 12, 40));
}

TEST(QuadGeometry, TheInkIsWhereAnyAlphaIsAndSmoothSamplingReadsATexelMore) {
    PixelBlock frame{10, 8, std::vector<uint8_t>(10 * 8 * 4, 0)};
    EXPECT_TRUE(inkBox(frame).empty());
    const auto ink = [&frame](int x, int y, uint8_t alpha) { frame.rgba[(y * 10 + x) * 4 + 3] = alpha; };
    ink(3, 2, 1);  // the faintest alpha counts
    ink(6, 5, 255);
    const InkBox box = inkBox(frame);
    EXPECT_EQ((std::array<int, 4>{box.x0, box.y0, box.x1, box.y1}), (std::array<int, 4>{3, 2, 7, 6}));
    EXPECT_FALSE(box.opaque);
    const InkBox sampled = sampledInk(box, false, 10, 8);
    EXPECT_EQ((std::array<int, 4>{sampled.x0, sampled.y0, sampled.x1, sampled.y1}), (std::array<int, 4>{2, 1, 8, 7}));
    const InkBox exact = sampledInk(box, true, 10, 8);
    EXPECT_EQ(exact.x0, 3);
    EXPECT_EQ(exact.x1, 7);
    ink(0, 0, 9), ink(9, 7, 9);  // ink at the corners: the frame's edge bounds the texel more
    const InkBox whole = sampledInk(inkBox(frame), false, 10, 8);
    EXPECT_EQ((std::array<int, 4>{whole.x0, whole.y0, whole.x1, whole.y1}), (std::array<int, 4>{0, 0, 10, 8}));
    for (size_t i = 3; i < frame.rgba.size(); i += 4) frame.rgba[i] = 255;
    EXPECT_TRUE(inkBox(frame).opaque);
    frame.rgba[(5 * 10 + 4) * 4 + 3] = 254;
    EXPECT_FALSE(inkBox(frame).opaque) << "one pixel short of full alpha";
    // Only where a clear pixel changes nothing may the quad shrink to its ink.
    EXPECT_TRUE(clearPixelsLeaveScreenAlone(BlendMode::Alpha));
    EXPECT_TRUE(clearPixelsLeaveScreenAlone(BlendMode::Light));
    EXPECT_TRUE(clearPixelsLeaveScreenAlone(BlendMode::Mask));
    EXPECT_FALSE(clearPixelsLeaveScreenAlone(BlendMode::Solid));
    EXPECT_FALSE(clearPixelsLeaveScreenAlone(BlendMode::Shade));
}

TEST(DrawPathChoice, MesaSoftwareRasterisersAreRecognised) {
    EXPECT_TRUE(isSoftwareRasteriser("llvmpipe (LLVM 15.0.6, 256 bits)"));
    EXPECT_TRUE(isSoftwareRasteriser("softpipe"));
    EXPECT_TRUE(isSoftwareRasteriser("Mesa DRI swrast"));
    EXPECT_FALSE(isSoftwareRasteriser("Mesa Intel(R) UHD Graphics 620 (KBL GT2)"));
    EXPECT_FALSE(isSoftwareRasteriser("AMD Radeon RX 580 (polaris10, LLVM 15.0.6, DRM 3.49)"));
}
