// A write replaces the old file only when every step of it worked: whichever step of a
// save fails (short write, flush, sync, close, rename), the previous file survives byte
// for byte, no side file is left behind, and the failure is reported with its reason.
// The side file is always made afresh, and never through a link planted at its name.

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cerrno>
#include <filesystem>

#include "media/files/file_table.h"
#include "support/test_support.h"

namespace {

const std::vector<uint8_t> OldBytes{9, 8, 7, 6, 5, 4, 3, 2};

int openFails(const char*, int, mode_t) {
    errno = EACCES;
    return -1;
}
size_t writeFalls(const void*, size_t, size_t, std::FILE*) {
    errno = ENOSPC;
    return 0;
}
size_t writeCutShort(const void*, size_t size, size_t, std::FILE*) {
    errno = 0;  // a short count with no reason given
    return size - 1;
}
int flushFails(std::FILE*) {
    errno = ENOSPC;
    return EOF;
}
int syncFails(int) {
    errno = EIO;
    return -1;
}
int closeFails(std::FILE* file) {
    std::fclose(file);  // the stream is gone either way, as with the real fclose
    errno = EIO;
    return EOF;
}
int renameFails(const char*, const char*) {
    errno = EXDEV;
    return -1;
}

struct WriteFailure : ::testing::Test {
    ScratchFolder folder{"write-failure"};
    WorkingFolder inFolder{folder.path()};
    FileTable files;
    void SetUp() override { writeBytes("oldgame.cws", OldBytes); }
    // Writes two values over the file; what close says.
    bool save() {
        const Stream stream = files.openForWrite("oldgame.cws");
        if (stream == 0) return false;
        files.writeI32(stream, 0x01020304);
        files.writeI32(stream, -1);
        return files.close(stream);
    }
    void expectOldFileKept(const std::string& reason) {
        EXPECT_EQ(readBytes("oldgame.cws"), OldBytes);
        EXPECT_FALSE(std::filesystem::is_regular_file(std::filesystem::symlink_status("oldgame.cws.part")));
        EXPECT_EQ(files.lastError(), reason);
    }
};

}  // namespace

TEST_F(WriteFailure, AnIntactWriteReplacesTheFile) {
    EXPECT_TRUE(save());
    EXPECT_EQ(readBytes("oldgame.cws"), (std::vector<uint8_t>{4, 3, 2, 1, 255, 255, 255, 255}));
    EXPECT_FALSE(std::filesystem::exists("oldgame.cws.part"));
}

TEST_F(WriteFailure, TheSideFileCannotBeMade) {
    files.writeCalls.open = openFails;
    EXPECT_EQ(files.openForWrite("oldgame.cws"), 0);
    expectOldFileKept("Permission denied");
}

TEST_F(WriteFailure, AWriteFails) {
    files.writeCalls.write = writeFalls;
    EXPECT_FALSE(save());
    expectOldFileKept("No space left on device");
}

TEST_F(WriteFailure, AWriteIsCutShort) {
    files.writeCalls.write = writeCutShort;
    EXPECT_FALSE(save());
    expectOldFileKept("the write was cut short");
}

TEST_F(WriteFailure, TheFlushFails) {
    files.writeCalls.flush = flushFails;
    EXPECT_FALSE(save());
    expectOldFileKept("No space left on device");
}

TEST_F(WriteFailure, TheSyncFails) {
    files.writeCalls.sync = syncFails;
    EXPECT_FALSE(save());
    expectOldFileKept("Input/output error");
}

TEST_F(WriteFailure, TheCloseFails) {
    files.writeCalls.close = closeFails;
    EXPECT_FALSE(save());
    expectOldFileKept("Input/output error");
}

TEST_F(WriteFailure, TheRenameFails) {
    files.writeCalls.rename = renameFails;
    EXPECT_FALSE(save());
    expectOldFileKept("Invalid cross-device link");
}

TEST_F(WriteFailure, AStreamLeftOpenAtTheEndLeavesTheOldFile) {
    {
        FileTable dropped;
        const Stream stream = dropped.openForWrite("oldgame.cws");
        ASSERT_NE(stream, 0);
        dropped.writeI32(stream, 1);
    }
    EXPECT_EQ(readBytes("oldgame.cws"), OldBytes);
    EXPECT_FALSE(std::filesystem::exists("oldgame.cws.part"));
}

TEST(FileReadStart, TellsMissingFromUnreadable) {
    ScratchFolder folder("read-start");
    FileTable files;
    std::vector<uint8_t> bytes{1};
    EXPECT_EQ(files.readStart(folder.file("absent"), 8, bytes), FileRead::Missing);
    EXPECT_TRUE(bytes.empty());
    EXPECT_EQ(files.readStart(folder.file("absent/deeper"), 8, bytes), FileRead::Missing);
    std::filesystem::create_directories(folder.file("a folder"));
    EXPECT_EQ(files.readStart(folder.file("a folder"), 8, bytes), FileRead::Unreadable);
    EXPECT_EQ(files.lastError(), "Is a directory");
    writeBytes(folder.file("ten"), {0, 1, 2, 3, 4, 5, 6, 7, 8, 9});
    EXPECT_EQ(files.readStart(folder.file("ten"), 4, bytes), FileRead::Read);
    EXPECT_EQ(bytes, (std::vector<uint8_t>{0, 1, 2, 3}));
}

// ---- The side file: made afresh, never through a link ------------------------------------

TEST_F(WriteFailure, ALinkAtTheSideFilesNameIsRemovedNotFollowed) {
    writeBytes("precious", {1, 2, 3});
    std::filesystem::create_symlink("precious", "oldgame.cws.part");
    EXPECT_TRUE(save());
    EXPECT_EQ(readBytes("precious"), (std::vector<uint8_t>{1, 2, 3}));
    EXPECT_EQ(readBytes("oldgame.cws"), (std::vector<uint8_t>{4, 3, 2, 1, 255, 255, 255, 255}));
    EXPECT_FALSE(std::filesystem::is_symlink("oldgame.cws"));
    // A dangling link would have made a file where it points.
    std::filesystem::create_symlink("made-by-the-save", "oldgame.cws.part");
    EXPECT_TRUE(save());
    EXPECT_FALSE(std::filesystem::exists(std::filesystem::symlink_status("made-by-the-save")));
}

TEST_F(WriteFailure, ALeftoverSideFileIsReplacedAndTheNewFileIsReadableByAll) {
    writeBytes("oldgame.cws.part", std::vector<uint8_t>(100, 9));  // a killed save's
    std::filesystem::permissions("oldgame.cws.part", std::filesystem::perms::owner_read);
    const mode_t mask = umask(022);
    EXPECT_TRUE(save());
    umask(mask);
    EXPECT_EQ(readBytes("oldgame.cws").size(), 8u);
    EXPECT_EQ(std::filesystem::status("oldgame.cws").permissions(),
              std::filesystem::perms::owner_read | std::filesystem::perms::owner_write |
                  std::filesystem::perms::group_read | std::filesystem::perms::others_read);
}

TEST_F(WriteFailure, AFolderAtTheSideFilesNameIsLeftAloneAndTheSaveFails) {
    std::filesystem::create_directories("oldgame.cws.part/inside");
    EXPECT_EQ(files.openForWrite("oldgame.cws"), 0);
    expectOldFileKept("File exists");
    EXPECT_TRUE(std::filesystem::exists("oldgame.cws.part/inside"));
    std::filesystem::remove_all("oldgame.cws.part");
}
