// A write replaces the old file only when every step of it worked: whichever step of a
// save fails (short write, flush, sync, close, rename), the previous file survives byte
// for byte, no side file is left behind, and the failure is reported with its reason.
// The side file is always made afresh under a name of its own, and never through a link
// planted at its name.

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cerrno>
#include <filesystem>
#include <set>

#include "media/files/file_table.h"
#include "media/files/safe_replace.h"
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

// The side files of "oldgame.cws" in the working folder, links included.
std::vector<std::string> sideFiles() {
    std::vector<std::string> found;
    for (const auto& entry : std::filesystem::directory_iterator("."))
        if (isSideFileOf(entry.path().filename().string(), "oldgame.cws")) found.push_back(entry.path().filename());
    return found;
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
        EXPECT_TRUE(sideFiles().empty()) << sideFiles().front();
        EXPECT_EQ(files.lastError(), reason);
    }
};

}  // namespace

TEST_F(WriteFailure, AnIntactWriteReplacesTheFile) {
    EXPECT_TRUE(save());
    EXPECT_EQ(readBytes("oldgame.cws"), (std::vector<uint8_t>{4, 3, 2, 1, 255, 255, 255, 255}));
    EXPECT_TRUE(sideFiles().empty());
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

// Calls that fail without saying why: the reason is never an older call's.
int opensTried = 0;
int openFailsSilently(const char*, int, mode_t) {
    ++opensTried;
    return -1;
}
int flushFailsSilently(std::FILE*) { return EOF; }

TEST_F(WriteFailure, ACallThatFailsWithoutAReasonIsNotGivenAnOldOne) {
    files.writeCalls.flush = flushFailsSilently;
    errno = EPERM;
    EXPECT_FALSE(save());
    expectOldFileKept("the write was cut short");
    files.writeCalls = WriteCalls{};
    files.writeCalls.open = openFailsSilently;
    errno = EEXIST;  // as if a name had been taken: it was not, so no other name is tried
    EXPECT_EQ(files.openForWrite("oldgame.cws"), 0);
    EXPECT_EQ(opensTried, 1);
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
    EXPECT_TRUE(sideFiles().empty());
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

// ---- The side file: made afresh under a name of its own, never through a link ----------

namespace {

// The names the side files were opened at, and what a planter puts at the first one just
// before it is opened: the worst moment for the writer.
std::vector<std::string> openedNames;
std::string plantedTarget;
int openPlantingALink(const char* path, int flags, mode_t mode) {
    if (openedNames.empty() && !plantedTarget.empty()) std::filesystem::create_symlink(plantedTarget, path);
    openedNames.push_back(path);
    return openWithMode(path, flags, mode);
}
int openFindingEveryNameTaken(const char* path, int, mode_t) {
    openedNames.push_back(path);
    errno = EEXIST;
    return -1;
}

}  // namespace

TEST_F(WriteFailure, ALinkPlantedAtTheSideFilesNameIsNeverFollowed) {
    writeBytes("precious", {1, 2, 3});
    files.writeCalls.open = openPlantingALink;
    // A link to a file of the player's, then one to where nothing is yet.
    for (const char* target : {"precious", "made-by-the-save"}) {
        openedNames.clear();
        plantedTarget = target;
        EXPECT_TRUE(save());
        ASSERT_EQ(openedNames.size(), 2u) << "another name is drawn after the taken one";
        EXPECT_NE(openedNames[0], openedNames[1]);
        EXPECT_TRUE(std::filesystem::is_symlink(openedNames[0]));  // left for start-up to tidy
    }
    plantedTarget.clear();
    EXPECT_EQ(readBytes("precious"), (std::vector<uint8_t>{1, 2, 3}));
    EXPECT_FALSE(std::filesystem::exists(std::filesystem::symlink_status("made-by-the-save")));
    EXPECT_EQ(readBytes("oldgame.cws"), (std::vector<uint8_t>{4, 3, 2, 1, 255, 255, 255, 255}));
    EXPECT_FALSE(std::filesystem::is_symlink("oldgame.cws"));
}

TEST_F(WriteFailure, WhenEveryNameIsTakenTheSaveFailsAndTheOldFileStays) {
    openedNames.clear();
    files.writeCalls.open = openFindingEveryNameTaken;
    EXPECT_EQ(files.openForWrite("oldgame.cws"), 0);
    expectOldFileKept("File exists");
    EXPECT_EQ(openedNames.size(), 100u);
    EXPECT_EQ(std::set<std::string>(openedNames.begin(), openedNames.end()).size(), openedNames.size());
}

// Two writes of one file at once, each with bytes of its own, as two copies of the game or a
// save of a completed level and one of leaving would make them: neither is spoiled by the
// other, and the file ends up holding one of them whole.
TEST_F(WriteFailure, TwoWritesOfOneFileAtOnceEachHaveTheirOwnSideFile) {
    FileTable other;
    const Stream first = files.openForWrite("oldgame.cws");
    const Stream second = other.openForWrite("oldgame.cws");
    ASSERT_NE(first, 0);
    ASSERT_NE(second, 0);
    EXPECT_EQ(sideFiles().size(), 2u);
    files.writeI32(first, 1111);
    other.writeI32(second, 2222);
    EXPECT_TRUE(files.close(first));
    EXPECT_EQ(readBytes("oldgame.cws"), littleEndian({1111}));
    EXPECT_TRUE(other.close(second));
    EXPECT_EQ(readBytes("oldgame.cws"), littleEndian({2222}));
    EXPECT_TRUE(sideFiles().empty());
}

TEST(SideFileNames, AreUniqueAndKnownForTheirFile) {
    std::set<std::string> names;
    for (int i = 0; i < 1000; ++i) names.insert(uniqueSideFileOf("folder/oldgame.cws"));
    EXPECT_EQ(names.size(), 1000u);
    for (const std::string& name : names) {
        EXPECT_EQ(name.rfind("folder/oldgame.cws.", 0), 0u) << name;
        EXPECT_TRUE(isSideFileOf(name.substr(7), "oldgame.cws")) << name;
        EXPECT_FALSE(isSideFileOf(name.substr(7), "oldgame.cwm")) << name;
    }
    EXPECT_TRUE(isSideFileOf("oldgame.cws.part", "oldgame.cws"));  // an older version's
    for (const char* other : {"oldgame.cws", "oldgame.cws.damaged", "oldgame.cws.abc.part", "xoldgame.cws.abcdef.part",
                              "oldgame.cws.abcdef.parts", "notes.part"})
        EXPECT_FALSE(isSideFileOf(other, "oldgame.cws")) << other;
}

TEST_F(WriteFailure, ALeftoverSideFileIsLeftAloneAndTheNewFileIsReadableByAll) {
    writeBytes("oldgame.cws.part", std::vector<uint8_t>(100, 9));  // an older version's killed save
    std::filesystem::permissions("oldgame.cws.part", std::filesystem::perms::owner_read);
    const mode_t mask = umask(022);
    EXPECT_TRUE(save());
    umask(mask);
    EXPECT_EQ(readBytes("oldgame.cws").size(), 8u);
    EXPECT_EQ(std::filesystem::status("oldgame.cws").permissions(),
              std::filesystem::perms::owner_read | std::filesystem::perms::owner_write |
                  std::filesystem::perms::group_read | std::filesystem::perms::others_read);
}

TEST_F(WriteFailure, AFolderAtAnOlderSideFilesNameIsLeftAloneAndTheSaveWorks) {
    std::filesystem::create_directories("oldgame.cws.part/inside");
    EXPECT_TRUE(save());
    EXPECT_TRUE(std::filesystem::exists("oldgame.cws.part/inside"));
    const auto openFiles = [] {
        return std::distance(std::filesystem::directory_iterator("/proc/self/fd"),
                             std::filesystem::directory_iterator());
    };
    const auto before = openFiles();
    files.removeUnfinishedWrite("oldgame.cws");  // as start-up tidies: no folder is a side file
    EXPECT_TRUE(std::filesystem::exists("oldgame.cws.part/inside"));
    EXPECT_EQ(openFiles(), before) << "the folder's listing is closed";
    std::filesystem::remove_all("oldgame.cws.part");
}
