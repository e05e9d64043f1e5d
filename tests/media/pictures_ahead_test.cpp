// Large pictures prepared for the compositor before a frame draws them: packed while they wait,
// found again by their file, and drawn pixel for pixel as if prepared on the frame's thread.

#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <memory>
#include <optional>
#include <thread>
#include <tuple>
#include <vector>

#include "media/draw/cpu/cpu_canvas.h"
#include "media/draw/cpu/cpu_pictures_ahead.h"
#include "media/draw/cpu/pixel_runs.h"
#include "media/draw/cpu/spare_pixels.h"
#include "picture_test_files.h"

namespace {

// Rows of words that mix every kind of run: words as they are, repeats, rows like the one
// above, and runs that end at a row's end.
std::vector<uint32_t> mixedRows(int width, int height) {
    std::vector<uint32_t> pixels(static_cast<size_t>(width) * height);
    uint32_t noise = 12345;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            noise = noise * 1103515245u + 12345u;
            uint32_t& pixel = pixels[static_cast<size_t>(y) * width + x];
            if (y % 3 == 1 && x < width / 2)
                pixel = pixels[static_cast<size_t>(y - 1) * width + x];  // as above
            else if (x % 7 < 4)
                pixel = 0xFF000000u | static_cast<uint32_t>(y);  // a repeat
            else
                pixel = noise;
        }
    return pixels;
}

// A picture kept as its file, with smooth alpha: prepared ahead in two looks.
Image keptPicture(int width, int height) {
    std::vector<Bytes> rows;
    for (int y = 0; y < height; ++y) {
        Bytes row;
        for (int x = 0; x < width; ++x)
            row.insert(row.end(),
                       {static_cast<uint8_t>(60 + 150 * x / width), static_cast<uint8_t>(40 + 160 * y / height),
                        static_cast<uint8_t>(x * y % 200), static_cast<uint8_t>(255 * (x + y) / (width + height))});
        rows.push_back(row);
    }
    Image image;
    image.width = width, image.height = height, image.flags = ImageFiltered;
    image.handleX = width * 0.5f, image.handleY = height * 0.5f;
    image.file = std::make_shared<const KeptPictureFile>(
        KeptPictureFile{pngFile(pngSpec(width, height, PNG_COLOR_TYPE_RGB_ALPHA, 8, rows)), false});
    return image;
}

// The picture upright, faded, as a shadow: a canvas at 1.5 pixels to a logical pixel, so it is
// resampled; with what was prepared ahead, or without. How many frames came from it.
void drawUprightFadedAndShadow(CpuCanvas& canvas, const Image& image) {
    DrawState draw;
    draw.blend = BlendMode::Alpha;
    canvas.clear();
    canvas.drawImage(image, 60, 50, 0, draw);
    draw.colour = Colour{90, 90, 90};
    canvas.drawImage(image, 140, 90, 0, draw);
    draw.colour = Colour{0, 0, 0};
    canvas.drawImage(image, 100, 110, 0, draw);
}

PixelBlock drawn(const Image& image, CpuPicturesAhead* ahead, int* framesFromAhead = nullptr) {
    CpuCanvas canvas(300, 225, 1.5f, 2);
    canvas.takePicturesFrom(ahead);
    drawUprightFadedAndShadow(canvas, image);
    const int fromAhead = canvas.takeCounts().framesPreparedAhead;
    if (framesFromAhead) *framesFromAhead = fromAhead;
    return canvas.read();
}

}  // namespace

TEST(PixelRuns, RowsComeBackWordForWord) {
    for (const auto& [width, height] : {std::pair{1, 1}, {1, 9}, {9, 1}, {2, 3}, {37, 23}, {640, 8}}) {
        const std::vector<uint32_t> pixels = mixedRows(width, height);
        const PackedPixels packed = packPixels(pixels.data(), width, height);
        EXPECT_EQ(unpackPixels(packed), pixels) << width << " x " << height;
    }
    const std::vector<uint32_t> flat(200 * 100, 0xFF336699u);
    const PackedPixels packed = packPixels(flat.data(), 200, 100);
    EXPECT_EQ(unpackPixels(packed), flat);
    EXPECT_LE(packed.runs.size(), 200u) << "a flat picture is a run or two a row";
}

TEST(PixelRuns, RowsPackedAStripAtATimeAreRowsPackedWhole) {
    const std::vector<uint32_t> pixels = mixedRows(37, 23);
    PixelPacker packer(37);
    int added = 0;
    for (const int rows : {1, 2, 0, 7, 13}) {
        packer.addRows(pixels.data() + static_cast<size_t>(added) * 37, rows);
        added += rows;
    }
    const PackedPixels packed = packer.finish();
    EXPECT_EQ(packed.runs, packPixels(pixels.data(), 37, 23).runs) << "rows like the one above across strips";
    EXPECT_EQ(unpackPixels(packed), pixels);
}

TEST(PixelRuns, AFramePreparedPackedIsTheFramePreparedWhole) {
    // 150 rows: strips of 64 rows, the last a short one; resampled down, up, and kept as is.
    const Image image = keptPicture(200, 150);
    for (const auto& [width, height] : {std::pair{200, 150}, {130, 97}, {300, 225}})
        for (const FrameLook look : {FrameLook::AsLoaded, FrameLook::Shadow, FrameLook::Snapped}) {
            const PreparedFrame whole = prepareFrame(image, look, 0, width, height, false);
            const PackedFrame packed = prepareFramePacked(image, look, 0, width, height, false);
            EXPECT_EQ(unpackPixels(packed.pixels), whole.pixels) << width << " x " << height;
            EXPECT_EQ(packed.width, whole.width);
            EXPECT_EQ(packed.height, whole.height);
            EXPECT_EQ(std::tie(packed.ink.x0, packed.ink.y0, packed.ink.x1, packed.ink.y1, packed.ink.opaque),
                      std::tie(whole.ink.x0, whole.ink.y0, whole.ink.x1, whole.ink.y1, whole.ink.opaque));
        }
    const PackedFrame shadow = prepareFramePacked(image, FrameLook::Shadow, 0, 300, 225, true);
    EXPECT_TRUE(shadow.repeats) << "the shadow of an opaque picture is one pixel";
    EXPECT_EQ(unpackPixels(shadow.pixels), prepareFrame(image, FrameLook::Shadow, 0, 300, 225, true).pixels);
}

TEST(PixelRuns, UnpackedIntoMemoryInUseEveryWordIsWrittenOver) {
    const std::vector<uint32_t> pixels = mixedRows(37, 23);
    PackedPixels packed = packPixels(pixels.data(), 37, 23);
    std::vector<uint32_t> used(37 * 40, 0xDEADBEEFu);
    unpackPixelsInto(packed, used);
    EXPECT_EQ(used, pixels);
    // Runs that end short (damaged) leave the rest clear, as in fresh memory, not stale.
    packed.runs.resize(packed.runs.size() / 2);
    used.assign(37 * 40, 0xDEADBEEFu);
    unpackPixelsInto(packed, used);
    EXPECT_EQ(used, unpackPixels(packed));
    EXPECT_EQ(used.back(), 0u);
}

TEST(SparePixels, TheSmallestBufferThatHoldsAPictureIsGivenAndWhatIsLeftGoesAfterAFewFrames) {
    const size_t megabyte = (size_t{1} << 20) / sizeof(uint32_t);
    SparePixels spares;
    spares.keep(std::vector<uint32_t>(megabyte / 2));
    EXPECT_EQ(spares.bytesHeld(), 0u) << "a small buffer is freed at once";
    std::vector<uint32_t> four(4 * megabyte), two(2 * megabyte);
    const uint32_t* twoAt = two.data();
    spares.keep(std::move(four));
    spares.keep(std::move(two));
    EXPECT_TRUE(spares.take(5 * megabyte).empty()) << "none holds it";
    EXPECT_TRUE(spares.take(megabyte).empty()) << "each is more than half as large again";
    const std::vector<uint32_t> taken = spares.take(3 * megabyte / 2);
    EXPECT_EQ(taken.data(), twoAt) << "the smaller of the two that hold it";
    EXPECT_EQ(spares.bytesHeld(), 4 * megabyte * sizeof(uint32_t));
    for (int frame = 1; frame < SparePixels::FramesKept; ++frame) spares.frameComposed();
    EXPECT_GT(spares.bytesHeld(), 0u);
    spares.frameComposed();
    EXPECT_EQ(spares.bytesHeld(), 0u);
}

TEST(CpuPicturesAhead, APictureTakenAfterAScreenChangeIsUnpackedIntoTheMemoryLetGo) {
    const Image image = keptPicture(600, 400);
    CpuPicturesAhead ahead;
    ahead.prepare(image, 1.5f);
    ahead.finishAll();
    SparePixels spares;
    std::vector<uint32_t> stale(900 * 600 + 900, 0xDEADBEEFu);  // a picture a row larger
    const uint32_t* staleAt = stale.data();
    spares.keep(std::move(stale));
    const std::optional<PreparedFrame> frame = ahead.take(image, 1.5f, FrameLook::AsLoaded, spares);
    ASSERT_TRUE(frame);
    EXPECT_EQ(frame->pixels.data(), staleAt);
    EXPECT_EQ(spares.bytesHeld(), 0u);
    SparePixels none;
    EXPECT_EQ(frame->pixels, ahead.take(image, 1.5f, FrameLook::AsLoaded, none)->pixels);
    // Drawn on a canvas after a screen of large pictures was let go: as if prepared on the frame.
    CpuCanvas canvas(300, 225, 1.5f, 2);
    canvas.takePicturesFrom(&ahead);
    const Image large = keptPicture(600, 402);  // let go, and its memory taken by the next
    canvas.clear();
    canvas.drawImage(large, 150, 112, 0, DrawState{});
    canvas.compose();
    canvas.clear();
    canvas.compose();  // a frame only cleared: the screen changes
    drawUprightFadedAndShadow(canvas, image);
    EXPECT_EQ(canvas.takeCounts().framesPreparedAhead, 2);
    EXPECT_EQ(canvas.read().rgba, drawn(image, nullptr).rgba);
}

TEST(CpuPicturesAhead, APicturePreparedAheadIsDrawnAsIfPreparedOnTheFrame) {
    const Image image = keptPicture(90, 60);
    CpuPicturesAhead ahead;
    ahead.prepare(image, 1.5f);
    ahead.finishAll();
    EXPECT_GT(ahead.bytesHeld(), 0u);
    int fromAhead = 0;
    const PixelBlock withAhead = drawn(image, &ahead, &fromAhead);
    EXPECT_EQ(fromAhead, 2) << "blended and its shadow";
    EXPECT_EQ(withAhead.rgba, drawn(image, nullptr).rgba);
    // The same file loaded again (the next level with the same background): found again.
    const Image again = image;
    EXPECT_EQ(drawn(again, &ahead, &fromAhead).rgba, withAhead.rgba);
    EXPECT_EQ(fromAhead, 2);
}

TEST(CpuPicturesAhead, OnlyItsOwnFileAndScaleFindWhatWasPrepared) {
    const Image image = keptPicture(90, 60);
    CpuPicturesAhead ahead;
    ahead.prepare(image, 1.5f);
    ahead.finishAll();
    int fromAhead = 0;
    const Image other = keptPicture(90, 60);  // the same pixels from another file
    drawn(other, &ahead, &fromAhead);
    EXPECT_EQ(fromAhead, 0);
    SparePixels spares;
    EXPECT_FALSE(ahead.take(image, 2.0f, FrameLook::AsLoaded, spares)) << "another scale";
    ahead.keepOnly(2.0f);
    drawn(image, &ahead, &fromAhead);
    EXPECT_EQ(fromAhead, 0) << "forgotten with its scale";
    EXPECT_EQ(ahead.bytesHeld(), 0u);
    Image small = keptPicture(8, 8);
    small.file.reset();
    small.frames.push_back(PixelBlock{8, 8, std::vector<uint8_t>(8 * 8 * 4, 255)});
    ahead.prepare(small, 1.5f);
    ahead.finishAll();
    EXPECT_EQ(ahead.bytesHeld(), 0u) << "a picture with its pixels is prepared when drawn";
}

// Frames drawn while the pictures are still being prepared, and the preparer going with work
// in hand and more in line: each frame is drawn as if prepared on the frame's thread.
TEST(CpuPicturesAhead, FramesDrawnWhilePreparingAndAnEndMidWayAreSafe) {
    const Image image = keptPicture(300, 200);
    const PixelBlock expected = drawn(image, nullptr);
    for (int round = 0; round < 3; ++round) {
        CpuPicturesAhead ahead;
        ahead.prepare(image, 1.5f);
        ahead.prepare(keptPicture(320, 180), 1.5f);
        EXPECT_EQ(drawn(image, &ahead).rgba, expected.rgba) << "round " << round;
        ahead.prepare(keptPicture(200, 300), 1.5f);
    }
    // A frame that looks for a picture again and again until the preparer has put it in.
    CpuPicturesAhead ahead;
    ahead.prepare(image, 1.5f);
    SparePixels spares;
    std::optional<PreparedFrame> frame;
    // The preparer runs at the lowest priority: on a busy machine it may wait a while.
    const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    while (!frame && std::chrono::steady_clock::now() < giveUp) {
        frame = ahead.take(image, 1.5f, FrameLook::AsLoaded, spares);
        if (!frame) std::this_thread::sleep_for(std::chrono::microseconds(50));
    }
    EXPECT_TRUE(frame);
}
