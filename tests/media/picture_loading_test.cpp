// Loading pictures through the media layer: recognised by content whatever the
// file is called, masked unless they carry alpha, kept whole or cut into a strip.

#include <gtest/gtest.h>

#include "media/scripted/scripted_media.h"
#include "picture_test_files.h"
#include "support/test_support.h"

namespace {

// 2 x 1 RGB PNG: red, then black (the mask colour).
Bytes redAndBlackPng(int colourType) {
    const int channels = colourType == PNG_COLOR_TYPE_RGB_ALPHA ? 4 : 3;
    Bytes row = {255, 0, 0, 0, 0, 0};
    if (channels == 4) row = {255, 0, 0, 255, 0, 0, 0, 255};
    return pngFile(pngSpec(2, 1, colourType, 8, {row}));
}

class PictureLoading : public ::testing::Test {
protected:
    ScratchFolder folder{"pictures"};
    WorkingFolder inside{folder.path()};
    ScriptedMedia media;
};

TEST_F(PictureLoading, RecognisesContentWhateverTheExtensionAndMasksByDefault) {
    writeBytes(folder.file("gfx/panel.spr"), redAndBlackPng(PNG_COLOR_TYPE_RGB));
    const auto image = media.loadImage("gfx\\panel.spr");
    ASSERT_TRUE(image);
    EXPECT_EQ(image->width, 2);
    EXPECT_EQ(image->height, 1);
    EXPECT_EQ(image->frameCount(), 1);
    EXPECT_EQ(image->flags, ImageDefaultFlags);
    EXPECT_EQ(image->handleX, 0.0f);
    ASSERT_EQ(image->frames.size(), 1u);
    EXPECT_EQ(pixelAt(image->frames[0], 1, 0), (Rgba{255, 0, 0, 0}));
    EXPECT_EQ(pixelAt(image->frames[0], 0, 0), (Rgba{255, 0, 0, 255}));
}

TEST_F(PictureLoading, MasksOnlyWhenAskedAndOnlyWithoutAlpha) {
    writeBytes(folder.file("plain.vvx"), redAndBlackPng(PNG_COLOR_TYPE_RGB));
    writeBytes(folder.file("alpha.png"), redAndBlackPng(PNG_COLOR_TYPE_RGB_ALPHA));
    const auto unmasked = media.loadImage("plain.vvx", ImageFiltered);
    ASSERT_TRUE(unmasked);
    EXPECT_EQ(unmasked->flags, ImageFiltered);
    EXPECT_EQ(pixelAt(unmasked->frames[0], 1, 0), (Rgba{0, 0, 0, 255}));
    const auto ownAlpha = media.loadImage("alpha.png");
    ASSERT_TRUE(ownAlpha);
    EXPECT_EQ(pixelAt(ownAlpha->frames[0], 1, 0), (Rgba{0, 0, 0, 255}));
}

TEST_F(PictureLoading, CutsStripsIntoFrames) {
    // 64 x 128 TGA, 24 bits: the bottom half (stored first) grey 1, the top half grey 2.
    Bytes data(64 * 64 * 3, 1);
    data.insert(data.end(), 64 * 64 * 3, 2);
    writeBytes(folder.file("gfx/strip.spr"), tgaFile(2, 24, 64, 128, data));
    const auto strip = media.loadImageStrip("gfx/strip.spr", 64, 64, 0, 2);
    ASSERT_TRUE(strip);
    EXPECT_EQ(strip->width, 64);
    EXPECT_EQ(strip->height, 64);
    ASSERT_EQ(strip->frameCount(), 2);
    EXPECT_EQ(pixelAt(strip->frames[0], 5, 5), (Rgba{2, 2, 2, 255}));
    EXPECT_EQ(pixelAt(strip->frames[1], 5, 5), (Rgba{1, 1, 1, 255}));
    EXPECT_FALSE(media.loadImageStrip("gfx/strip.spr", 64, 64, 0, 3));
}

TEST_F(PictureLoading, MissingOrUndecodableFilesGiveNothing) {
    EXPECT_FALSE(media.loadImage("gfx/missing.spr"));
    EXPECT_FALSE(media.loadImageStrip("gfx/missing.spr", 8, 8, 0, 1));
    writeBytes(folder.file("notes.txt"), {'h', 'e', 'l', 'l', 'o'});
    EXPECT_FALSE(media.loadImage("notes.txt"));
    writeBytes(folder.file("empty.spr"), {});
    EXPECT_FALSE(media.loadImage("empty.spr"));
}

TEST(PictureDetection, RecognisesEveryFormatByContent) {
    const Bytes tga = tgaFile(2, 24, 1, 1, {1, 2, 3});
    const Bytes png = redAndBlackPng(PNG_COLOR_TYPE_RGB);
    const Bytes jpeg = jpegFile(8, 8, 1, Bytes(64, 90), JCS_GRAYSCALE);
    const Bytes bmp = bmpFile(24, 1, 1, {}, 0, {1, 2, 3, 0});
    EXPECT_EQ(decodePicture(tga)->pixels.width, 1);
    EXPECT_EQ(decodePicture(png)->pixels.width, 2);
    EXPECT_EQ(decodePicture(jpeg)->pixels.width, 8);
    EXPECT_EQ(decodePicture(bmp)->pixels.width, 1);
    EXPECT_FALSE(decodePicture(Bytes{0, 0, 0, 0}));
    EXPECT_FALSE(decodePicture(Bytes{}));
    // Each decoder refuses the others' files, so the order never picks a wrong reading.
    for (const Bytes* file : {&png, &jpeg, &bmp}) EXPECT_FALSE(decodeTga(*file));
    for (const Bytes* file : {&tga, &jpeg, &bmp}) EXPECT_FALSE(decodePng(*file));
    for (const Bytes* file : {&tga, &png, &bmp}) EXPECT_FALSE(decodeJpeg(*file));
    for (const Bytes* file : {&tga, &png, &jpeg}) EXPECT_FALSE(decodeBmp(*file));
}

}  // namespace
