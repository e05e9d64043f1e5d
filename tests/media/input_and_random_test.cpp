// Input counting, the random generator and raw files, through the scripted layer.

#include <gtest/gtest.h>

#include <filesystem>

#include "media/scripted/scripted_media.h"
#include "support/test_support.h"

TEST(RandomGenerator, SeedsOfZeroAndModulusBehaveAsUnseeded) {
    RandomGenerator unseeded, zero, modulus;
    zero.seed(0);
    modulus.seed(2147483647);
    for (int i = 0; i < 20; ++i) {
        const int expected = unseeded.integer(0, 1000000);
        EXPECT_EQ(zero.integer(0, 1000000), expected);
        EXPECT_EQ(modulus.integer(0, 1000000), expected);
    }
}

TEST(RandomGenerator, FollowsTheMinimalStandardSequence) {
    // 48271^n * 4660 mod (2^31 - 1), computed independently in 64 bits.
    RandomGenerator generator;
    int64_t state = 4660;
    for (int i = 0; i < 10; ++i) {
        const double unit = generator.unit();
        const int64_t s1 = state = state * 48271 % 2147483647;
        const int64_t s2 = state = state * 48271 % 2147483647;
        const double expected = ((s1 & 0x1FFFFFFC) + (s2 & 0x1FFFFFF8) / 134217728.0) / 536870912.0;
        EXPECT_DOUBLE_EQ(unit, expected);
        EXPECT_GE(unit, 0.0);
        EXPECT_LT(unit, 1.0);
    }
}

TEST(RandomGenerator, IntegerBoundsAreInclusiveInEitherOrder) {
    RandomGenerator generator;
    generator.seed(12345);
    bool sawLow = false, sawHigh = false;
    for (int i = 0; i < 20000; ++i) {
        EXPECT_EQ(generator.integer(1, 1), 1);
        EXPECT_EQ(generator.integer(5, 5), 5);
        const int value = generator.integer(450, 1);
        ASSERT_GE(value, 1);
        ASSERT_LE(value, 450);
        sawLow |= value == 1;
        sawHigh |= value == 450;
        const int byte = generator.integer(0, 255);
        ASSERT_GE(byte, 0);
        ASSERT_LE(byte, 255);
    }
    EXPECT_TRUE(sawLow);
    EXPECT_TRUE(sawHigh);
}

TEST(Input, HeldButtonsAndKeysCountOncePerPress) {
    ScriptedMedia media;
    media.pressMouse(0, MouseButton::Left);
    media.pressMouse(0, MouseButton::Left);  // still held: a repeat, not a press
    EXPECT_EQ(media.mouseHits(MouseButton::Left), 1);
    EXPECT_EQ(media.mouseHits(MouseButton::Left), 0);
    EXPECT_EQ(media.mouseDown(MouseButton::Left), 1);

    media.releaseMouse(1, MouseButton::Left);
    media.pressMouse(1, MouseButton::Left);
    media.releaseMouse(1, MouseButton::Left);
    media.pressMouse(1, MouseButton::Left);
    media.presentFrame();
    EXPECT_EQ(media.mouseHits(MouseButton::Left), 2);

    media.pressKey(2, Key::Escape);
    media.pressKey(2, Key::Escape);
    media.presentFrame();
    EXPECT_EQ(media.keyHits(Key::Escape), 1);
    EXPECT_EQ(media.keyDown(Key::Escape), 1);
}

TEST(Input, EventsAreTakenInOnceAFrameAtItsFirstQuery) {
    struct CountingMedia : ScriptedMedia {
        int pumps = 0;
        void pumpEvents() override {
            pumps += 1;
            ScriptedMedia::pumpEvents();
        }
    } media;
    media.moveMouse(1, 10, 20);
    media.tapKey(1, Key::Escape);
    EXPECT_EQ(media.mouseX(), 0);  // frame 0: the move comes in frame 1
    media.keyHits(Key::Escape), media.mouseHits(MouseButton::Left), media.mouseY(), media.keyDown(Key::Space);
    EXPECT_EQ(media.pumps, 1);
    media.presentFrame();
    EXPECT_EQ(media.pumps, 1);  // nothing is taken in until the frame asks
    EXPECT_EQ(media.mouseX(), 10);
    EXPECT_EQ(media.mouseY(), 20);
    EXPECT_EQ(media.keyHits(Key::Escape), 1);
    EXPECT_EQ(media.keyHits(Key::Escape), 0);
    EXPECT_EQ(media.pumps, 2);
    // Scripted for this frame after its events came in: the next query takes it in.
    media.pressKey(1, Key::Space);
    EXPECT_TRUE(media.keyDown(Key::Space));
    EXPECT_EQ(media.pumps, 3);
}

TEST(Input, FocusLossClearsKeysAndButtonsAndFlushClearsKeys) {
    ScriptedMedia media;
    media.pressKey(0, Key::Space);
    media.pressMouse(0, MouseButton::Right);
    media.loseFocus(0);
    EXPECT_EQ(media.keyDown(Key::Space), 0);
    EXPECT_EQ(media.keyHits(Key::Space), 0);
    EXPECT_EQ(media.mouseDown(MouseButton::Right), 0);
    EXPECT_EQ(media.mouseHits(MouseButton::Right), 0);

    media.pressKey(1, Key::Enter);
    media.presentFrame();
    media.flushKeys();
    EXPECT_EQ(media.keyDown(Key::Enter), 0);
    EXPECT_EQ(media.keyHits(Key::Enter), 0);
}

TEST(Files, ReadsPastTheEndGiveZeros) {
    ScratchFolder folder("files");
    writeBytes(folder.file("neg.bin"), {0x01, 0x00, 0x00, 0x80});
    writeBytes(folder.file("short.bin"), {0x34, 0x12});
    ScriptedMedia media;
    Stream neg = media.openForRead(folder.file("neg.bin"));
    EXPECT_EQ(media.readI32(neg), -2147483647);
    EXPECT_EQ(media.readU8(neg), 0);
    media.closeStream(neg);
    Stream shortFile = media.openForRead(folder.file("short.bin"));
    EXPECT_EQ(media.readI32(shortFile), 0x1234);
    EXPECT_EQ(media.readI32(shortFile), 0);
    media.closeStream(shortFile);
    EXPECT_EQ(media.openForRead(folder.file("missing.bin")), 0);
    EXPECT_EQ(media.readI32(0), 0);  // a stream that failed to open reads as empty
}

TEST(Files, WritesReplaceTheOldFileOnlyWhenClosed) {
    ScratchFolder folder("writes");
    const std::string path = folder.file("save.bin");
    writeBytes(path, {9, 9, 9, 9});
    ScriptedMedia media;
    Stream stream = media.openForWrite(path);
    media.writeI32(stream, 7);
    EXPECT_EQ(readBytes(path), (std::vector<uint8_t>{9, 9, 9, 9}));  // old save intact until the close
    media.closeStream(stream);
    EXPECT_EQ(readBytes(path), (std::vector<uint8_t>{7, 0, 0, 0}));
    EXPECT_FALSE(std::filesystem::exists(path + ".part"));

    EXPECT_EQ(media.openForWrite(folder.file("no/such/folder/save.bin")), 0);
    media.writeI32(0, 5);  // dropped, no crash
}

// Sorted by name, whatever order the disk keeps: the music plays in the same order everywhere.
TEST(Files, AListingGivesEveryNameSortedThenNothing) {
    ScratchFolder folder("listing");
    for (const char* name : {"b.ogg", "a.wav", "B.wav", "c", "a.ogg"}) writeBytes(folder.file(name), {1});
    ScriptedMedia media;
    DirectoryListing listing = media.openDirectory(folder.path().string());
    ASSERT_NE(listing, 0);
    for (const char* name : {".", "..", "B.wav", "a.ogg", "a.wav", "b.ogg", "c"})
        EXPECT_EQ(media.nextDirectoryEntry(listing), name);
    EXPECT_EQ(media.nextDirectoryEntry(listing), "");
    EXPECT_EQ(media.nextDirectoryEntry(listing), "");
    media.closeDirectory(listing);
    EXPECT_EQ(media.openDirectory(folder.file("missing")), 0);
}

TEST(Files, AFolderIsNoPictureOrSound) {
    ScratchFolder folder("folders");
    std::filesystem::create_directories(folder.file("song.ogg"));
    ScriptedMedia media;
    EXPECT_EQ(media.loadSound(folder.file("song.ogg"), 1), nullptr);
    EXPECT_EQ(media.loadImage(folder.file("song.ogg")), nullptr);
    EXPECT_EQ(media.openForRead(folder.file("song.ogg")), 0);
}
