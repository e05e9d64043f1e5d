// Damaged or hostile pictures are refused before they can take much memory or time:
// sizes past 4096 pixels a side, chunks claiming a gigabyte, files longer than any
// picture needs, and JPEG files cut short that still end in an end marker.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <random>

#include "media/scripted/scripted_media.h"
#include "memory_probe.h"
#include "picture_test_files.h"
#include "support/test_support.h"

namespace {

constexpr long SixteenMegabytes = 16 * 1024;

Bytes noise(size_t count) {
    std::mt19937 generator(7);
    Bytes bytes(count);
    for (uint8_t& byte : bytes) byte = static_cast<uint8_t>(generator());
    return bytes;
}

// Where each marker FF xx starts in a JPEG file.
std::vector<size_t> markers(const Bytes& file, uint8_t code) {
    std::vector<size_t> found;
    for (size_t i = 0; i + 1 < file.size(); ++i)
        if (file[i] == 0xFF && file[i + 1] == code) found.push_back(i);
    return found;
}

Bytes cutAndEnd(const Bytes& file, size_t length) {
    Bytes cut(file.begin(), file.begin() + static_cast<std::ptrdiff_t>(length));
    cut.push_back(0xFF);
    cut.push_back(0xD9);
    return cut;
}

// The frame header's height and width (big-endian, 3 and 5 bytes after the length).
Bytes withJpegSize(Bytes file, int width, int height) {
    const size_t frame = markers(file, 0xC0).at(0);
    file[frame + 5] = static_cast<uint8_t>(height >> 8);
    file[frame + 6] = static_cast<uint8_t>(height);
    file[frame + 7] = static_cast<uint8_t>(width >> 8);
    file[frame + 8] = static_cast<uint8_t>(width);
    return file;
}

TEST(PictureLimits, PngTextChunkClaimingAGigabyteIsNeitherAllocatedNorAccepted) {
    const Bytes valid = pngFile(pngSpec(1, 1, PNG_COLOR_TYPE_GRAY, 8, {{7}}));
    // After the signature and IHDR (33 bytes): a text chunk whose length says 1 GB,
    // followed by a few bytes of text and the end of the file.
    Bytes file(valid.begin(), valid.begin() + 33);
    const Bytes chunk = {0x3F, 0xFF, 0xFF, 0xF0, 't', 'E', 'X', 't', 'T', 'i', 't', 'l', 'e', 0, 'h', 'i'};
    file.insert(file.end(), chunk.begin(), chunk.end());
    EXPECT_FALSE(decodePng(file));
    EXPECT_LT(peakGrowthKb([&] { decodePng(file); }), SixteenMegabytes) << "the chunk's claimed length was allocated";
    // A text chunk that is really there is skipped and the picture still reads.
    Bytes withText(valid.begin(), valid.begin() + 33);
    const Bytes text = {0, 0, 0, 2, 't', 'E', 'X', 't', 'a', 0, 0x39, 0xF3, 0x5F, 0x64};
    withText.insert(withText.end(), text.begin(), text.end());
    withText.insert(withText.end(), valid.begin() + 33, valid.end());
    const auto picture = decodePng(withText);
    ASSERT_TRUE(picture);
    EXPECT_EQ(pixelAt(picture->pixels, 0, 0), (Rgba{7, 7, 7, 255}));
}

TEST(PictureLimits, PngAndJpegSidesStopAt4096) {
    EXPECT_TRUE(decodePng(pngFile(pngSpec(4096, 1, PNG_COLOR_TYPE_GRAY, 8, {Bytes(4096, 1)}))));
    EXPECT_FALSE(decodePng(pngFile(pngSpec(4097, 1, PNG_COLOR_TYPE_GRAY, 8, {Bytes(4097, 1)}))));
    std::vector<Bytes> tall(4097, Bytes{1});
    EXPECT_FALSE(decodePng(pngFile(pngSpec(1, 4097, PNG_COLOR_TYPE_GRAY, 8, tall))));
    EXPECT_TRUE(decodeJpeg(jpegFile(4096, 8, 1, Bytes(4096 * 8, 90), JCS_GRAYSCALE)));
    EXPECT_FALSE(decodeJpeg(jpegFile(4097, 8, 1, Bytes(4097 * 8, 90), JCS_GRAYSCALE)));
    EXPECT_FALSE(decodeJpeg(jpegFile(8, 4097, 1, Bytes(4097 * 8, 90), JCS_GRAYSCALE)));
}

TEST(PictureLimits, SmallJpegClaimingAHugePictureIsRefused) {
    const Bytes small = jpegFile(8, 8, 3, noise(8 * 8 * 3), JCS_RGB);
    ASSERT_LT(small.size(), 2000u);
    EXPECT_FALSE(decodeJpeg(withJpegSize(small, 8192, 8192)));
    EXPECT_TRUE(decodeJpeg(withJpegSize(small, 8, 8)));  // the rewriting keeps the file valid
}

// Files far too short for the picture their header claims are refused before the pixel
// memory (64 MB for 4096 x 4096) is taken.
TEST(PictureLimits, ShortFilesClaimingLargePicturesTakeNoPixelMemory) {
    const Bytes jpeg = withJpegSize(jpegFile(8, 8, 3, noise(8 * 8 * 3), JCS_RGB), 4096, 4096);
    EXPECT_FALSE(decodeJpeg(jpeg));
    EXPECT_LT(peakGrowthKb([&] { decodeJpeg(jpeg); }), SixteenMegabytes);
    // Enough bytes for one bit per 8 x 8 block is not refused early (it fails later, truncated).
    // AddressSanitizer's allocator hands out large blocks its own way, which this measure
    // does not see; the sanitizer build leaves this one check to the normal build.
    Bytes padded = jpeg;
    padded.insert(padded.end() - 2, 4096 * 4096 / 64 / 8, 0);
#ifndef __SANITIZE_ADDRESS__
    EXPECT_GT(peakGrowthKb([&] { decodeJpeg(padded); }), 2 * SixteenMegabytes);
#endif

    const Bytes png = pngWithSize(pngFile(pngSpec(1, 1, PNG_COLOR_TYPE_RGB_ALPHA, 8, {{1, 2, 3, 4}})), 4096, 4096);
    EXPECT_FALSE(decodePng(png));
    EXPECT_LT(peakGrowthKb([&] { decodePng(png); }), SixteenMegabytes);

    const Bytes rawTga = tgaFile(2, 16, 4096, 4096, Bytes(90, 0x10));
    const Bytes runsTga = tgaFile(10, 32, 4096, 4096, Bytes(4096 * 4096 / 128 * 5 - 1, 0xFF));
    EXPECT_FALSE(decodeTga(rawTga));
    EXPECT_FALSE(decodeTga(runsTga));
    EXPECT_LT(peakGrowthKb([&] { decodeTga(rawTga); }), SixteenMegabytes);
    EXPECT_LT(peakGrowthKb([&] { decodeTga(runsTga); }), SixteenMegabytes);
    Bytes allRuns = runsTga;
    allRuns.push_back(0xFF);  // now every packet can be a run of 128: decoded in full
    EXPECT_TRUE(decodeTga(allRuns));
}

TEST(PictureLimits, JpegCutShortButEndingInAnEndMarkerIsRefused) {
    const Bytes baseline = jpegFile(64, 64, 3, noise(64 * 64 * 3), JCS_RGB);
    ASSERT_TRUE(decodeJpeg(baseline));
    const size_t scan = markers(baseline, 0xDA).at(0);
    testing::internal::CaptureStderr();
    for (size_t length = scan + 20; length < baseline.size() - 2; length += (baseline.size() - scan) / 7)
        EXPECT_FALSE(decodeJpeg(cutAndEnd(baseline, length))) << "cut at " << length;

    const Bytes progressive = jpegFile(64, 64, 3, noise(64 * 64 * 3), JCS_RGB, true);
    ASSERT_TRUE(decodeJpeg(progressive));
    const std::vector<size_t> scans = markers(progressive, 0xDA);
    ASSERT_GT(scans.size(), 3u);
    // Cut exactly between two scans: every scan present is whole, later ones are missing.
    for (size_t n = 1; n < scans.size(); ++n)
        EXPECT_FALSE(decodeJpeg(cutAndEnd(progressive, scans[n]))) << "scans kept: " << n;
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
}

// The input with which the TGA fuzzer found it: 108 bytes claiming 4096 x 4096 at 16 bits.
TEST(PictureLimits, TheSlowTgaTheFuzzerFoundTakesNoPixelMemory) {
    const Bytes found = {
        0x00, 0x00, 0x02, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x16, 0x00, 0x10, 0x00, 0x10, 0x10, 0x10,
        0x10, 0x10, 0x10, 0x10, 0x10, 0x10, 0x10, 0x10, 0x10, 0x10, 0x10, 0x10, 0x10, 0x10, 0x10, 0x10, 0x10, 0x10,
        0x10, 0x10, 0x10, 0x2d, 0x00, 0x00, 0x00, 0x10, 0x10, 0x10, 0x10, 0x10, 0x00, 0x00, 0x00, 0x00, 0x00, 0x10,
        0x10, 0x10, 0x10, 0x10, 0x10, 0x10, 0x10, 0x10, 0x10, 0x10, 0x10, 0x10, 0x10, 0x10, 0x10, 0x10, 0x10, 0x10,
        0x10, 0x10, 0x10, 0x10, 0x10, 0x10, 0x10, 0x1f, 0x77, 0xe0, 0x25, 0x25, 0x25, 0x10, 0x10, 0x10, 0x10, 0x10,
        0x10, 0x1f, 0x77, 0xe0, 0x25, 0x25, 0x25, 0x25, 0x25, 0x25, 0x25, 0x25, 0x25, 0x25, 0x25, 0x25, 0x25, 0x03,
    };
    EXPECT_FALSE(decodeTga(found));
    EXPECT_FALSE(decodePicture(found));
    EXPECT_LT(peakGrowthKb([&] { decodePicture(found); }), SixteenMegabytes);
}

class PictureFileLimits : public ::testing::Test {
protected:
    ScratchFolder folder{"picture_limits"};
    WorkingFolder inside{folder.path()};
    ScriptedMedia media;
};

TEST_F(PictureFileLimits, FilesLongerThanAnyPictureNeedsAreNotRead) {
    // A valid 2 x 2 TGA followed by 200 MB of nothing (a sparse file: no disk is used).
    // The decoder would accept it, as trailing bytes are allowed; the size limit refuses it.
    writeBytes(folder.file("gfx/huge.spr"), tgaFile(2, 24, 2, 2, Bytes(12, 50)));
    std::filesystem::resize_file(folder.file("gfx/huge.spr"), 200u << 20);
    EXPECT_FALSE(media.loadImage("gfx/huge.spr"));
    std::filesystem::resize_file(folder.file("gfx/huge.spr"), 1u << 20);
    EXPECT_TRUE(media.loadImage("gfx/huge.spr"));
}

TEST_F(PictureFileLimits, FilesTooLongForTheirHeaderArePassedOverHavingReadOnlyTheirFirstBytes) {
    // 200 MB: more than any picture needs; its size says so before anything is read.
    writeBytes(folder.file("gfx/huge.spr"), tgaFile(2, 24, 2, 2, Bytes(12, 50)));
    std::filesystem::resize_file(folder.file("gfx/huge.spr"), 200u << 20);
    EXPECT_LT(bytesRead([&] { EXPECT_FALSE(media.loadImage("gfx/huge.spr")); }), 4096u);
    // 60 MB behind the header of a 2 x 2 PNG: far more than 2 x 2 pixels and their extras.
    const Bytes png = pngFile(pngSpec(2, 2, PNG_COLOR_TYPE_GRAY, 8, {{7, 7}, {7, 7}}));
    writeBytes(folder.file("gfx/padded.png"), png);
    std::filesystem::resize_file(folder.file("gfx/padded.png"), 60u << 20);
    EXPECT_LT(bytesRead([&] { EXPECT_FALSE(media.loadImage("gfx/padded.png")); }), 2 * PictureHeadBytes);
    // A picture wider than any decoder takes, and a file that is no picture at all.
    writeBytes(folder.file("gfx/wide.spr"), tgaFile(2, 24, 5000, 1, Bytes(15000, 50)));
    EXPECT_FALSE(media.loadImage("gfx/wide.spr"));
    writeBytes(folder.file("gfx/text.spr"), Bytes(200000, 'a'));
    EXPECT_LT(bytesRead([&] { EXPECT_FALSE(media.loadImage("gfx/text.spr")); }), 2 * PictureHeadBytes);
    // What a file may carry besides its pixels (a colour profile, text) is no reason to refuse it.
    std::filesystem::resize_file(folder.file("gfx/padded.png"), png.size() + (3u << 20));
    EXPECT_TRUE(media.loadImage("gfx/padded.png"));
}

TEST(PictureHeader, EachFormatsLongestFileFollowsItsSizeAndDepth) {
    const auto largest = [](const Bytes& file) { return largestPictureFile(file).value_or(0); };
    const uint64_t extras = 4u << 20;
    // A 2 x 2 24-bit TGA: run-length coding at worst spends a byte on each pixel too.
    EXPECT_EQ(largest(tgaFile(2, 24, 2, 2, Bytes(12, 50))), 18 + 4 * 4 + extras);
    EXPECT_EQ(largest(tgaFile(10, 32, 3, 1, Bytes(4, 50))), 18 + 3 * 5 + extras);
    EXPECT_EQ(largest(tgaFile(2, 24, 1, 1, Bytes(3, 50))), 18 + 1 * 4 + extras);  // one pixel is a picture
    // A BMP: the pixels' start and rows padded to 4 bytes (3 pixels of 24 bits: 12 bytes).
    const Bytes bmp = bmpFile(24, 3, 2, {}, 0, Bytes(24, 1));
    EXPECT_EQ(largest(bmp), 54 + 2 * 12 + extras);
    // A PNG: rows of 16-bit RGBA and their filter bytes, and a sixty-fourth for the storing.
    const uint64_t rows = 2 * (1 + 2 * 8);
    EXPECT_EQ(largest(pngFile(pngSpec(2, 2, PNG_COLOR_TYPE_GRAY, 8, {{7, 7}, {7, 7}}))), 8 + rows + rows / 64 + extras);
    // A JPEG (its JFIF and table segments before the frame header): twice its pixels.
    EXPECT_EQ(largest(jpegFile(8, 6, 3, noise(8 * 6 * 3), JCS_RGB)), 8 * 6 * 3 * 2 + extras);
    // Fill bytes before a marker are passed over; a frame header beyond the first bytes
    // (behind large metadata) leaves the general limit.
    Bytes filled = jpegFile(8, 6, 3, noise(8 * 6 * 3), JCS_RGB);
    filled.insert(filled.begin() + 2, {0xFF, 0xFF});
    EXPECT_EQ(largest(filled), 8 * 6 * 3 * 2 + extras);
    Bytes metadata = {0xFF, 0xD8, 0xFF, 0xE1, 0x40, 0x00};  // 16 KB of metadata first
    metadata.resize(64, 0);
    EXPECT_EQ(largest(metadata), MaxPictureFileBytes);
    // A file of exactly its header's most is taken; a byte more is not.
    EXPECT_EQ(pictureHeadFault(bmp, 54 + 2 * 12 + extras), "");
    EXPECT_NE(pictureHeadFault(bmp, 54 + 2 * 12 + extras + 1), "");
    // Never more than any picture may take, and nothing for a start no decoder takes.
    const Bytes bigPngHead = {0x89, 'P', 'N', 'G',  '\r', '\n', 0x1A, '\n', 0, 0, 0, 13, 'I', 'H', 'D',
                              'R',  0,   0,   0x10, 0,    0,    0,    0x10, 0, 8, 6, 0,  0,   0};  // 4096 x 4096 RGBA
    EXPECT_EQ(largest(bigPngHead), MaxPictureFileBytes);
    EXPECT_FALSE(largestPictureFile(Bytes(100, 'a')));
    EXPECT_FALSE(largestPictureFile(tgaFile(2, 24, 4097, 1, {})));
}

TEST_F(PictureFileLimits, WholeFileReadsStopPastTheLimit) {
    writeBytes(folder.file("ten.bin"), Bytes(10, 3));
    std::vector<uint8_t> bytes{1, 2};
    EXPECT_TRUE(media.readWholeFile("ten.bin", bytes, 10));
    EXPECT_EQ(bytes, Bytes(10, 3));
    EXPECT_FALSE(media.readWholeFile("ten.bin", bytes, 9));
    EXPECT_TRUE(bytes.empty());
    EXPECT_TRUE(media.readWholeFile("ten.bin", bytes));
    EXPECT_EQ(bytes.size(), 10u);
    // With a look at its head first: a file of exactly the limit is no failure; a head
    // refused leaves nothing of itself behind.
    std::string failure;
    std::vector<uint64_t> sizesShown;
    const auto lookAt = [&](bool accept) {
        return [&sizesShown, accept](std::span<const uint8_t> head, uint64_t size) {
            sizesShown.push_back(head.size());
            sizesShown.push_back(size);
            return accept;
        };
    };
    EXPECT_TRUE(media.readWholeFileIf("ten.bin", bytes, 10, 4, lookAt(true), &failure));
    EXPECT_EQ(failure, "");
    EXPECT_EQ(bytes, Bytes(10, 3));
    EXPECT_FALSE(media.readWholeFileIf("ten.bin", bytes, 10, 4, lookAt(false), &failure));
    EXPECT_TRUE(bytes.empty());
    EXPECT_EQ(sizesShown, (std::vector<uint64_t>{4, 10, 4, 10}));
}

}  // namespace
