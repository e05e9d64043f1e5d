// The generated pictures: every file the game loads decodes with the game's own
// decoders at the sizes the game cuts it into, and the artwork keeps the promises
// that drawing relies on (cable ends on the right sides, fonts inside their advances).

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string>

#include "pictures/artwork.h"
#include "board/board.h"
#include "common/picture_canvas.h"
#include "common/picture_writers.h"
#include "media/picture_decoders.h"
#include "pictures/picture_files.h"
#include "support/test_support.h"

namespace {

// One generated folder shared by the tests of this file; generation takes a moment.
class GeneratedPictures : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        folder = new ScratchFolder("pictures");
        writeAllPictures(folder->path());
    }
    static void TearDownTestSuite() {
        delete folder;
        folder = nullptr;
    }
    static DecodedPicture load(const std::string& name) {
        const auto bytes = readBytes(folder->file(name));
        auto picture = decodePicture(bytes);
        if (!picture) ADD_FAILURE() << name << " does not decode";
        return picture.value_or(DecodedPicture{});
    }
    static ScratchFolder* folder;
};

ScratchFolder* GeneratedPictures::folder = nullptr;

struct StripSize {
    const char* name;
    int cellWidth, cellHeight, frames;
};

constexpr StripSize Strips[] = {
    {"gfx/pointer.spr", 23, 32, 2},       {"gfx/lights.spr", 64, 64, 2},
    {"gfx/buttons.spr", 32, 32, 8},       {"gfx/hint.spr", 13, 16, 3},
    {"gfx/complete.spr", 56, 56, 120},    {"gfx/bigfont.spr", 46, 64, 11},
    {"gfx/tahomafont.spr", 13, 13, 90},   {"gfx/crest.spr", 32, 32, 34},
    {"gfx/01.spr", 64, 64, 2},            {"gfx/menubuttons.spr", 281, 57, 7},
    {"gfx/menubuttonsglow.spr", 281, 57, 7},
};

const uint8_t* pixel(const PixelBlock& block, int x, int y) {
    return &block.rgba[(static_cast<size_t>(y) * block.width + x) * 4];
}

std::vector<PixelBlock> cells(const DecodedPicture& picture, int width, int height, int count) {
    auto cut = cutStrip(picture.pixels, width, height, 0, count);
    return cut.value_or(std::vector<PixelBlock>(static_cast<size_t>(count), PixelBlock{width, height, std::vector<uint8_t>(static_cast<size_t>(width) * height * 4)}));
}

// Columns holding any ink: first and one past the last; {0, 0} when empty.
std::pair<int, int> inkColumns(const PixelBlock& cell) {
    int first = cell.width, last = -1;
    for (int y = 0; y < cell.height; ++y)
        for (int x = 0; x < cell.width; ++x)
            if (pixel(cell, x, y)[3] > 0) first = std::min(first, x), last = std::max(last, x);
    return last < 0 ? std::pair{0, 0} : std::pair{first, last + 1};
}

}  // namespace

TEST_F(GeneratedPictures, EveryStripCutsIntoItsFrames) {
    for (const StripSize& strip : Strips) {
        const DecodedPicture picture = load(strip.name);
        EXPECT_TRUE(picture.hasAlpha) << strip.name;
        EXPECT_TRUE(cutStrip(picture.pixels, strip.cellWidth, strip.cellHeight, 0, strip.frames).has_value())
            << strip.name << " is " << picture.pixels.width << " x " << picture.pixels.height;
    }
}

TEST_F(GeneratedPictures, BackgroundsFillTheScreenWithoutMaskedHoles) {
    for (const char* name : {"gfx/back/b1.vvx", "gfx/back/b2.vvx", "gfx/back/b3.vvx", "gfx/back/b4.vvx",
                             "gfx/back/b5.vvx", "gfx/back/b6.vvx", "gfx/back/menuback.vvx"}) {
        const DecodedPicture picture = load(name);
        EXPECT_EQ(picture.pixels.width, 800) << name;
        EXPECT_EQ(picture.pixels.height, 600) << name;
        EXPECT_FALSE(picture.hasAlpha) << name;
        // The loader makes pure black transparent in pictures without alpha.
        int black = 0;
        for (size_t i = 0; i + 3 < picture.pixels.rgba.size(); i += 4)
            black += picture.pixels.rgba[i] == 0 && picture.pixels.rgba[i + 1] == 0 && picture.pixels.rgba[i + 2] == 0;
        EXPECT_EQ(black, 0) << name;
    }
}

TEST_F(GeneratedPictures, SinglePicturesFitWhereTheyAreDrawn) {
    const DecodedPicture panel = load("gfx/panel.spr");
    EXPECT_EQ(panel.pixels.width, 800);
    EXPECT_EQ(panel.pixels.height, 16);
    const DecodedPicture studio = load("gfx/logo_Pelmar.png");
    EXPECT_LE(440 + studio.pixels.height, 550) << "publisher logo reaches into the bottom band";
    const DecodedPicture icon = load("gfx/icon.spr");
    EXPECT_LE(536 + icon.pixels.height, 584) << "icon overlaps the panel";
    EXPECT_GT(load("gfx/logocw.spr").pixels.width, 0);
    EXPECT_GT(load("gfx/sphere.spr").pixels.width, 0);
}

TEST_F(GeneratedPictures, BoardCanvasesFrameTheirBoards) {
    const int boards[4][2] = {{192, 240}, {288, 336}, {480, 432}, {672, 528}};
    for (int sizeClass = 0; sizeClass < 4; ++sizeClass) {
        const DecodedPicture canvas = load("gfx/back/canvas" + std::to_string(sizeClass) + ".spr");
        EXPECT_GE(canvas.pixels.width, boards[sizeClass][0] + 16) << sizeClass;
        EXPECT_GE(canvas.pixels.height, boards[sizeClass][1] + 16) << sizeClass;
        EXPECT_LE(canvas.pixels.height, 584) << sizeClass << " would cover the panel";
    }
    // canvas2 also backs the help text, which runs from x 180 to about 620.
    EXPECT_GE(load("gfx/back/canvas2.spr").pixels.width, 500);
}

TEST_F(GeneratedPictures, AllFourFileFormatsAreUsed) {
    std::map<std::string, int> formats;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(folder->path())) {
        if (!entry.is_regular_file()) continue;
        const auto bytes = readBytes(entry.path().string());
        if (decodePng(bytes)) formats["png"]++;
        else if (decodeJpeg(bytes)) formats["jpeg"]++;
        else if (decodeBmp(bytes)) formats["bmp"]++;
        else if (decodeTga(bytes)) formats["tga"]++;
    }
    EXPECT_GT(formats["png"], 0);
    EXPECT_GT(formats["jpeg"], 0);
    EXPECT_GT(formats["bmp"], 0);
    EXPECT_GT(formats["tga"], 0);
}

// A cable must reach the cell edge (4 pixels in from the tile edge) and the tile edge
// on exactly the sides the board connects, or neighbouring pieces would not meet.
TEST_F(GeneratedPictures, CablePiecesOpenOnTheSidesTheBoardConnects) {
    const auto tiles = cells(load("gfx/complete.spr"), TileSize, TileSize, TileFrames);
    const ConnectorTable table = buildConnectorTable();
    const int edgePoints[4][2][2] = {{{28, 0}, {28, 4}}, {{55, 28}, {51, 28}}, {{28, 55}, {28, 51}}, {{0, 28}, {4, 28}}};
    for (int kind = 0; kind < CableTileCount; ++kind)
        for (int side = 0; side < 4; ++side)
            for (const auto& point : edgePoints[side]) {
                const bool inked = pixel(tiles[static_cast<size_t>(cableTile(kind))], point[0], point[1])[3] > 200;
                EXPECT_EQ(inked, table.open[static_cast<size_t>(kind)][static_cast<size_t>(side)] == 1)
                    << "kind " << kind << " side " << side;
            }
}

// Devices stand over their cell's cable end, so they must leave the cell edges clear.
TEST_F(GeneratedPictures, DevicesLeaveTheirCableEndVisible) {
    const auto tiles = cells(load("gfx/complete.spr"), TileSize, TileSize, TileFrames);
    const int edge[4][2] = {{28, 5}, {50, 28}, {28, 50}, {5, 28}};
    auto clearAt = [&](int frame, int side) { return pixel(tiles[static_cast<size_t>(frame)], edge[side][0], edge[side][1])[3] == 0; };
    for (int frame = NotConnectedComputerFrame; frame <= InfectedComputerFrame; ++frame)
        for (int side = 0; side < 4; ++side) EXPECT_TRUE(clearAt(frame, side)) << "computer " << frame << " side " << side;
    for (int frame : {FaxModemTile, FaxModemLitTile})
        for (int side = 0; side < 4; ++side) EXPECT_TRUE(clearAt(frame, side)) << "FaxModem side " << side;
    for (int side : {North, East, West}) EXPECT_TRUE(clearAt(ServerTopTile, side)) << "Server top side " << side;
    for (int side : {East, South, West}) EXPECT_TRUE(clearAt(ServerBottomTile, side)) << "Server bottom side " << side;
}

// The two Server halves overlap by 8 pixels on screen; both must show the same pixels there.
TEST_F(GeneratedPictures, ServerHalvesJoinWithoutSeam) {
    const auto tiles = cells(load("gfx/complete.spr"), TileSize, TileSize, TileFrames);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < TileSize; ++x)
            for (int c = 0; c < 4; ++c)
                ASSERT_EQ(pixel(tiles[ServerTopTile], x, y + 48)[c], pixel(tiles[ServerBottomTile], x, y)[c]) << x << "," << y;
}

TEST_F(GeneratedPictures, SmallGlyphsStayInsideTheirAdvance) {
    const auto glyphs = cells(load("gfx/tahomafont.spr"), SmallGlyphSize, SmallGlyphSize, 90);
    for (int index = 0; index < 90; ++index) {
        const auto [first, end] = inkColumns(glyphs[static_cast<size_t>(index)]);
        const int advance = SmallGlyphWidths[static_cast<size_t>(index)] - 1;
        EXPECT_LT(first, end) << "no ink for character " << char(index + FirstSmallGlyph);
        EXPECT_LE(end, advance) << "character " << char(index + FirstSmallGlyph) << " overlaps the next";
    }
}

// The glyph-width table the font is drawn for must be the one the game spaces text by.
TEST(SmallFontTable, MatchesTheGamesSpacingForSampleCharacters) {
    const std::map<char, int> samples = {{'!', 2}, {'%', 14}, {'0', 8}, {'@', 12}, {'M', 10},
                                         {'W', 14}, {'i', 3}, {'m', 11}, {'z', 8}, {'\\', 7}};
    for (const auto& [character, width] : samples)
        EXPECT_EQ(SmallGlyphWidths[static_cast<size_t>(character - FirstSmallGlyph)], width) << character;
}

TEST_F(GeneratedPictures, TimerDigitsFitTheirFixedAdvance) {
    const auto digits = cells(load("gfx/bigfont.spr"), 46, 64, 11);
    for (int index = 0; index < 11; ++index) {
        const auto [first, end] = inkColumns(digits[static_cast<size_t>(index)]);
        EXPECT_LE(end, 27) << "digit " << index;
        if (index != 1 && index != 10) {
            EXPECT_GE(end - first, 20) << "digit " << index << " too narrow";
        }
    }
}

TEST_F(GeneratedPictures, GenerationGivesTheSameBytesEveryRun) {
    ScratchFolder again("pictures-again");
    writeAllPictures(again.path());
    int files = 0;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(folder->path())) {
        if (!entry.is_regular_file()) continue;
        const auto relative = std::filesystem::relative(entry.path(), folder->path());
        EXPECT_EQ(readBytes(entry.path().string()), readBytes((again.path() / relative).string())) << relative;
        ++files;
    }
    EXPECT_EQ(files, 27);
}

namespace {

// A small picture with odd width (so BMP rows need padding) and every kind of pixel.
PixelBlock samplePixels() {
    PixelBlock block{5, 3, {}};
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 5; ++x)
            block.rgba.insert(block.rgba.end(), {static_cast<uint8_t>(40 * x + 10), static_cast<uint8_t>(70 * y + 5),
                                                 static_cast<uint8_t>(x * y * 20 + 1), static_cast<uint8_t>(255 - 50 * x)});
    return block;
}

PixelBlock opaque(PixelBlock block) {
    for (size_t i = 3; i < block.rgba.size(); i += 4) block.rgba[i] = 255;
    return block;
}

}  // namespace

TEST(PictureWriters, LosslessFormatsRoundTripThroughTheGameDecoders) {
    const PixelBlock sample = samplePixels();
    const auto tga = decodeTga(encodeTga32(sample));
    ASSERT_TRUE(tga);
    EXPECT_TRUE(tga->hasAlpha);
    EXPECT_EQ(tga->pixels.rgba, sample.rgba) << "rows must be stored bottom-up, BGRA";
    const auto png = decodePng(encodePng(sample, true));
    ASSERT_TRUE(png);
    EXPECT_EQ(png->pixels.rgba, sample.rgba);
    const auto rgb = decodePng(encodePng(sample, false));
    ASSERT_TRUE(rgb);
    EXPECT_FALSE(rgb->hasAlpha);
    EXPECT_EQ(rgb->pixels.rgba, opaque(sample).rgba);
    const auto bmp = decodeBmp(encodeBmp24(sample));
    ASSERT_TRUE(bmp);
    EXPECT_FALSE(bmp->hasAlpha);
    EXPECT_EQ(bmp->pixels.rgba, opaque(sample).rgba) << "rows padded to 4 bytes, bottom-up";
}

TEST(PictureWriters, JpegKeepsAFlatColourClose) {
    PixelBlock flat{16, 16, {}};
    for (int i = 0; i < 256; ++i) flat.rgba.insert(flat.rgba.end(), {30, 90, 150, 255});
    const auto jpeg = decodeJpeg(encodeJpeg(flat, 92));
    ASSERT_TRUE(jpeg);
    for (size_t i = 0; i < jpeg->pixels.rgba.size(); ++i) EXPECT_NEAR(jpeg->pixels.rgba[i], flat.rgba[i], 3) << i;
}

TEST(PictureCanvas, PixelsComeOutUnpremultiplied) {
    Canvas canvas(2, 1);
    cairo_rectangle(canvas.cr(), 0, 0, 1, 1);
    setColour(canvas.cr(), 200, 100, 50, 0.5);
    cairo_fill(canvas.cr());
    const PixelBlock pixels = canvas.pixels();
    EXPECT_NEAR(pixels.rgba[0], 200, 2);
    EXPECT_NEAR(pixels.rgba[1], 100, 2);
    EXPECT_NEAR(pixels.rgba[2], 50, 2);
    EXPECT_NEAR(pixels.rgba[3], 128, 1);
    EXPECT_EQ(pixels.rgba[7], 0) << "untouched pixels stay transparent";
}

TEST(PictureCanvas, OpaquePicturesLoseOnlyTheirPureBlack) {
    PixelBlock block{3, 1, {0, 0, 0, 255, 0, 0, 2, 255, 9, 9, 9, 0}};
    makeOpaqueWithoutBlack(block);
    EXPECT_EQ(block.rgba, (std::vector<uint8_t>{1, 1, 1, 255, 0, 0, 2, 255, 9, 9, 9, 255}));
}

TEST(PictureCanvas, BlurSpreadsLightButKeepsItsTotal) {
    Canvas canvas(21, 21);
    cairo_rectangle(canvas.cr(), 10, 10, 1, 1);
    setColour(canvas.cr(), 255, 255, 255);
    cairo_fill(canvas.cr());
    blurCanvas(canvas, 2);
    const PixelBlock pixels = canvas.pixels();
    int total = 0;
    for (size_t i = 3; i < pixels.rgba.size(); i += 4) total += pixels.rgba[i];
    EXPECT_GT(pixel(pixels, 12, 10)[3], 0) << "light reaches the neighbours";
    EXPECT_LT(pixel(pixels, 10, 10)[3], 255);
    EXPECT_NEAR(total, 255, 60) << "rounding keeps a glow as bright as its source";
}
