// Loading pictures through the media layer: recognised by content whatever the
// file is called, masked unless they carry alpha, kept whole or cut into a strip.

#include <gtest/gtest.h>

#include "media/pictures/picture_file.h"
#include "media/pictures/picture_sets.h"
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

// The set of scale 2 beside the first: the same names under gfx@2/, twice the pixels each way.
TEST_F(PictureLoading, ReadsTheSetOfTheChosenScaleAndMeasuresInLogicalPixels) {
    writeBytes(folder.file("gfx/panel.spr"), redAndBlackPng(PNG_COLOR_TYPE_RGB));
    // 4 x 2: a green column pair, then a blue one; no black, so nothing is masked.
    const Bytes row = {0, 255, 0, 0, 255, 0, 0, 0, 255, 0, 0, 255};
    writeBytes(folder.file("gfx@2/panel.spr"), pngFile(pngSpec(4, 2, PNG_COLOR_TYPE_RGB, 8, {row, row})));
    media.setPictureScale(2);
    EXPECT_EQ(media.picturePath("gfx/panel.spr"), "gfx@2/panel.spr");
    const auto image = media.loadImage("gfx/panel.spr");
    ASSERT_TRUE(image);
    EXPECT_EQ(image->width, 2);
    EXPECT_EQ(image->height, 1);
    EXPECT_EQ(image->pixelScale, 2);
    ASSERT_EQ(image->frames.size(), 1u);
    EXPECT_EQ(image->frames[0].width, 4);
    EXPECT_EQ(image->frames[0].height, 2);
    EXPECT_EQ(pixelAt(image->frames[0], 1, 1), (Rgba{0, 255, 0, 255}));
    EXPECT_EQ(pixelAt(image->frames[0], 2, 0), (Rgba{0, 0, 255, 255}));
    MediaLayer::centreImageHandle(*image);
    EXPECT_EQ(image->handleX, 1.0f);
    EXPECT_EQ(image->handleY, 0.5f);
    media.setPictureScale(1);
    EXPECT_EQ(media.loadImage("gfx/panel.spr")->pixelScale, 1);
}

TEST_F(PictureLoading, CutsAStripOfTheChosenScaleIntoCellsOfTheirLogicalSize) {
    // 64 x 128 logical, so 192 x 384 at scale 3: the bottom half (stored first) grey 1, the top grey 2.
    Bytes data(192 * 192 * 3, 1);
    data.insert(data.end(), 192 * 192 * 3, 2);
    writeBytes(folder.file("gfx@3/strip.spr"), tgaFile(2, 24, 192, 384, data));
    media.setPictureScale(3);
    const auto strip = media.loadImageStrip("gfx/strip.spr", 64, 64, 0, 2);
    ASSERT_TRUE(strip);
    EXPECT_EQ(strip->width, 64);
    EXPECT_EQ(strip->height, 64);
    EXPECT_EQ(strip->pixelScale, 3);
    ASSERT_EQ(strip->frameCount(), 2);
    EXPECT_EQ(strip->frames[1].width, 192);
    EXPECT_EQ(strip->frames[1].height, 192);
    EXPECT_EQ(pixelAt(strip->frames[0], 191, 191), (Rgba{2, 2, 2, 255}));
    EXPECT_EQ(pixelAt(strip->frames[1], 0, 0), (Rgba{1, 1, 1, 255}));
    EXPECT_FALSE(media.loadImageStrip("gfx/strip.spr", 64, 64, 0, 3));
}

// A set that lacks a picture, or holds one that is not a whole number of logical pixels, is
// broken: the picture is not loaded (the game then stops naming the file), never taken from
// another set.
TEST_F(PictureLoading, ASetOfAnotherScaleIsNeverAStandIn) {
    writeBytes(folder.file("gfx/panel.spr"), redAndBlackPng(PNG_COLOR_TYPE_RGB));
    writeBytes(folder.file("gfx@2/odd.spr"), redAndBlackPng(PNG_COLOR_TYPE_RGB));  // 2 x 1: half a logical row
    media.setPictureScale(2);
    EXPECT_FALSE(media.loadImage("gfx/panel.spr"));
    EXPECT_FALSE(media.loadImage("gfx/odd.spr"));
    EXPECT_FALSE(media.loadImageStrip("gfx/odd.spr", 1, 1, 0, 1)) << "a 2 x 1 picture holds no 2 x 2 cell";
}

TEST_F(PictureLoading, PicturesOutsideTheSetsAreReadAsTheyAre) {
    writeBytes(folder.file("plain.vvx"), redAndBlackPng(PNG_COLOR_TYPE_RGB));
    media.setPictureScale(2);
    const auto image = media.loadImage("plain.vvx");
    ASSERT_TRUE(image);
    EXPECT_EQ(image->width, 2);
    EXPECT_EQ(image->pixelScale, 1);
}

TEST(PictureSetPaths, EachScaleHasItsFolderAndOtherFilesStayPut) {
    EXPECT_EQ(scaledPicturePath("gfx/panel.spr", 1), "gfx/panel.spr");
    EXPECT_EQ(scaledPicturePath("gfx/panel.spr", 2), "gfx@2/panel.spr");
    EXPECT_EQ(scaledPicturePath("gfx/back/b1.vvx", 3), "gfx@3/back/b1.vvx");
    EXPECT_EQ(scaledPicturePath("gfx\\back\\b1.vvx", 2), "gfx@2\\back\\b1.vvx");
    EXPECT_EQ(scaledPicturePath("sfx/click.wav", 2), "sfx/click.wav");
    EXPECT_EQ(scaledPicturePath("gfxtra/a.spr", 2), "gfxtra/a.spr");
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

// A picture of more pixels than the 800 x 600 screen (the backgrounds of the larger sets) is
// held as its file's bytes, and its pixels are decoded again, masked as they were, when a
// drawing path asks; the screen's size or less keeps its pixels.
TEST_F(PictureLoading, APictureLargerThanTheScreenIsKeptAsItsFileAndDecodesAlike) {
    const auto redPicture = [](int width, int height) {
        std::vector<Bytes> rows(height, Bytes{});
        for (Bytes& row : rows)
            for (int x = 0; x < width; ++x) row.insert(row.end(), {200, 0, 0});
        rows[2][9] = rows[2][10] = rows[2][11] = 128;                               // grey at (3, 2)
        rows[height - 1][width * 3 - 3] = rows[height - 1][width * 3 - 3 + 1] = 0;  // black in the corner
        rows[height - 1][width * 3 - 3 + 2] = 0;
        return pngFile(pngSpec(width, height, PNG_COLOR_TYPE_RGB, 8, rows));
    };
    const Bytes largeFile = redPicture(801, 600);
    writeBytes(folder.file("gfx/large.vvx"), largeFile);
    writeBytes(folder.file("gfx/screen.vvx"), redPicture(800, 600));
    const auto large = media.loadImage("gfx/large.vvx");
    ASSERT_TRUE(large);
    EXPECT_TRUE(large->frames.empty());
    ASSERT_TRUE(large->file);
    EXPECT_EQ(large->file->bytes, largeFile);
    EXPECT_EQ(large->frameCount(), 1);
    EXPECT_FALSE(large->file->opaque) << "its black corner is masked";
    const FramePixels pixels(*large);
    ASSERT_EQ(pixels.count(), 1);
    EXPECT_EQ(pixels[0].width, 801);
    EXPECT_EQ(pixels[0].height, 600);
    EXPECT_EQ(pixelAt(pixels[0], 3, 2), (Rgba{128, 128, 128, 255}));
    EXPECT_EQ(pixelAt(pixels[0], 800, 599), (Rgba{200, 0, 0, 0}));
    EXPECT_TRUE(media.loadImage("gfx/large.vvx", ImageFiltered)->file->opaque) << "unmasked";

    const auto screen = media.loadImage("gfx/screen.vvx");
    ASSERT_TRUE(screen);
    EXPECT_FALSE(screen->file);
    ASSERT_EQ(screen->frames.size(), 1u);
    EXPECT_EQ(pixelAt(screen->frames[0], 799, 599), (Rgba{200, 0, 0, 0}));
}

// A level's background is read again at every level start: the same bytes give the picture
// kept before, sharing its file (what a drawing path made of it is found again) without being
// decoded; bytes that changed are decoded anew.
TEST_F(PictureLoading, ALargePictureReadAgainFromTheSameBytesIsThePictureKeptBefore) {
    const auto greyPicture = [](uint8_t grey) {
        std::vector<Bytes> rows(600, Bytes(801 * 3, grey));
        return pngFile(pngSpec(801, 600, PNG_COLOR_TYPE_RGB, 8, rows));
    };
    writeBytes(folder.file("gfx/back/b2.vvx"), greyPicture(90));
    const auto first = media.loadImage("gfx/back/b2.vvx");
    const auto again = media.loadImage("gfx/back/b2.vvx");
    ASSERT_TRUE(first && again && first->file);
    EXPECT_EQ(again->file, first->file);
    EXPECT_EQ(again->width, 801);
    EXPECT_EQ(again->height, 600);
    EXPECT_NE(media.loadImage("gfx/back/b2.vvx", ImageFiltered)->file, first->file) << "other flags, other pixels";
    writeBytes(folder.file("gfx/back/b2.vvx"), greyPicture(200));
    const auto changed = media.loadImage("gfx/back/b2.vvx");
    ASSERT_TRUE(changed && changed->file);
    EXPECT_NE(changed->file, first->file);
    EXPECT_EQ(pixelAt(FramePixels(*changed)[0], 5, 5), (Rgba{200, 200, 200, 255}));
    writeBytes(folder.file("gfx/back/b2.vvx"), Bytes{1, 2, 3});
    EXPECT_FALSE(media.loadImage("gfx/back/b2.vvx")) << "no longer a picture";
}

}  // namespace
