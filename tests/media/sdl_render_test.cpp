// The SDL layer drawn on the software renderer and by the CPU compositor, read back pixel by pixel.

#include <SDL.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>

#include "media/desktop/sdl_media.h"
#include "support/offscreen_screen.h"

namespace {

class SdlRenderTest : public OffscreenTest {
protected:
    void SetUp() override {
        OffscreenTest::SetUp();
        media.clearScreen();
    }
};

void expectNear(Pixel actual, Pixel expected) {
    EXPECT_NEAR(actual.r, expected.r, 1);
    EXPECT_NEAR(actual.g, expected.g, 1);
    EXPECT_NEAR(actual.b, expected.b, 1);
}

}  // namespace

TEST_P(SdlRenderTest, RotatedCentredPictureTurnsAboutItsHandle) {
    // Blue picture whose top two rows are red: after a quarter turn clockwise the red edge is on the right.
    Image picture = solidPicture(32, 32, 0, 0, 255);
    for (int i = 0; i < 32 * 2; ++i) picture.frames[0].rgba[i * 4 + 0] = 255, picture.frames[0].rgba[i * 4 + 2] = 0;
    MediaLayer::centreImageHandle(picture);
    media.setDrawRotation(90);
    media.drawImage(picture, 100, 100, 0);
    const PixelBlock screen = media.readScreen();

    expectNear(pixelAt(screen, 84, 84), {0, 0, 255});
    expectNear(pixelAt(screen, 100, 100), {0, 0, 255});
    expectNear(pixelAt(screen, 115, 100), {255, 0, 0});  // the old top edge
    expectNear(pixelAt(screen, 84, 100), {0, 0, 255});
    expectNear(pixelAt(screen, 83, 100), {0, 0, 0});  // outside 84..116
    expectNear(pixelAt(screen, 100, 116), {0, 0, 0});
}

TEST_P(SdlRenderTest, APictureMadeWhereAnotherWasIsDrawnAsItself) {
    // The path keeps what it made of each picture; a new picture at a freed one's address must
    // not be drawn with the old one's pixels, nor may a copy share them once either changes.
    std::optional<Image> picture(solidPicture(8, 8, 255, 0, 0));
    media.drawImage(*picture, 0, 0, 0);
    picture.emplace(solidPicture(8, 8, 0, 255, 0));
    media.drawImage(*picture, 10, 0, 0);
    Image copy = *picture;
    for (size_t i = 0; i < copy.frames[0].rgba.size(); i += 4)
        copy.frames[0].rgba[i + 1] = 0, copy.frames[0].rgba[i + 2] = 255;
    media.drawImage(copy, 20, 0, 0);
    media.drawImage(*picture, 30, 0, 0);
    const PixelBlock screen = media.readScreen();
    expectNear(pixelAt(screen, 4, 4), {255, 0, 0});
    expectNear(pixelAt(screen, 14, 4), {0, 255, 0});
    expectNear(pixelAt(screen, 24, 4), {0, 0, 255});
    expectNear(pixelAt(screen, 34, 4), {0, 255, 0});
}

TEST_P(SdlRenderTest, AlphaAndAdditiveBlending) {
    const Image white = solidPicture(16, 16, 255, 255, 255);
    const Image grey = solidPicture(16, 16, 100, 100, 100);
    const Image red = solidPicture(16, 16, 255, 0, 0);
    media.drawImage(white, 0, 0, 0);
    media.drawImage(grey, 20, 0, 0);
    media.setDrawAlpha(0.5f);
    media.drawImage(red, 0, 0, 0);  // over white: half red
    media.setBlendMode(BlendMode::Light);
    media.drawImage(red, 20, 0, 0);  // added to grey
    const PixelBlock screen = media.readScreen();
    expectNear(pixelAt(screen, 8, 8), {255, 128, 128});
    expectNear(pixelAt(screen, 28, 8), {227, 100, 100});
}

TEST_P(SdlRenderTest, ColourMultipliesAndOutOfRangeValuesAreClamped) {
    const Image white = solidPicture(16, 16, 255, 255, 255);
    media.setDrawColour(300, 128, -20);
    media.setDrawAlpha(1.7f);
    media.drawImage(white, 0, 0, 0);
    // A black rectangle over a white square: on the black screen alone it could not fail.
    media.setDrawColour(255, 255, 255);
    media.setDrawAlpha(1.0f);
    media.drawImage(white, 40, 0, 0);
    media.setDrawColour(0, 0, 0);
    media.drawRect(40, 0, 10, 10);
    const PixelBlock screen = media.readScreen();
    expectNear(pixelAt(screen, 8, 8), {255, 128, 0});
    expectNear(pixelAt(screen, 45, 5), {0, 0, 0});
    expectNear(pixelAt(screen, 52, 12), {255, 255, 255});
}

TEST_P(SdlRenderTest, NeighbouringFramesNeverBleedIntoAScaledFrame) {
    // Two frames side by side in one picture: red, then blue. Scaled up smoothly,
    // frame 0 stays red right up to its edge.
    Image strip = solidPicture(8, 8, 255, 0, 0);
    strip.frames.push_back(solidPicture(8, 8, 0, 0, 255).frames[0]);
    strip.flags = ImageFiltered;
    media.setDrawScale(4, 4);
    media.drawImage(strip, 100, 100, 0);
    media.drawImage(strip, 200, 100, 1);
    const PixelBlock screen = media.readScreen();
    for (int x = 100; x < 132; x += 3) {
        const Pixel inside = pixelAt(screen, x, 116);
        EXPECT_GE(inside.r, 250) << "x " << x;
        EXPECT_LE(inside.b, 5) << "x " << x;
    }
    expectNear(pixelAt(screen, 230, 130), {0, 0, 255});
}

// SDL's software renderer, and the CPU compositor that replaces it: the same pixels.
INSTANTIATE_TEST_SUITE_P(BothPaths, SdlRenderTest, ::testing::Values(PathChoice::Renderer, PathChoice::Composer),
                         [](const auto& info) { return info.param == PathChoice::Renderer ? "Renderer" : "Composer"; });

namespace {

// The paths that sample smoothly: OpenGL where it can be had (SDL's software renderer
// samples nearest), and the CPU compositor.
class SmoothSamplingTest : public ::testing::TestWithParam<PathChoice> {
protected:
    void SetUp() override {
        setenv("SDL_VIDEODRIVER", "offscreen", 1);
        setenv("SDL_AUDIODRIVER", "dummy", 1);
        // The variable, not the hint: other tests of this process may have set it.
        setenv("SDL_RENDER_DRIVER", GetParam() == PathChoice::Renderer ? "opengl" : "software", 1);
        ASSERT_TRUE(media.openScreen(800, 600, 0, 60, 0));
        if (GetParam() == PathChoice::Renderer && media.rendererName() != "opengl") GTEST_SKIP() << "no OpenGL here";
        media.setBlendMode(BlendMode::Alpha);
        media.clearScreen();
    }
    void TearDown() override { unsetenv("SDL_RENDER_DRIVER"); }
    SdlMedia media{GetParam()};
};

}  // namespace

TEST_P(SmoothSamplingTest, AScaledPictureKeepsTheSoftEdgeAroundItsInk) {
    // A clear 16 x 16 picture with a red 4 x 4 block at texels 6..9, scaled 4 times smoothly:
    // the block covers x 124..139, and the pixel beside each edge still picks up some of its
    // red, although the quad is drawn only around the ink.
    Image picture = solidPicture(16, 16, 0, 0, 0);
    picture.flags = ImageFiltered;
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x) {
            uint8_t* texel = &picture.frames[0].rgba[(y * 16 + x) * 4];
            const bool ink = x >= 6 && x < 10 && y >= 6 && y < 10;
            texel[0] = ink ? 255 : 0;
            texel[3] = ink ? 255 : 0;
        }
    media.setDrawColour(0, 60, 0);
    media.drawRect(0, 0, 800, 600);  // a ground the soft edge blends into
    media.setDrawColour(255, 255, 255);
    media.setDrawScale(4, 4);
    media.drawImage(picture, 100, 100, 0);
    const PixelBlock screen = media.readScreen();
    expectNear(pixelAt(screen, 130, 130), {255, 0, 0});
    for (const int x : {123, 140}) {
        const Pixel edge = pixelAt(screen, x, 130);
        EXPECT_GE(edge.r, 16) << "x " << x;
        EXPECT_LE(edge.r, 128) << "x " << x;
    }
    // The clear texels drawn around the ink leave the ground as it was.
    expectNear(pixelAt(screen, 121, 130), {0, 60, 0});
    expectNear(pixelAt(screen, 118, 130), {0, 60, 0});
}

INSTANTIATE_TEST_SUITE_P(SmoothPaths, SmoothSamplingTest, ::testing::Values(PathChoice::Renderer, PathChoice::Composer),
                         [](const auto& info) { return info.param == PathChoice::Renderer ? "OpenGl" : "Composer"; });

TEST(SdlScreens, PicturesMayOutliveTheScreenTheyWereDrawnOn) {
    // What a path made of a picture goes with the path, before its renderer; the picture stays
    // and draws again on the next screen.
    const Image picture = solidPicture(8, 8, 255, 0, 0);
    for (PathChoice choice : {PathChoice::Renderer, PathChoice::Composer, PathChoice::Renderer}) {
        setenv("SDL_VIDEODRIVER", "offscreen", 1);
        SDL_SetHint(SDL_HINT_RENDER_DRIVER, "software");
        SdlMedia media(choice);
        ASSERT_TRUE(media.openScreen(800, 600, 0, 60, 0));
        media.setBlendMode(BlendMode::Alpha);
        media.clearScreen();
        media.drawImage(picture, 0, 0, 0);
        expectNear(pixelAt(media.readScreen(), 4, 4), {255, 0, 0});
        media.presentFrame();
    }
}
