// The CPU compositor against OpenGL on Mesa's llvmpipe, a faithful rasteriser: the same
// scenes, pixel by pixel, within Tolerance per channel over the whole screen. Each scene names
// the compositor's routes it must take, so that its shortcuts are compared, not only its
// general case. The pictures keep their colour smooth where their alpha changes: OpenGL
// filters colour and alpha apart and the compositor premultiplied, which differ only where a
// clear texel's colour is far from its neighbours'.

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>
#include <functional>
#include <optional>
#include <sstream>
#include <string>

#include "media/desktop/sdl_media.h"
#include "media/draw/cpu/cpu_canvas.h"
#include "media/draw/path_choice.h"
#include "media/draw/quad_geometry.h"
#include "media/pictures/picture_file.h"
#include "media/scripted/scripted_media.h"
#include "picture_test_files.h"

namespace {

constexpr int Tolerance = 2;
constexpr int ScreenWidth = 800, ScreenHeight = 600;

enum class AlphaShape {
    Opaque,  // with texel-sized detail, so that a pixel's shift or a blur shows
    Inset,   // clear for three texels round the edge, opaque inside: a tile's hard ink edge
    Radial,  // a glow's smooth fall-off
    Halves,  // alpha 100 on the left half, 200 on the right: what the mask mode snaps
};

Image picture(int width, int height, AlphaShape shape, int flags = ImageFiltered) {
    Image image;
    image.width = width, image.height = height, image.flags = flags;
    PixelBlock block{width, height, {}};
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const float dx = (x + 0.5f) / width - 0.5f, dy = (y + 0.5f) / height - 0.5f;
            const bool inset = x >= 3 && y >= 3 && x < width - 3 && y < height - 3;
            uint8_t alpha = 255;
            if (shape == AlphaShape::Inset) alpha = inset ? 255 : 0;
            if (shape == AlphaShape::Radial)
                alpha = static_cast<uint8_t>(255 * std::max(0.0f, 1.0f - 2.0f * std::sqrt(dx * dx + dy * dy)));
            if (shape == AlphaShape::Halves) alpha = x < width / 2 ? 100 : 200;
            const int detail = shape == AlphaShape::Opaque && (x + y) % 2 ? 50 : 0;
            block.rgba.insert(block.rgba.end(),
                              {static_cast<uint8_t>(60 + 150 * x / width), static_cast<uint8_t>(40 + 160 * y / height),
                               static_cast<uint8_t>(120 + detail), alpha});
        }
    image.frames.push_back(block);
    return image;
}

Image centred(Image image) {
    MediaLayer::centreImageHandle(image);
    return image;
}

struct Pictures {
    Image backdrop = centred(picture(ScreenWidth, ScreenHeight, AlphaShape::Opaque));
    Image button = centred(picture(281, 57, AlphaShape::Opaque));  // the menu buttons' size
    Image tile = centred(picture(56, 56, AlphaShape::Inset));
    Image oddTile = centred(picture(23, 31, AlphaShape::Inset));
    Image light = centred(picture(64, 64, AlphaShape::Radial));
    Image halves = picture(40, 24, AlphaShape::Halves);
    Image unfiltered = centred(picture(32, 32, AlphaShape::Opaque, 0));
};

using Scene = std::function<void(MediaLayer&, const Pictures&)>;

// What every scene starts from: the screen as the game leaves it after loading, and the
// backdrop, opaque and upright.
void drawScene(MediaLayer& media, const Pictures& pictures, const Scene& scene) {
    media.setBlendMode(BlendMode::Alpha);
    media.clearScreen();
    media.drawImage(pictures.backdrop, 400, 300, 0);
    scene(media, pictures);
}

// The scene on SDL's OpenGL renderer, forced onto llvmpipe; none where there is no OpenGL.
std::optional<PixelBlock> drawnByOpenGl(const Scene& scene) {
    setenv("SDL_VIDEODRIVER", "offscreen", 1);
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    setenv("SDL_RENDER_DRIVER", "opengl", 1);
    setenv("LIBGL_ALWAYS_SOFTWARE", "1", 1);
    std::optional<PixelBlock> screen;
    {
        const Pictures pictures;
        SdlMedia media(PathChoice::Renderer);
        if (media.openScreen(ScreenWidth, ScreenHeight, 0, 0, 0) && media.rendererName() == "opengl") {
            drawScene(media, pictures, scene);
            screen = media.readScreen();
        }
    }
    unsetenv("SDL_RENDER_DRIVER");
    unsetenv("LIBGL_ALWAYS_SOFTWARE");
    return screen;
}

// The scene composed by the CPU, and the routes its quads took; at `scale` frame pixels to a
// logical pixel, in `bands` bands.
PixelBlock composed(const Scene& scene, CpuCanvas::Counts& counts, float scale = 1.0f, int bands = 1) {
    const Pictures pictures;
    ScriptedMedia recorder;
    recorder.openScreen(ScreenWidth, ScreenHeight, 0, 60, 0);
    drawScene(recorder, pictures, scene);
    CpuCanvas canvas(static_cast<int>(ScreenWidth * scale), static_cast<int>(ScreenHeight * scale), scale, bands);
    for (const DrawCall& call : recorder.currentDraws) {
        if (call.kind == DrawCall::Kind::Image)
            canvas.drawImage(*call.image, call.x, call.y, call.frame, call.state);
        else
            canvas.drawRect(call.x, call.y, call.width, call.height, call.state);
    }
    counts = canvas.takeCounts();
    return canvas.read();
}

int difference(const PixelBlock& a, const PixelBlock& b, size_t pixel) {
    int most = 0;
    for (int c = 0; c < 3; ++c) most = std::max(most, std::abs(a.rgba[pixel * 4 + c] - b.rgba[pixel * 4 + c]));
    return most;
}

std::string colourAt(const PixelBlock& screen, size_t pixel) {
    std::ostringstream text;
    text << +screen.rgba[pixel * 4] << "," << +screen.rgba[pixel * 4 + 1] << "," << +screen.rgba[pixel * 4 + 2];
    return text.str();
}

// Every pixel within the tolerance; otherwise how many are not, and the first few.
void expectSamePixels(const PixelBlock& reference, const PixelBlock& drawn) {
    ASSERT_EQ(reference.width, drawn.width);
    ASSERT_EQ(reference.height, drawn.height);
    int worst = 0, beyond = 0;
    std::ostringstream first;
    for (size_t i = 0; i < static_cast<size_t>(drawn.width) * drawn.height; ++i) {
        const int d = difference(reference, drawn, i);
        worst = std::max(worst, d);
        if (d <= Tolerance) continue;
        if (++beyond <= 8)
            first << " (" << i % drawn.width << "," << i / drawn.width << ") OpenGL " << colourAt(reference, i)
                  << " composed " << colourAt(drawn, i) << ";";
    }
    EXPECT_EQ(beyond, 0) << "pixels beyond " << Tolerance << " levels, the largest " << worst << ":" << first.str();
}

void expectAsOnOpenGl(const Scene& scene, std::initializer_list<CpuRoute> routes) {
    CpuCanvas::Counts counts;
    const PixelBlock drawn = composed(scene, counts);
    for (const CpuRoute route : routes)
        EXPECT_GT(counts.of(route), 0) << "the scene never takes route " << static_cast<int>(route);
    const std::optional<PixelBlock> reference = drawnByOpenGl(scene);
    if (!reference)
        GTEST_SKIP() << "no OpenGL here to compare with: Mesa's llvmpipe comes with libgl1-mesa-dri and "
                        "libegl-mesa0 (scripts/install-deps)";
    expectSamePixels(*reference, drawn);
}

PixelBlock composedAlone(const Scene& scene) {
    CpuCanvas::Counts counts;
    return composed(scene, counts);
}

std::array<int, 3> colourOf(const PixelBlock& screen, int x, int y) {
    const size_t i = (static_cast<size_t>(y) * screen.width + x) * 4;
    return {screen.rgba[i], screen.rgba[i + 1], screen.rgba[i + 2]};
}

}  // namespace

TEST(CpuCanvas, UprightPicturesAndRectanglesLookAsOnOpenGl) {
    expectAsOnOpenGl(
        [](MediaLayer& media, const Pictures& p) {
            // Cells and their shadows, as the board draws them, at whole and part pixels.
            for (int i = 0; i < 4; ++i) {
                const float x = 100 + 60 * i + 0.25f * i, y = 100 + 0.3f * i;
                media.setDrawColour(0, 0, 0);
                media.setDrawAlpha(0.5f);
                media.drawImage(p.tile, x + 4, y + 4, 0);
                media.setDrawColour(255, 255, 255);
                media.setDrawAlpha(1.0f);
                media.drawImage(p.tile, x, y, 0);
            }
            media.setDrawColour(128, 128, 128);  // the fade half way
            media.drawImage(p.tile, 380, 100, 0);
            media.drawImage(p.light, 530, 100, 0);  // clear corners inside its ink
            media.setDrawColour(255, 255, 255);
            media.setDrawAlpha(0.6f);
            media.drawImage(p.tile, 450, 100, 0);
            media.setDrawAlpha(1.0f);
            // Odd sizes drawn centred: edges on pixel centres, in both directions.
            media.drawImage(p.button, 400, 250, 0);
            media.drawImage(p.button, 400.5f, 330.5f, 0);
            media.drawImage(p.oddTile, 600, 100, 0);
            media.drawImage(p.oddTile, 640.75f, 100.25f, 0);
            media.drawImage(p.oddTile, 680.5f, 100.5f, 0);
            // Cut by the screen's edges, shadows too: the picture starts part way in.
            media.setDrawColour(0, 0, 0);
            media.setDrawAlpha(0.5f);
            media.drawImage(p.tile, 14, 16, 0);
            media.drawImage(p.tile, 794.5f, 598.5f, 0);
            media.setDrawColour(255, 255, 255);
            media.setDrawAlpha(1.0f);
            media.drawImage(p.tile, 10, 12, 0);
            media.drawImage(p.button, 790.5f, 594.5f, 0);
            // Bands and boxes: white, black over a picture, tinted, edges on pixel centres. The
            // renderer places untransformed pictures by the compositor's rule, but leaves
            // rectangles to OpenGL's rasteriser: these witness the rule on ties.
            media.drawRect(20.5f, 420.5f, 100, 30);
            media.setDrawColour(0, 0, 0);
            media.setDrawAlpha(0.5f);
            media.drawRect(300.25f, 240.75f, 200, 20);
            media.setDrawColour(200, 200, 255);
            media.setDrawAlpha(0.6f);
            media.drawRect(0, 550, 800, 50);
            media.setDrawColour(0, 0, 0);  // an opaque picture's shadow: black all over
            media.setDrawAlpha(0.5f);
            media.drawImage(p.button, 600.5f, 480.5f, 0);
        },
        {CpuRoute::Upright, CpuRoute::Copy, CpuRoute::Over, CpuRoute::Faded, CpuRoute::Shadow, CpuRoute::Tinted,
         CpuRoute::RectUpright, CpuRoute::Blackened});
}

TEST(CpuCanvas, AdditiveMaskedSolidAndShadedPicturesLookAsOnOpenGl) {
    expectAsOnOpenGl(
        [](MediaLayer& media, const Pictures& p) {
            media.setBlendMode(BlendMode::Light);
            for (const float x : {100.0f, 140.0f, 120.0f}) media.drawImage(p.light, x, x, 0);  // glows overlapping
            media.setDrawColour(120, 255, 40);
            media.setDrawAlpha(0.7f);
            media.drawImage(p.light, 300, 100, 0);
            media.setBlendMode(BlendMode::Mask);
            media.setDrawAlpha(0.3f);  // the mask mode ignores alpha
            media.drawImage(p.halves, 450.5f, 100, 0);
            media.drawImage(p.halves, 500.5f, 100, 0);
            media.setDrawColour(255, 255, 255);
            media.drawImage(p.halves, 550, 100, 0);
            media.setBlendMode(BlendMode::Solid);
            media.drawImage(p.halves, 450, 200, 0);
            media.setDrawColour(0, 200, 255);
            media.drawImage(p.halves, 520, 200, 0);
            media.setBlendMode(BlendMode::Shade);
            media.drawImage(p.tile, 200, 350, 0);
            media.setDrawColour(255, 255, 255);
            media.drawImage(p.tile, 300, 350, 0);
            media.drawImage(p.button, 500, 450.5f, 0);
        },
        {CpuRoute::Added, CpuRoute::AddedTinted, CpuRoute::Over, CpuRoute::Tinted, CpuRoute::Multiplied,
         CpuRoute::MultipliedTinted});
}

TEST(CpuCanvas, ScaledPicturesEndWhereOpenGlEndsThem) {
    // Edges between pixels, some past a pixel's centre: the mirrored button's left edge at
    // 259.7 leaves column 259 as it was, its top edge at 271.9 row 271, and the unfiltered
    // picture's bottom edge at 473.4 row 473.
    expectAsOnOpenGl(
        [](MediaLayer& media, const Pictures& p) {
            media.setDrawScale(1.3f, 1.3f);
            media.drawImage(p.tile, 200.3f, 120.2f, 0);
            media.setDrawScale(0.7f, 1.6f);
            media.drawImage(p.tile, 320.6f, 130.45f, 0);
            media.setDrawScale(1.2f, 1.2f);
            media.setDrawColour(0, 0, 0);
            media.setDrawAlpha(0.5f);
            media.drawImage(p.tile, 450.35f, 130.15f, 0);  // a grown shadow
            media.setDrawColour(255, 255, 255);
            media.setDrawAlpha(1.0f);
            media.setDrawScale(-1.0f, 1.0f);  // mirrored
            media.drawImage(p.button, 400.2f, 300.4f, 0);
            media.setDrawScale(1.45f, 1.45f);
            media.drawImage(p.unfiltered, 620.37f, 450.21f, 0);
            media.setBlendMode(BlendMode::Light);
            media.setDrawScale(2.5f, 2.5f);
            media.drawImage(p.light, 150.3f, 450.8f, 0);  // a grown sparkle
            media.setDrawAlpha(0.9f);
            media.drawImage(p.light, 330.6f, 450.1f, 0);
            media.setBlendMode(BlendMode::Alpha);
            media.setDrawAlpha(1.0f);
            media.setDrawColour(255, 200, 0);
            media.setDrawScale(1.5f, 1.5f);
            media.drawRect(50.3f, 360.1f, 40.2f, 20.3f);
        },
        {CpuRoute::Resampled, CpuRoute::RectTurned, CpuRoute::Over, CpuRoute::Shadow, CpuRoute::Added,
         CpuRoute::AddedTinted, CpuRoute::Tinted});
}

TEST(CpuCanvas, TurnedPicturesHaveTheHardEdgesOpenGlGivesThem) {
    // Outside the outline the screen stays as it was; inside, the edge texel reaches the edge.
    expectAsOnOpenGl(
        [](MediaLayer& media, const Pictures& p) {
            media.setDrawRotation(30);  // a rotation ghost
            media.setDrawScale(1.5f, 1.5f);
            media.setDrawAlpha(0.5f);
            media.drawImage(p.tile, 150.3f, 150.7f, 0);
            media.setDrawScale(1, 1);
            media.setDrawAlpha(1.0f);
            media.setDrawRotation(17);
            media.drawImage(p.tile, 320.2f, 150.4f, 0);
            media.setDrawRotation(-40);
            media.drawImage(p.button, 400.1f, 380.3f, 0);
            media.setDrawRotation(120);
            media.setDrawColour(0, 0, 0);
            media.setDrawAlpha(0.5f);
            media.drawImage(p.tile, 650.4f, 350.6f, 0);
            media.setDrawRotation(-8);  // an opaque picture's shadow: black all over
            media.drawImage(p.unfiltered, 500.3f, 250.6f, 0);
            media.setDrawColour(90, 200, 255);
            media.drawImage(p.oddTile, 700.3f, 120.6f, 0);
            media.setDrawColour(255, 255, 255);
            media.setDrawAlpha(0.8f);
            media.setDrawRotation(10);
            media.drawRect(480.3f, 480.2f, 120.1f, 40.3f);
            media.setDrawRotation(90);
            media.setDrawAlpha(1.0f);
            media.drawImage(p.unfiltered, 100.3f, 450.6f, 0);
            media.setBlendMode(BlendMode::Light);
            media.setDrawRotation(75);
            media.drawImage(p.light, 560.3f, 150.2f, 0);
            media.setBlendMode(BlendMode::Solid);
            media.setDrawRotation(200);
            media.drawImage(p.halves, 250.6f, 520.3f, 0);
            media.setBlendMode(BlendMode::Shade);
            media.setDrawRotation(-25);
            media.drawImage(p.tile, 350.2f, 520.9f, 0);
        },
        {CpuRoute::Turned, CpuRoute::RectTurned, CpuRoute::Over, CpuRoute::Faded, CpuRoute::Shadow, CpuRoute::Tinted,
         CpuRoute::Added, CpuRoute::Multiplied});
}

TEST(CpuCanvas, QuarterTurnPutsTheTopEdgeOnTheRight) {
    // Blue picture whose top two rows are red, turned clockwise about its centre at (100, 100).
    Image turned = centred(picture(32, 32, AlphaShape::Opaque, 0));
    for (int i = 0; i < 32 * 32; ++i) {
        uint8_t* texel = &turned.frames[0].rgba[i * 4];
        texel[0] = i < 64 ? 255 : 0, texel[1] = 0, texel[2] = i < 64 ? 0 : 255;
    }
    const PixelBlock screen = composedAlone([&](MediaLayer& media, const Pictures&) {
        media.setDrawRotation(90);
        media.drawImage(turned, 100, 100, 0);
    });
    EXPECT_EQ(colourOf(screen, 115, 100)[0], 255);  // the old top edge
    EXPECT_EQ(colourOf(screen, 100, 100)[2], 255);
    EXPECT_EQ(colourOf(screen, 84, 100)[2], 255);
    EXPECT_NE(colourOf(screen, 83, 100)[2], 255);  // outside 84..116: the backdrop
}

// Bands composed on threads of their own make the frame composed whole, at any scale, where
// quads cross from band to band.
TEST(CpuCanvas, BandsComposeTheFrameComposedWhole) {
    const Scene everyRoute = [](MediaLayer& media, const Pictures& p) {
        media.drawImage(p.tile, 100, 100, 0);
        media.drawImage(p.button, 400.5f, 299.5f, 0);
        media.setDrawColour(0, 0, 0);
        media.setDrawAlpha(0.5f);
        media.drawImage(p.tile, 104, 304, 0);
        media.drawRect(300.25f, 240.75f, 200, 120);
        media.setDrawColour(90, 200, 255);
        media.setDrawRotation(30);
        media.drawImage(p.tile, 350.3f, 301.7f, 0);
        media.setDrawRotation(0);
        media.setDrawScale(1.7f, 2.3f);
        media.drawImage(p.oddTile, 600.2f, 290.4f, 0);
        media.setDrawScale(1, 1);
        media.setDrawColour(255, 255, 255);
        media.setDrawAlpha(1.0f);
        media.setBlendMode(BlendMode::Light);
        media.drawImage(p.light, 200.4f, 300.6f, 0);
        media.setBlendMode(BlendMode::Shade);
        media.drawImage(p.tile, 500, 450, 0);
    };
    for (const float scale : {1.0f, 1.8f, 2.0f}) {
        CpuCanvas::Counts counts;
        const PixelBlock whole = composed(everyRoute, counts, scale, 1);
        const PixelBlock banded = composed(everyRoute, counts, scale, 3);
        ASSERT_EQ(whole.width, static_cast<int>(800 * scale));
        ASSERT_EQ(banded.height, whole.height);
        EXPECT_TRUE(banded.rgba == whole.rgba) << "at scale " << scale;
    }
}

// A picture of a larger set drawn on a frame of a smaller whole scale is averaged down, each
// frame pixel the mean of the texels it covers, and copied as it is.
TEST(CpuCanvas, APictureOfALargerSetIsAveragedDownToTheFramesScale) {
    Image fine;
    fine.width = 2, fine.height = 1, fine.pixelScale = 2;
    PixelBlock block{4, 2, {}};
    for (int row = 0; row < 2; ++row)
        for (const uint8_t red : {255, 0, 40, 40})  // red and blue, then an even grey-red
            block.rgba.insert(block.rgba.end(), {red, 0, static_cast<uint8_t>(red == 0 ? 255 : 0), 255});
    fine.frames.push_back(block);
    CpuCanvas canvas(800, 600);
    DrawState draw;
    draw.blend = BlendMode::Alpha;
    canvas.drawImage(fine, 10, 20, 0, draw);
    const PixelBlock screen = canvas.read();
    EXPECT_EQ(canvas.takeCounts().of(CpuRoute::Upright), 1);
    const auto left = colourOf(screen, 10, 20), right = colourOf(screen, 11, 20);
    EXPECT_NEAR(left[0], 128, 1);
    EXPECT_NEAR(left[2], 128, 1);
    EXPECT_EQ(right, (std::array<int, 3>{40, 0, 0}));
    EXPECT_EQ(colourOf(screen, 12, 20), (std::array<int, 3>{0, 0, 0}));
}

TEST(CpuCanvas, MaskModeDrawsOnlyTheSolidHalfOpaque) {
    const PixelBlock screen = composedAlone([](MediaLayer& media, const Pictures& p) {
        media.setBlendMode(BlendMode::Mask);
        media.setDrawColour(0, 0, 0);
        media.setDrawAlpha(0.3f);  // the mask mode ignores alpha
        media.drawImage(p.halves, 0, 0, 0);
    });
    EXPECT_EQ(colourOf(screen, 30, 8), (std::array<int, 3>{0, 0, 0}));  // alpha 200: drawn opaque
    EXPECT_NE(colourOf(screen, 10, 8)[2], 0);                           // alpha 100: the backdrop shows
}

TEST(QuadGeometry, PixelsWhoseCentresLieOnALeftOrBottomEdgeAreInside) {
    // A quad from 10.5 to 15.5 both ways covers columns 10..14 and rows 11..15: the centre on
    // its left edge and the one on its bottom edge are in, those on its right and top are out.
    EXPECT_EQ(firstColumn(10.5f), 10);
    EXPECT_EQ(firstColumn(15.5f), 15);
    EXPECT_EQ(firstRow(10.5f), 11);
    EXPECT_EQ(firstRow(15.5f), 16);
    // Off the ties, the nearest centre inside: an edge at 163.9 leaves pixel 163 out.
    EXPECT_EQ(firstColumn(163.9f), 164);
    EXPECT_EQ(firstColumn(163.4f), 163);
    EXPECT_EQ(firstRow(83.4f), 83);
    EXPECT_EQ(firstRow(83.6f), 84);
    EXPECT_EQ(firstColumn(-0.3f), 0);
    EXPECT_EQ(firstColumn(-0.7f), -1);
    EXPECT_EQ(firstRow(-1.4f), -1);
    EXPECT_EQ(firstRow(-1.6f), -2);
}

TEST(QuadGeometry, ATurnedQuadCoversTheColumnsInsideItsOutlineRowByRow) {
    DrawState draw;
    draw.rotation = 45;
    updateDrawMatrix(draw);
    // A square of side 10 * sqrt(2) turned into a diamond with corners 10 from (100.5, 200).
    const float half = 5.0f * std::sqrt(2.0f);
    const Quad diamond = placeQuad(draw, 100.5f, 200, -half, -half, half, half);
    auto span = [&diamond](int row) {
        const PixelRange range = coveredColumns(diamond, row);
        return std::array<int, 2>{range.first, range.end};
    };
    EXPECT_EQ(span(199), (std::array<int, 2>{91, 110}));  // centre line 199.5: x from 91 to 110
    EXPECT_EQ(span(200), (std::array<int, 2>{91, 110}));
    EXPECT_EQ(span(192), (std::array<int, 2>{98, 103}));   // centre line 192.5: x from 98 to 103
    EXPECT_EQ(span(190), (std::array<int, 2>{100, 101}));  // the corners at 190 and 210: one pixel
    EXPECT_EQ(span(209), (std::array<int, 2>{100, 101}));
    EXPECT_EQ(span(189), (std::array<int, 2>{0, 0}));  // beyond them, nothing
    EXPECT_EQ(span(210), (std::array<int, 2>{0, 0}));
    // Upright, the span is the box.
    const Quad box = placeQuad(DrawState{}, 10.5f, 10.5f, 0, 0, 5, 5);
    EXPECT_EQ(coveredColumns(box, 12).first, 10);
    EXPECT_EQ(coveredColumns(box, 12).end, 15);
    EXPECT_EQ(coveredColumns(box, 15).end, 15);                             // the centre 15.5 on the bottom edge: in
    EXPECT_EQ(coveredColumns(box, 10).end, coveredColumns(box, 10).first);  // 10.5 on the top: out
    const PixelBox whole = pixelBox(box, 800, 600);
    EXPECT_EQ((std::array<int, 4>{whole.x0, whole.y0, whole.x1, whole.y1}), (std::array<int, 4>{10, 11, 15, 16}));
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

// The frame left from before never shows through: a clear is only skipped under an opaque
// picture copied over every pixel.
TEST(CpuCanvas, TheLastFrameNeverShowsThroughAClear) {
    const Pictures p;
    CpuCanvas canvas(800, 600, 1.0f, 2);
    DrawState plain;
    plain.blend = BlendMode::Alpha;
    const auto frameAfterWhite = [&](const std::function<void()>& drawOverClear) {
        canvas.drawRect(0, 0, 800, 600, plain);
        canvas.read();
        canvas.clear();
        drawOverClear();
        return canvas.read();
    };
    PixelBlock screen = frameAfterWhite([] {});
    EXPECT_EQ(colourOf(screen, 5, 5), (std::array<int, 3>{0, 0, 0})) << "with nothing drawn";

    screen = frameAfterWhite([&] { canvas.drawImage(p.button, 400, 300, 0, plain); });
    EXPECT_EQ(colourOf(screen, 5, 5), (std::array<int, 3>{0, 0, 0})) << "beside a smaller picture";

    screen = frameAfterWhite([&] { canvas.drawImage(p.backdrop, 401, 300, 0, plain); });
    EXPECT_EQ(colourOf(screen, 0, 300), (std::array<int, 3>{0, 0, 0})) << "beside a backdrop a pixel off";
    const PixelBlock backdropAlone = composedAlone([](MediaLayer&, const Pictures&) {});
    EXPECT_EQ(colourOf(screen, 1, 300), colourOf(backdropAlone, 0, 300));

    DrawState faded = plain;
    faded.alpha = 0.5f;
    screen = frameAfterWhite([&] { canvas.drawImage(p.backdrop, 400, 300, 0, faded); });
    const auto backdrop = colourOf(backdropAlone, 10, 300);
    for (int c = 0; c < 3; ++c)
        EXPECT_NEAR(colourOf(screen, 10, 300)[c], backdrop[c] / 2, 1) << "under a faded backdrop";

    screen = frameAfterWhite([&] { canvas.drawImage(p.backdrop, 400, 300, 0, plain); });
    EXPECT_EQ(colourOf(screen, 10, 300), backdrop) << "under the backdrop itself";
}

// A large picture is resampled to the frame's scale a strip of rows at a time: the strips
// meet without a seam, every pixel as when the whole picture is resampled in one go.
TEST(CpuCanvas, APictureResampledStripByStripEqualsItResampledWhole) {
    Image fine;
    fine.width = 100, fine.height = 150, fine.pixelScale = 3, fine.flags = ImageFiltered;
    PixelBlock block{300, 450, {}};
    for (int y = 0; y < block.height; ++y)
        for (int x = 0; x < block.width; ++x)
            block.rgba.insert(block.rgba.end(), {static_cast<uint8_t>(y * 7 % 256), static_cast<uint8_t>(x * 3 % 256),
                                                 static_cast<uint8_t>((x * y) % 251), 255});
    fine.frames.push_back(block);
    for (const float scale : {1.8f, 3.6f}) {  // averaged down, and smoothed up
        const int width = static_cast<int>(std::lround(100 * scale)),
                  height = static_cast<int>(std::lround(150 * scale));
        // The whole picture through pixman at once, as the reference.
        std::vector<uint32_t> source(static_cast<size_t>(300) * 450), whole(static_cast<size_t>(width) * height);
        for (size_t i = 0; i < source.size(); ++i)
            source[i] = 0xFF000000u | block.rgba[i * 4] << 16 | block.rgba[i * 4 + 1] << 8 | block.rgba[i * 4 + 2];
        pixman_image_t* from = pixman_image_create_bits(PIXMAN_a8r8g8b8, 300, 450, source.data(), 300 * 4);
        pixman_image_t* to = pixman_image_create_bits(PIXMAN_a8r8g8b8, width, height, whole.data(), width * 4);
        const double ratioX = 300.0 / width, ratioY = 450.0 / height;
        pixman_f_transform scaling{};
        scaling.m[0][0] = ratioX, scaling.m[1][1] = ratioY, scaling.m[2][2] = 1;
        pixman_transform fixed;
        pixman_transform_from_pixman_f_transform(&fixed, &scaling);
        pixman_image_set_transform(from, &fixed);
        pixman_image_set_repeat(from, PIXMAN_REPEAT_PAD);
        int count = 0;
        pixman_fixed_t* filter = nullptr;
        if (ratioX > 1) {
            filter = pixman_filter_create_separable_convolution(
                &count, pixman_double_to_fixed(ratioX), pixman_double_to_fixed(ratioY), PIXMAN_KERNEL_IMPULSE,
                PIXMAN_KERNEL_IMPULSE, PIXMAN_KERNEL_BOX, PIXMAN_KERNEL_BOX, 4, 4);
            pixman_image_set_filter(from, PIXMAN_FILTER_SEPARABLE_CONVOLUTION, filter, count);
        } else {
            pixman_image_set_filter(from, PIXMAN_FILTER_BILINEAR, nullptr, 0);
        }
        pixman_image_composite32(PIXMAN_OP_SRC, from, nullptr, to, 0, 0, 0, 0, 0, 0, width, height);
        free(filter);
        pixman_image_unref(from);
        pixman_image_unref(to);

        CpuCanvas canvas(width, height, scale);
        DrawState draw;
        draw.blend = BlendMode::Alpha;
        canvas.drawImage(fine, 0, 0, 0, draw);
        const PixelBlock screen = canvas.read();
        int differing = 0;
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x) {
                const uint32_t expected = whole[static_cast<size_t>(y) * width + x];
                const auto drawn = colourOf(screen, x, y);
                differing += drawn != std::array<int, 3>{static_cast<int>(expected >> 16 & 255),
                                                         static_cast<int>(expected >> 8 & 255),
                                                         static_cast<int>(expected & 255)};
            }
        EXPECT_EQ(differing, 0) << "pixels unlike the whole picture's at scale " << scale;
    }
}

// A frame that is only cleared marks a change of screen: the pictures prepared so far are let
// go, and each is prepared again when next drawn; any other frame keeps them.
TEST(CpuCanvas, PicturesArePreparedAgainOnlyAfterAFrameThatIsOnlyCleared) {
    const Pictures p;
    CpuCanvas canvas(800, 600, 1.0f, 2);
    DrawState plain;
    plain.blend = BlendMode::Alpha;
    const auto preparedIn = [&](bool drawAfterClear) {
        canvas.clear();
        if (drawAfterClear) canvas.drawImage(p.tile, 100, 100, 0, plain);
        return canvas.takeCounts().picturesPrepared;
    };
    EXPECT_EQ(preparedIn(true), 1) << "the first draw";
    EXPECT_EQ(preparedIn(true), 0) << "kept from frame to frame";
    EXPECT_EQ(preparedIn(false), 0) << "a blank frame draws nothing";
    EXPECT_EQ(preparedIn(true), 1) << "let go at the blank frame";
    const PixelBlock again = canvas.read();
    EXPECT_EQ(colourOf(again, 100, 100), colourOf(composedAlone([](MediaLayer& media, const Pictures& pictures) {
                                                      media.drawImage(pictures.tile, 100, 100, 0);
                                                  }),
                                                  100, 100))
        << "and drawn as before";
}

// At 3840 x 2160 a strip of 120 tiles is 20 MB once prepared, and a level's background 25 MB:
// only the frames drawn are prepared, and a picture replaced lets go of the old one's frames
// as soon as the new one is made.
TEST(CpuCanvas, OnlyFramesDrawnAreHeldAndAReplacedPictureIsLetGo) {
    CpuCanvas canvas(800, 600, 1.0f, 2);
    DrawState plain;
    plain.blend = BlendMode::Alpha;
    DrawState shadow = plain;
    shadow.colour = Colour{0, 0, 0};
    Image strip = picture(16, 16, AlphaShape::Inset);
    strip.frames.resize(6, strip.frames[0]);
    constexpr size_t Frame = 16 * 16 * 4, ShadowFrame = 16 * 16;  // a shadow keeps a byte a pixel
    const auto heldAfter = [&](const std::function<void()>& draws) {
        draws();
        canvas.takeCounts();
        return canvas.pictureBytesHeld();
    };
    EXPECT_EQ(heldAfter([&] { canvas.drawImage(strip, 10, 10, 4, plain); }), Frame) << "one frame of six";
    EXPECT_EQ(heldAfter([&] { canvas.drawImage(strip, 30, 10, 4, plain); }), Frame) << "kept, not made again";
    EXPECT_EQ(heldAfter([&] {
                  canvas.drawImage(strip, 10, 10, 0, plain);
                  canvas.drawImage(strip, 10, 10, 4, shadow);
              }),
              2 * Frame + ShadowFrame)
        << "another frame, and the same frame as a shadow";

    const size_t stripBytes = canvas.pictureBytesHeld();
    auto background = std::make_unique<Image>(picture(64, 48, AlphaShape::Opaque));
    EXPECT_EQ(heldAfter([&] { canvas.drawImage(*background, 400, 300, 0, plain); }), stripBytes + 64 * 48 * 4);
    background = std::make_unique<Image>(picture(64, 48, AlphaShape::Opaque));  // the next level's
    canvas.drawImage(*background, 400, 300, 0, plain);
    EXPECT_EQ(canvas.pictureBytesHeld(), stripBytes + 64 * 48 * 4) << "the old background's frames are let go";
    canvas.takeCounts();
}

// A large picture kept as its file (a background of the larger sets) is decoded by each path
// when it makes its own form of it, and drawn as the same picture with its pixels: upright,
// faded, as a shadow and enlarged, composed by the CPU and on OpenGL.
TEST(CpuCanvas, APictureKeptAsItsFileIsDrawnAsItsPixelsAre) {
    const Image withPixels = picture(120, 90, AlphaShape::Radial);
    const PixelBlock& frame = withPixels.frames[0];
    std::vector<Bytes> rows;
    for (int y = 0; y < frame.height; ++y)
        rows.emplace_back(frame.rgba.begin() + y * frame.width * 4, frame.rgba.begin() + (y + 1) * frame.width * 4);
    Image kept = withPixels;
    kept.frames.clear();
    kept.file = std::make_shared<const KeptPictureFile>(
        KeptPictureFile{pngFile(pngSpec(frame.width, frame.height, PNG_COLOR_TYPE_RGB_ALPHA, 8, rows)), false});
    const auto scene = [](const Image& shown) {
        return Scene([&shown](MediaLayer& media, const Pictures&) {
            media.drawImage(shown, 200, 150, 0);
            media.setDrawAlpha(0.5f);
            media.drawImage(shown, 400.5f, 150, 0);
            media.setDrawColour(0, 0, 0);
            media.drawImage(shown, 200, 400, 0);
            media.setDrawColour(255, 255, 255);
            media.setDrawAlpha(1.0f);
            media.setDrawScale(1.5f, 1.5f);
            media.drawImage(shown, 500, 400, 0);
        });
    };
    const PixelBlock composedKept = composedAlone(scene(kept));
    EXPECT_EQ(composedKept.rgba, composedAlone(scene(withPixels)).rgba);
    EXPECT_NE(colourOf(composedKept, 260, 195), colourOf(composedAlone([](MediaLayer&, const Pictures&) {}), 260, 195))
        << "drawn at all";
    const std::optional<PixelBlock> onOpenGl = drawnByOpenGl(scene(kept));
    if (!onOpenGl) GTEST_SKIP() << "no OpenGL here to compare with";
    EXPECT_EQ(onOpenGl->rgba, drawnByOpenGl(scene(withPixels))->rgba);
}
