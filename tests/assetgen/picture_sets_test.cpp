// The picture sets at scales 2 and 3: every picture of the scale-1 set has its twin there,
// k times as wide and as tall, drawn from the same shapes (seen through a k x k average, each
// cell is its scale-1 cell) at its own scale rather than enlarged, keeping the promises text
// relies on, and the same bytes come out every run.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <string>
#include <vector>

#include "common/picture_text.h"
#include "media/pictures/picture_decoders.h"
#include "media/pictures/picture_sets.h"
#include "pictures/artwork.h"
#include "pictures/picture_files.h"
#include "strip_sizes.h"
#include "support/test_support.h"

namespace {

namespace fs = std::filesystem;

DecodedPicture loadPicture(const fs::path& file) {
    auto picture = decodePicture(readBytes(file.string()));
    if (!picture) ADD_FAILURE() << file << " does not decode";
    return picture.value_or(DecodedPicture{});
}

// Premultiplied, so that the colour of clear pixels plays no part.
double premultiplied(const PixelBlock& block, int x, int y, int c) {
    const uint8_t* p = &block.rgba[(static_cast<size_t>(y) * block.width + x) * 4];
    return c == 3 ? p[3] : p[c] * p[3] / 255.0;
}

// For a pixel of the scale-1 picture: the largest channel difference between it and the
// average of the k x k pixels of its twin that cover the same logical pixel.
double pixelDifference(const PixelBlock& small, const PixelBlock& large, int k, int x, int y) {
    double largest = 0;
    for (int c = 0; c < 4; ++c) {
        double sum = 0;
        for (int dy = 0; dy < k; ++dy)
            for (int dx = 0; dx < k; ++dx) sum += premultiplied(large, x * k + dx, y * k + dy, c);
        largest = std::max(largest, std::abs(sum / (k * k) - premultiplied(small, x, y, c)));
    }
    return largest;
}

// How one cell of a picture and the same cell of its twin differ: on average, and in how
// many pixels by more than antialiasing ever does (a shape moved by a logical pixel, drawn
// at another size or left out shows as a run of such pixels along its edges).
struct CellDifference {
    double mean = 0;
    int strong = 0;
};
constexpr double StrongDifference = 48;

CellDifference cellDifference(const PixelBlock& small, const PixelBlock& large, int k, int left, int top, int width,
                              int height) {
    CellDifference difference;
    for (int y = top; y < top + height; ++y)
        for (int x = left; x < left + width; ++x) {
            const double d = pixelDifference(small, large, k, x, y);
            difference.mean += d;
            difference.strong += d > StrongDifference;
        }
    difference.mean /= width * height;
    return difference;
}

// The cells a picture is cut into by the game; a single picture is one cell.
StripSize cellsOf(const std::string& name, const PixelBlock& picture) {
    for (const StripSize& strip : Strips)
        if (name == strip.name) return strip;
    return {nullptr, picture.width, picture.height, 1};
}

// The small font's glyphs are so small that the scale-1 set firms their strokes and bakes a
// one-pixel outline around them: drawn larger, they differ more in detail, but a glyph moved,
// resized or swapped for another differs far more than this.
struct Tolerance {
    double mean;
    int strong;
};
Tolerance toleranceFor(const std::string& name) {
    if (name == "gfx/tahomafont.spr") return {20, 40};
    return {3, 2};
}

// Columns holding ink in a cell: one past the last; 0 when empty.
int inkEnd(const PixelBlock& picture, int left, int top, int width, int height) {
    int end = 0;
    for (int y = top; y < top + height; ++y)
        for (int x = left; x < left + width; ++x)
            if (picture.rgba[(static_cast<size_t>(y) * picture.width + x) * 4 + 3] > 0)
                end = std::max(end, x - left + 1);
    return end;
}

uint8_t alphaAt(const PixelBlock& picture, int x, int y) {
    return picture.rgba[(static_cast<size_t>(y) * picture.width + x) * 4 + 3];
}

// A region of a picture in logical pixels: the whole picture when width is 0.
struct Region {
    int left, top, width, height;
};

// How sharp the outlines in a region are: the sum of squared alpha steps between neighbours
// in a row. A picture drawn k times larger has edges as steep as the original and k times
// as long, so k times the sum; one enlarged smoothly spreads each step over k pixels, which
// leaves the original's sum.
double edgeEnergy(const PixelBlock& picture, const Region& region, int k) {
    double energy = 0;
    for (int y = region.top * k; y < (region.top + region.height) * k; ++y)
        for (int x = region.left * k + 1; x < (region.left + region.width) * k; ++x) {
            const double step = alphaAt(picture, x, y) - alphaAt(picture, x - 1, y);
            energy += step * step;
        }
    return energy;
}

// Of the logical pixels of a region that an outline crosses (partly covered at scale 1), the
// share whose k x k pixels at scale k are not all alike: outlines drawn at scale k cross them;
// a picture enlarged pixel by pixel repeats one value k x k times.
double finerDetail(const PixelBlock& small, const PixelBlock& large, int k, const Region& region) {
    int crossed = 0, detailed = 0;
    for (int y = region.top; y < region.top + region.height; ++y)
        for (int x = region.left; x < region.left + region.width; ++x) {
            const int alpha = alphaAt(small, x, y);
            if (alpha < 32 || alpha > 223) continue;
            int low = 255, high = 0;
            for (int dy = 0; dy < k; ++dy)
                for (int dx = 0; dx < k; ++dx) {
                    const int a = alphaAt(large, x * k + dx, y * k + dy);
                    low = std::min(low, a), high = std::max(high, a);
                }
            crossed += 1;
            detailed += high - low > 16;
        }
    return crossed == 0 ? 0 : static_cast<double>(detailed) / crossed;
}

// Pictures of crisp shapes, and the region of each to look at (of the tile sheet, the cable
// pieces: its floors and screens are translucent fills). Glows are soft on purpose.
struct CrispPicture {
    const char* name;
    Region region;
};
constexpr CrispPicture CrispPictures[] = {
    {"gfx/tahomafont.spr", {0, 0, 0, 0}},     {"gfx/bigfont.spr", {0, 0, 0, 0}}, {"gfx/pointer.spr", {0, 0, 0, 0}},
    {"gfx/menubuttons.spr", {0, 0, 0, 0}},    {"gfx/icon.spr", {0, 0, 0, 0}},    {"gfx/logo_Pelmar.png", {0, 0, 0, 0}},
    {"gfx/complete.spr", {56, 448, 504, 56}},  // cable pieces 81..89
};

// Drawn at its scale, not enlarged from the scale-1 picture: outlines as steep as there
// (a smooth enlargement divides their energy by k) and detail inside the logical pixels
// they cross (an enlargement pixel by pixel has none).
void expectDrawnNotEnlarged(const std::string& name, const PixelBlock& small, const PixelBlock& large, int k) {
    for (const CrispPicture& crisp : CrispPictures) {
        if (name != crisp.name) continue;
        Region region = crisp.region;
        if (region.width == 0) region = {0, 0, small.width, small.height};
        EXPECT_GE(edgeEnergy(large, region, k), 0.75 * k * edgeEnergy(small, region, 1)) << name << " at scale " << k;
        EXPECT_GE(finerDetail(small, large, k, region), 0.8) << name << " at scale " << k;
    }
}

std::vector<fs::path> filesOf(const fs::path& folder) {
    std::vector<fs::path> files;
    for (const auto& entry : fs::recursive_directory_iterator(folder))
        if (entry.is_regular_file()) files.push_back(fs::relative(entry.path(), folder.parent_path()));
    std::sort(files.begin(), files.end());
    return files;
}

void expectTwinDrawsTheSameShapes(const std::string& name, const PixelBlock& small, const PixelBlock& large, int k) {
    const StripSize cells = cellsOf(name, small);
    const Tolerance tolerance = toleranceFor(name);
    for (int index = 0; index < cells.frames; ++index) {
        const int perRow = small.width / cells.cellWidth;
        const int left = index % perRow * cells.cellWidth, top = index / perRow * cells.cellHeight;
        const CellDifference difference = cellDifference(small, large, k, left, top, cells.cellWidth, cells.cellHeight);
        EXPECT_LE(difference.mean, tolerance.mean) << name << " at scale " << k << ", cell " << index;
        EXPECT_LE(difference.strong, tolerance.strong) << name << " at scale " << k << ", cell " << index;
    }
}

// Text is spaced by the glyph-width table in logical pixels at every scale: no glyph may
// reach into the next one's advance, nor a timer digit past the fixed advance of 27.
void expectGlyphsInsideTheirAdvance(const PixelBlock& smallFont, const PixelBlock& bigFont, int k) {
    const int glyph = SmallGlyphSize * k;
    for (int index = 0; index < static_cast<int>(SmallGlyphWidths.size()); ++index) {
        const int advance = SmallGlyphWidths[static_cast<size_t>(index)] - 1;
        EXPECT_LE(inkEnd(smallFont, index % 10 * glyph, index / 10 * glyph, glyph, glyph), advance * k)
            << "character " << char(index + FirstSmallGlyph) << " at scale " << k;
    }
    for (int digit = 0; digit < 11; ++digit)
        EXPECT_LE(inkEnd(bigFont, digit * 46 * k, 0, 46 * k, 64 * k), 27 * k) << "digit " << digit << " at " << k;
}

}  // namespace

// One test for all the checks on the generated sets: each test runs in a process of its own,
// and making all three sets takes several seconds.
TEST(PictureSets, EveryLargerSetMirrorsTheFirstWithTheSameShapesAtItsScale) {
    ScratchFolder folder("picture-sets");
    writeAllPictures(folder.path());
    const std::vector<fs::path> firstSet = filesOf(folder.path() / "gfx");
    ASSERT_EQ(static_cast<int>(firstSet.size()), pictureFileCount());
    for (const int k : {2, 3}) {
        const std::vector<fs::path> set = filesOf(folder.path() / scaledPicturePath("gfx/", k));
        ASSERT_EQ(set.size(), firstSet.size()) << "scale " << k;
        for (const fs::path& file : firstSet) {
            const std::string name = file.generic_string();
            const DecodedPicture small = loadPicture(folder.path() / file);
            const DecodedPicture large = loadPicture(folder.path() / scaledPicturePath(name, k));
            ASSERT_EQ(large.pixels.width, k * small.pixels.width) << name << " at scale " << k;
            ASSERT_EQ(large.pixels.height, k * small.pixels.height) << name << " at scale " << k;
            // Pictures without alpha are masked by the loader: the twin must be masked alike.
            EXPECT_EQ(large.hasAlpha, small.hasAlpha) << name << " at scale " << k;
            expectTwinDrawsTheSameShapes(name, small.pixels, large.pixels, k);
            expectDrawnNotEnlarged(name, small.pixels, large.pixels, k);
        }
        expectGlyphsInsideTheirAdvance(loadPicture(folder.path() / scaledPicturePath("gfx/tahomafont.spr", k)).pixels,
                                       loadPicture(folder.path() / scaledPicturePath("gfx/bigfont.spr", k)).pixels, k);
    }
}

// The pictures that draw canvases of their own (glyph outlines, blurred glows, the pointer's
// halo) or use patterned randomness, drawn twice at each larger scale.
TEST(PictureSets, LargerSetsGiveTheSamePixelsEveryRun) {
    const FontLibrary fonts;
    for (const int k : {2, 3}) {
        EXPECT_EQ(makeSmallFont(fonts, k).rgba, makeSmallFont(fonts, k).rgba) << k;
        EXPECT_EQ(makeProductLogo(fonts, k).rgba, makeProductLogo(fonts, k).rgba) << k;
        EXPECT_EQ(makePointer(k).rgba, makePointer(k).rgba) << k;
        EXPECT_EQ(makeTileSheet(k).rgba, makeTileSheet(k).rgba) << k;
        EXPECT_EQ(makeGameBackground(3, k).rgba, makeGameBackground(3, k).rgba) << k;
    }
}
