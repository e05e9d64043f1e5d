// The generated pictures: every file the game loads decodes with the game's own
// decoders at the sizes the game cuts it into, and the artwork keeps the promises
// that drawing relies on (cable ends on the right sides, fonts inside their advances).

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <string>

#include "board/board.h"
#include "common/picture_canvas.h"
#include "common/picture_writers.h"
#include "kept_digest.h"
#include "media/pictures/picture_decoders.h"
#include "pictures/artwork.h"
#include "pictures/picture_files.h"
#include "strip_sizes.h"
#include "support/test_support.h"

namespace {

// One generated folder of the scale-1 set, shared by the tests of this file; generation takes
// a moment. The larger sets are checked against it in picture_sets_test.
class GeneratedPictures : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        folder = new ScratchFolder("pictures");
        writePictureSet(folder->path(), 1);
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

const uint8_t* pixel(const PixelBlock& block, int x, int y) {
    return &block.rgba[(static_cast<size_t>(y) * block.width + x) * 4];
}

std::vector<PixelBlock> cells(const DecodedPicture& picture, int width, int height, int count) {
    auto cut = cutStrip(picture.pixels, width, height, 0, count);
    return cut.value_or(std::vector<PixelBlock>(
        static_cast<size_t>(count),
        PixelBlock{width, height, std::vector<uint8_t>(static_cast<size_t>(width) * height * 4)}));
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
        // Tiles reach 4 pixels past the board on every side.
        EXPECT_GE(canvas.pixels.width, boards[sizeClass][0] + 8) << sizeClass;
        EXPECT_GE(canvas.pixels.height, boards[sizeClass][1] + 8) << sizeClass;
        EXPECT_LE(canvas.pixels.height, 584) << sizeClass << " would cover the panel";
    }
}

// canvas2 is also the help panel: drawn centred at (400, 300) at alpha 0.8 under the help
// text (x 180..620, y 100 to the next-page button's foot at 498), it must end above the
// welcome line at y 520 and be an opaque, dark, even plate.
TEST_F(GeneratedPictures, HelpPlateIsCalmAndEndsAboveTheWelcomeLine) {
    const PixelBlock plate = load("gfx/back/canvas2.spr").pixels;
    EXPECT_LE(300 + plate.height / 2, 520);
    EXPECT_LE(300 - plate.height / 2, 95);
    EXPECT_LE(400 - plate.width / 2, 170);
    EXPECT_GE(400 + plate.width / 2, 630);
    const int left = 400 - plate.width / 2, top = 300 - plate.height / 2;
    int brightest = 0, darkest = 255, steepest = 0;
    for (int y = 100; y < 498; ++y)
        for (int x = 180; x < 620; ++x) {
            const uint8_t* p = pixel(plate, x - left, y - top);
            ASSERT_EQ(p[3], 255) << "the menu shows through at " << x << "," << y;
            const int luma = (p[0] * 3 + p[1] * 6 + p[2]) / 10;
            brightest = std::max(brightest, luma), darkest = std::min(darkest, luma);
            const uint8_t* right = pixel(plate, x + 1 - left, y - top);
            steepest = std::max(steepest, std::abs(luma - (right[0] * 3 + right[1] * 6 + right[2]) / 10));
        }
    EXPECT_LE(brightest, 50) << "too light for white text";
    EXPECT_LE(brightest - darkest, 20) << "uneven plate";
    EXPECT_LE(steepest, 2) << "lines or patterns behind the text";
}

TEST_F(GeneratedPictures, AllFourFileFormatsAreUsed) {
    std::map<std::string, int> formats;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(folder->path())) {
        if (!entry.is_regular_file()) continue;
        const auto bytes = readBytes(entry.path().string());
        if (decodePng(bytes))
            formats["png"]++;
        else if (decodeJpeg(bytes))
            formats["jpeg"]++;
        else if (decodeBmp(bytes))
            formats["bmp"]++;
        else if (decodeTga(bytes))
            formats["tga"]++;
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
    const int edgePoints[4][2][2] = {
        {{28, 0}, {28, 4}}, {{55, 28}, {51, 28}}, {{28, 55}, {28, 51}}, {{0, 28}, {4, 28}}};
    for (int kind = 0; kind < CableTileCount; ++kind)
        for (int side = 0; side < 4; ++side)
            for (const auto& point : edgePoints[side]) {
                const bool inked = pixel(tiles[static_cast<size_t>(cableTile(kind))], point[0], point[1])[3] > 200;
                EXPECT_EQ(inked, table.open[static_cast<size_t>(kind)][static_cast<size_t>(side)] == 1)
                    << "kind " << kind << " side " << side;
            }
}

namespace {

constexpr int CellInset = 4;  // a 56-pixel tile reaches 4 pixels past its 48-pixel cell
constexpr int Centre = TileSize / 2;
// Every device body stays inside this square of its tile (Server halves: across, and on their outer end).
constexpr int BodyFirst = 15, BodyEnd = 41;

const int EndTiles[4] = {cableTile(EndN), cableTile(EndE), cableTile(EndS), cableTile(EndW)};
const int StepX[4] = {0, 1, 0, -1}, StepY[4] = {-1, 0, 1, 0};

struct DeviceFrame {
    int frame;
    std::vector<int> outputSides;
};

// A sample of every device picture with the sides its output can take on the board.
std::vector<DeviceFrame> deviceFrames() {
    std::vector<DeviceFrame> frames;
    for (int frame = NotConnectedComputerFrame; frame <= InfectedComputerFrame; ++frame)
        frames.push_back({frame, {North, East, South, West}});
    frames.push_back({ServerTopTile, {North, East, West}});
    frames.push_back({ServerBottomTile, {East, South, West}});
    frames.push_back({FaxModemTile, {North, East, South, West}});
    frames.push_back({FaxModemLitTile, {North, East, South, West}});
    return frames;
}

// Straight-alpha "over", as the game draws the device picture over its cell's tile.
PixelBlock drawnOver(const PixelBlock& under, const PixelBlock& over) {
    PixelBlock out = under;
    for (size_t i = 0; i + 3 < out.rgba.size(); i += 4) {
        const double top = over.rgba[i + 3] / 255.0, bottom = under.rgba[i + 3] / 255.0;
        const double alpha = top + bottom * (1 - top);
        for (int c = 0; c < 3; ++c)
            out.rgba[i + c] =
                alpha == 0 ? 0
                           : static_cast<uint8_t>(
                                 (over.rgba[i + c] * top + under.rgba[i + c] * bottom * (1 - top)) / alpha + 0.5);
        out.rgba[i + 3] = static_cast<uint8_t>(alpha * 255 + 0.5);
    }
    return out;
}

// Pixels of cable the player sees along the output's axis, counted from the cell edge inward
// until the device picture begins.
int visibleOutputLength(const PixelBlock& endTile, const PixelBlock& device, int side) {
    int length = 0;
    int x = StepX[side] == 0 ? Centre : (StepX[side] > 0 ? TileSize - 1 - CellInset : CellInset);
    int y = StepY[side] == 0 ? Centre : (StepY[side] > 0 ? TileSize - 1 - CellInset : CellInset);
    while (pixel(device, x, y)[3] == 0 && pixel(endTile, x, y)[3] > 200) {
        ++length;
        x -= StepX[side];
        y -= StepY[side];
    }
    return length;
}

// Width of the ink across the output's axis at `distance` pixels from the tile centre.
int inkAcross(const PixelBlock& tile, int side, int distance) {
    int width = 0;
    for (int offset = -Centre; offset < Centre; ++offset) {
        const int x = StepX[side] == 0 ? Centre + offset : Centre + StepX[side] * distance;
        const int y = StepY[side] == 0 ? Centre + offset : Centre + StepY[side] * distance;
        width += pixel(tile, x, y)[3] > 128;
    }
    return width;
}

}  // namespace

// The output cable must read at a glance as belonging to its device: 11 pixels of it show
// inside the cell beside every device body, on every side the output can face.
TEST_F(GeneratedPictures, EveryDeviceOutputShowsBesideTheBody) {
    const auto tiles = cells(load("gfx/complete.spr"), TileSize, TileSize, TileFrames);
    for (const DeviceFrame& device : deviceFrames())
        for (int side : device.outputSides) {
            const PixelBlock& endTile = tiles[static_cast<size_t>(EndTiles[side])];
            EXPECT_GE(visibleOutputLength(endTile, tiles[static_cast<size_t>(device.frame)], side), 11)
                << "frame " << device.frame << " side " << side;
        }
}

// Where the cable leaves the body it ends in a plug wider than the cable, so the output
// looks plugged into its device rather than running past it.
TEST_F(GeneratedPictures, DeviceOutputsEndInAPlugAtTheBody) {
    const auto tiles = cells(load("gfx/complete.spr"), TileSize, TileSize, TileFrames);
    for (int side = 0; side < 4; ++side) {
        const PixelBlock& endTile = tiles[static_cast<size_t>(EndTiles[side])];
        const int plug = inkAcross(endTile, side, BodyEnd - Centre + 2);
        const int cable = inkAcross(endTile, side, Centre - CellInset - 1);
        EXPECT_GE(plug, cable + 2) << "side " << side;
        EXPECT_GE(cable, 8) << "side " << side;
    }
}

// Bodies stay inside their square, so a neighbour's stub, which reaches 4 pixels into the
// cell, ends at least 7 pixels short of the body and cannot pass for this device's output.
TEST_F(GeneratedPictures, DeviceBodiesLeaveAGapToTheNeighboursStub) {
    const auto tiles = cells(load("gfx/complete.spr"), TileSize, TileSize, TileFrames);
    for (const DeviceFrame& device : deviceFrames()) {
        const PixelBlock& tile = tiles[static_cast<size_t>(device.frame)];
        // The cabinet runs on through the cell it shares with its other half.
        const int top = device.frame == ServerBottomTile ? 0 : BodyFirst,
                  bottom = device.frame == ServerTopTile ? TileSize : BodyEnd;
        for (int y = 0; y < TileSize; ++y)
            for (int x = 0; x < TileSize; ++x) {
                const bool inside = x >= BodyFirst && x < BodyEnd && y >= top && y < bottom;
                if (!inside) {
                    ASSERT_EQ(pixel(tile, x, y)[3], 0) << "frame " << device.frame << " at " << x << "," << y;
                }
            }
    }
}

// A Server half without output holds its own picture as its tile: no cable may show
// around it, so it cannot be taken for a half whose output is hidden.
TEST_F(GeneratedPictures, ServerHalfWithoutOutputShowsNoCable) {
    const auto tiles = cells(load("gfx/complete.spr"), TileSize, TileSize, TileFrames);
    for (int half : {ServerTopTile, ServerBottomTile}) {
        const PixelBlock drawn = drawnOver(tiles[static_cast<size_t>(half)], tiles[static_cast<size_t>(half)]);
        for (int side = 0; side < 4; ++side)
            EXPECT_EQ(visibleOutputLength(drawn, tiles[static_cast<size_t>(half)], side), 0)
                << half << " side " << side;
    }
}

// The two Server halves overlap by 8 pixels on screen; both must show the same pixels there.
TEST_F(GeneratedPictures, ServerHalvesJoinWithoutSeam) {
    const auto tiles = cells(load("gfx/complete.spr"), TileSize, TileSize, TileFrames);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < TileSize; ++x)
            for (int c = 0; c < 4; ++c)
                ASSERT_EQ(pixel(tiles[ServerTopTile], x, y + 48)[c], pixel(tiles[ServerBottomTile], x, y)[c])
                    << x << "," << y;
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

namespace {

int luma(const uint8_t* p) { return (p[0] * 3 + p[1] * 6 + p[2]) / 10; }

}  // namespace

// Text crosses bright cables: every solid white pixel of a glyph is bordered, above, below
// and on both sides, by more glyph or by an opaque dark outline, never by the background.
TEST_F(GeneratedPictures, SmallGlyphsCarryADarkOutline) {
    const auto glyphs = cells(load("gfx/tahomafont.spr"), SmallGlyphSize, SmallGlyphSize, 90);
    for (int index = 0; index < 90; ++index) {
        const PixelBlock& glyph = glyphs[static_cast<size_t>(index)];
        const int advance = SmallGlyphWidths[static_cast<size_t>(index)] - 1;
        int darkPixels = 0;
        for (int y = 0; y < SmallGlyphSize; ++y)
            for (int x = 0; x < SmallGlyphSize; ++x) {
                const uint8_t* p = pixel(glyph, x, y);
                darkPixels += p[3] >= 200 && luma(p) < 40;
                if (p[3] < 250 || luma(p) < 200) continue;
                for (int side = 0; side < 4; ++side) {
                    const int nx = x + StepX[side], ny = y + StepY[side];
                    // Only the narrowest glyphs, "!" with its one column, have no room beside them.
                    if (nx < 0 || ny < 0 || nx >= advance || ny >= SmallGlyphSize) continue;
                    EXPECT_GE(pixel(glyph, nx, ny)[3], 200)
                        << "character " << char(index + FirstSmallGlyph) << " at " << x << "," << y;
                }
            }
        EXPECT_GT(darkPixels, 0) << "character " << char(index + FirstSmallGlyph);
    }
}

// The glyph-width table the font is drawn for must be the one the game spaces text by.
TEST(SmallFontTable, MatchesTheGamesSpacingForSampleCharacters) {
    const std::map<char, int> samples = {{'!', 2},  {'%', 14}, {'0', 8},  {'@', 12}, {'M', 10},
                                         {'W', 14}, {'i', 3},  {'m', 11}, {'z', 8},  {'\\', 7}};
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

// The timer's frames start at y 545, over the 14 x 11 board whose tiles reach down to y 568:
// the digits keep their ink below that and above the bottom of the screen, and stay tall.
TEST_F(GeneratedPictures, TimerDigitsStayBelowTheLargestBoard) {
    const auto digits = cells(load("gfx/bigfont.spr"), 46, 64, 11);
    const int firstFreeRow = 564 + 4 - 545, screenEndRow = 600 - 545;
    for (int index = 0; index < 10; ++index) {
        const PixelBlock& digit = digits[static_cast<size_t>(index)];
        int top = digit.height, bottom = -1;
        for (int y = 0; y < digit.height; ++y)
            for (int x = 0; x < digit.width; ++x)
                if (pixel(digit, x, y)[3] > 0) top = std::min(top, y), bottom = std::max(bottom, y);
        EXPECT_GE(top, firstFreeRow) << "digit " << index << " covers the board";
        EXPECT_LT(bottom, screenEndRow) << "digit " << index << " runs off the screen";
        EXPECT_GE(bottom - top + 1, 26) << "digit " << index << " too small to read at a glance";
    }
}

namespace {

// The screen glass of a computer picture.
constexpr int GlassLeft = 18, GlassRight = 38, GlassTop = 17, GlassBottom = 31;

// Share of glass pixels whose strongest channel is `channel`.
double colourShare(const PixelBlock& tile, int channel) {
    int dominant = 0, count = 0;
    for (int y = GlassTop; y < GlassBottom; ++y)
        for (int x = GlassLeft; x < GlassRight; ++x, ++count) {
            const uint8_t* p = pixel(tile, x, y);
            dominant += p[channel] > p[(channel + 1) % 3] && p[channel] > p[(channel + 2) % 3];
        }
    return static_cast<double>(dominant) / count;
}

// How far the screen picture stands out: the largest brightness change on the glass
// against the same screen showing nothing (boot frame 0 holds one faint dash).
int pictureContrast(const PixelBlock& tile, const PixelBlock& quiet) {
    int contrast = 0;
    for (int y = GlassTop; y < GlassBottom; ++y)
        for (int x = GlassLeft; x < GlassRight; ++x)
            contrast = std::max(contrast, std::abs(luma(pixel(tile, x, y)) - luma(pixel(quiet, x, y))));
    return contrast;
}

}  // namespace

// The screen colour tells the computer's state: blue, green or red must fill the glass, and
// the idle pictures of not-connected screens stay faint so the blue reads first.
TEST_F(GeneratedPictures, ComputerScreensShowTheirStateColourFirst) {
    const auto tiles = cells(load("gfx/complete.spr"), TileSize, TileSize, TileFrames);
    for (int frame = NotConnectedComputerFrame; frame <= InfectedComputerFrame; ++frame) {
        const int state = frame / ComputerFramesPerState;
        const int channel = state == 0 ? 2 : (state == 1 ? 1 : 0);
        EXPECT_GE(colourShare(tiles[static_cast<size_t>(frame)], channel), state == 2 ? 0.6 : 0.95)
            << "frame " << frame;
    }
    int busiestIdle = 0, busiestConnected = 0;
    for (int frame = 1; frame < 40; ++frame) {
        busiestIdle = std::max(busiestIdle, pictureContrast(tiles[static_cast<size_t>(frame)], tiles[0]));
        busiestConnected =
            std::max(busiestConnected, pictureContrast(tiles[static_cast<size_t>(40 + frame)], tiles[40]));
    }
    EXPECT_LE(busiestIdle, 50) << "idle pictures as loud as the connected ones, which reach " << busiestConnected;
}

TEST_F(GeneratedPictures, GenerationGivesTheSameBytesEveryRun) {
    ScratchFolder again("pictures-again");
    writePictureSet(again.path(), 1);
    int files = 0;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(folder->path())) {
        if (!entry.is_regular_file()) continue;
        const auto relative = std::filesystem::relative(entry.path(), folder->path());
        EXPECT_EQ(readBytes(entry.path().string()), readBytes((again.path() / relative).string())) << relative;
        ++files;
    }
    EXPECT_EQ(files, pictureFileCount());
    EXPECT_EQ(files, 31);
}

// Every picture's pixels as they were last looked at and judged. A deliberate change of look
// changes its line here too: the failure prints the line to put in its place.
TEST_F(GeneratedPictures, EveryPictureLooksAsItDidWhenLastReviewed) {
    const std::map<std::string, std::string> reviewed = {
#include "reviewed_looks.inc"
    };
    std::map<std::string, std::string> now;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(folder->path())) {
        if (!entry.is_regular_file()) continue;
        const std::string name = std::filesystem::relative(entry.path(), folder->path()).string();
        const DecodedPicture picture = load(name);
        KeptDigest digest;  // the size, then the pixels
        for (const int side : {picture.pixels.width, picture.pixels.height})
            digest.addLittleEndian(static_cast<uint32_t>(side), 4);
        for (const uint8_t byte : picture.pixels.rgba) digest.add(byte);
        now[name] = digest.text();
    }
    for (const auto& [name, digest] : now)
        EXPECT_EQ(reviewed.count(name) ? reviewed.at(name) : "(none)", digest)
            << "look at " << name << "; once it is right:  {\"" << name << "\", \"" << digest << "\"},";
    EXPECT_EQ(reviewed.size(), now.size());
}

namespace {

// A small picture with odd width (so BMP rows need padding) and every kind of pixel.
PixelBlock samplePixels() {
    PixelBlock block{5, 3, {}};
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 5; ++x)
            block.rgba.insert(block.rgba.end(),
                              {static_cast<uint8_t>(40 * x + 10), static_cast<uint8_t>(70 * y + 5),
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
    Canvas canvas(2, 1, 1);
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
    Canvas canvas(21, 21, 1);
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
    // Round about its source: the same to each side, across and down alike.
    for (int d = 1; d <= 5; ++d) {
        EXPECT_EQ(pixel(pixels, 10 + d, 10)[3], pixel(pixels, 10 - d, 10)[3]) << d;
        EXPECT_EQ(pixel(pixels, 10, 10 + d)[3], pixel(pixels, 10, 10 - d)[3]) << d;
        EXPECT_NEAR(pixel(pixels, 10 + d, 10)[3], pixel(pixels, 10, 10 + d)[3], 1) << d;
        EXPECT_LE(pixel(pixels, 10 + d, 10)[3], pixel(pixels, 10 + d - 1, 10)[3]) << d;
    }
}
