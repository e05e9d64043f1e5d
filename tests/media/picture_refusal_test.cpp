// A picture the game cannot load says why: what stands in the file's place, a size its header
// cannot need, no picture at all, a file cut short or damaged, cells or a scale that do not fit.

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "media/scripted/scripted_media.h"
#include "picture_test_files.h"
#include "support/test_support.h"

namespace {

namespace fs = std::filesystem;

struct PictureRefusal : ::testing::Test {
    ScratchFolder folder{"refusal"};
    WorkingFolder inside{folder.path()};
    ScriptedMedia media;
    // Why loading the file as one picture fails; "" when it loads.
    std::string refusalOf(const std::string& path) {
        std::string refusal;
        const auto image = media.loadImage(path, -1, &refusal);
        return image ? "" : refusal;
    }
    std::string refusalOf(const Bytes& bytes) {
        writeBytes("picture.spr", bytes);
        return refusalOf("picture.spr");
    }
};

Bytes greyPng(int width, int height) {
    return pngFile(pngSpec(width, height, PNG_COLOR_TYPE_GRAY, 8, std::vector<Bytes>(height, Bytes(width, 90))));
}

// The file without its last bytes.
Bytes without(const Bytes& bytes, size_t last) {
    return Bytes(bytes.begin(), bytes.end() - static_cast<std::ptrdiff_t>(last));
}

}  // namespace

TEST_F(PictureRefusal, WhatStandsInTheFilesPlaceIsNamed) {
    EXPECT_EQ(refusalOf("missing.spr"), "No such file or directory");
    fs::create_directory("folder.spr");
    EXPECT_EQ(refusalOf("folder.spr"), "Is a directory");
    ASSERT_EQ(mkfifo("pipe.spr", 0600), 0);
    EXPECT_EQ(refusalOf("pipe.spr"), "not a regular file");
    fs::create_symlink("loop-b.spr", "loop-a.spr");
    fs::create_symlink("loop-a.spr", "loop-b.spr");
    EXPECT_EQ(refusalOf("loop-a.spr"), "Too many levels of symbolic links");
}

TEST_F(PictureRefusal, BytesThatAreNoPictureOrNoWholeHeader) {
    EXPECT_EQ(refusalOf(Bytes{'n', 'o', 't', 'e', 's'}), "not a picture");
    EXPECT_EQ(refusalOf(Bytes{}), "not a picture");
    const Bytes png = greyPng(2, 2);
    EXPECT_EQ(refusalOf(Bytes(png.begin(), png.begin() + 16)), "cut short: PNG header incomplete");
    EXPECT_EQ(refusalOf(Bytes{'B', 'M', 0, 0}), "cut short: BMP header incomplete");
}

TEST_F(PictureRefusal, SizesItsHeaderRulesOut) {
    EXPECT_EQ(refusalOf(pngWithSize(greyPng(1, 1), 8192, 100)),
              "a PNG picture of 8192 x 100 pixels, larger than 4096 a side");
    // A 2 x 2 picture followed by 5 MB: more than any 2 x 2 picture carries.
    Bytes padded = tgaFile(2, 24, 2, 2, Bytes(12, 50));
    padded.resize(5u << 20, 0);
    const std::string refusal = refusalOf(padded);
    EXPECT_EQ(refusal.rfind("too large for its header's size: 5242880 bytes where its picture needs ", 0), 0u)
        << refusal;
}

TEST_F(PictureRefusal, AFileCutShortIsToldFromOneThatIsDamaged) {
    EXPECT_EQ(refusalOf(tgaFile(2, 24, 4, 4, Bytes(20, 50))), "cut short: the TGA data ends early");
    EXPECT_EQ(refusalOf(without(greyPng(16, 16), 20)), "cut short: the PNG data ends early");
    const Bytes bmp = bmpFile(24, 8, 8, {}, 0, Bytes(8 * 8 * 3, 40));
    EXPECT_EQ(refusalOf(without(bmp, 30)), "cut short: the BMP data ends early");
    const Bytes jpeg = jpegFile(16, 16, 1, Bytes(256, 120), JCS_GRAYSCALE);
    EXPECT_EQ(refusalOf(Bytes(jpeg.begin(), jpeg.begin() + 200)), "cut short: the JPEG data ends early");
    // Whole, with its closing chunk, but its compressed rows spoiled.
    Bytes spoiled = greyPng(16, 16);
    for (size_t i = 45; i < 60; ++i) spoiled[i] ^= 0x5A;
    EXPECT_EQ(refusalOf(spoiled), "damaged: its PNG data does not decode");
}

TEST_F(PictureRefusal, CellsOrAScaleThatDoNotFit) {
    writeBytes("strip.spr", tgaFile(2, 24, 64, 64, Bytes(64 * 64 * 3, 50)));
    std::string refusal;
    EXPECT_FALSE(media.loadImageStrip("strip.spr", 64, 64, 0, 2, -1, &refusal));
    EXPECT_EQ(refusal, "its 64 x 64 pixels hold fewer than 2 cells of 64 x 64");
    writeBytes("gfx@2/odd.spr", tgaFile(2, 24, 3, 3, Bytes(27, 50)));
    media.setPictureScale(2);
    EXPECT_EQ(refusalOf("gfx/odd.spr"), "its 3 x 3 pixels are no whole number of pixels at scale 2");
}
