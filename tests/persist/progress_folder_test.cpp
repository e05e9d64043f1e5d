// Progress files in a folder of their own: made on the first save, read from there,
// and every way a save or a read can fail leaves the player's files as they were.

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <filesystem>
#include <thread>

#include "media/files/safe_replace.h"
#include "media/scripted/scripted_media.h"
#include "persist/progress.h"
#include "support/test_support.h"

namespace {

namespace fs = std::filesystem;

bool mentions(const std::vector<std::string>& warnings, const std::string& part1, const std::string& part2) {
    return std::any_of(warnings.begin(), warnings.end(), [&](const std::string& warning) {
        return warning.find(part1) != std::string::npos && warning.find(part2) != std::string::npos;
    });
}

struct PlayerProgressFolder : ::testing::Test {
    ScratchFolder scratch{"progress-folder"};
    WorkingFolder inFolder{scratch.path()};
    ScriptedMedia media;
    Progress progress;
    fs::path playerFolder = scratch.path() / "home/.local/share/cablewright";
    void SetUp() override { progress.files.folder = playerFolder.string(); }
    std::string inPlayerFolder(const char* name) const { return (playerFolder / name).string(); }
};

}  // namespace

TEST_F(PlayerProgressFolder, TheFirstSaveMakesTheFolderAndLaterRunsReadFromIt) {
    EXPECT_FALSE(probeSavedGame(media, progress));
    loadRecords(media, progress);
    EXPECT_EQ(progress.bestTimes[5], UnbeatenTime);
    EXPECT_FALSE(fs::exists(playerFolder));  // nothing is made before there is something to save

    progress.rankIndex = 2;
    progress.levelIndex = 7;
    progress.bestTimes[5] = 1234;
    saveGame(media, progress);
    saveRecords(media, progress);
    EXPECT_EQ(readBytes(inPlayerFolder("oldgame.cwm")), littleEndian({2, 7, 9, 0}));
    EXPECT_EQ(readBytes(inPlayerFolder("oldgame.cws")).size(), 312u);
    EXPECT_FALSE(fs::exists("oldgame.cwm"));  // not in the working folder
    EXPECT_TRUE(media.warnings.empty());

    Progress nextRun;
    nextRun.files.folder = playerFolder.string();
    ASSERT_TRUE(probeSavedGame(media, nextRun));
    loadGame(media, nextRun);
    loadRecords(media, nextRun);
    EXPECT_EQ(nextRun.levelIndex, 7);
    EXPECT_EQ(nextRun.rankIndex, 2);
    EXPECT_EQ(nextRun.bestTimes[5], 1234);
    EXPECT_EQ(nextRun.bestTimes[6], UnbeatenTime);
}

TEST_F(PlayerProgressFolder, AFolderThatCannotBeMadeSaysWhereAndWhyAndPlayGoesOn) {
    // A plain file where the data folder should be: no one, not even root, can make it.
    writeBytes((scratch.path() / "home/.local/share").string(), {1});
    saveGame(media, progress);
    saveRecords(media, progress);
    ASSERT_EQ(media.warnings.size(), 2u);
    EXPECT_TRUE(mentions(media.warnings, inPlayerFolder("oldgame.cwm"), "Not a directory")) << media.warnings[0];
    EXPECT_TRUE(mentions(media.warnings, inPlayerFolder("oldgame.cws"), "Not a directory")) << media.warnings[1];
    EXPECT_EQ(readBytes((scratch.path() / "home/.local/share").string()), std::vector<uint8_t>{1});
}

namespace {

// Side files of the saved game cannot be made; the records' can.
int openRefusingTheSavedGame(const char* path, int flags, mode_t mode) {
    if (std::string(path).find("oldgame.cwm") != std::string::npos) {
        errno = EACCES;
        return -1;
    }
    return openWithMode(path, flags, mode);
}

}  // namespace

TEST_F(PlayerProgressFolder, ASaveThatCannotBeWrittenSaysWhyOnceAndKeepsThePreviousFile) {
    writeBytes(inPlayerFolder("oldgame.cwm"), littleEndian({1, 2, 3, 4}));
    media.fileWriteCalls().open = openRefusingTheSavedGame;
    progress.rankIndex = 5;
    saveGame(media, progress);
    saveProgressSoon(media, progress);  // as the next completed level would
    noteFinishedSaves(media, progress);
    saveGame(media, progress);
    EXPECT_EQ(readBytes(inPlayerFolder("oldgame.cwm")), littleEndian({1, 2, 3, 4}));
    ASSERT_EQ(media.warnings.size(), 1u) << "said once, not at every save";
    EXPECT_TRUE(mentions(media.warnings, inPlayerFolder("oldgame.cwm"), "Permission denied")) << media.warnings[0];

    // Once a save has worked again, the next failure is news again.
    media.fileWriteCalls().open = openWithMode;
    saveProgressSoon(media, progress);
    noteFinishedSaves(media, progress);
    EXPECT_EQ(readBytes(inPlayerFolder("oldgame.cwm")), littleEndian({5, 0, 5, 0}));
    media.fileWriteCalls().open = openRefusingTheSavedGame;
    saveGame(media, progress);
    EXPECT_EQ(media.warnings.size(), 2u);
}

TEST_F(PlayerProgressFolder, AFullDiskKeepsThePreviousSavesByteForByteWhenLeavingAndWhenCompleting) {
    const auto savedBefore = littleEndian({4, 30, 34, 99});
    const auto recordsBefore = littleEndian({600, 700});
    writeBytes(inPlayerFolder("oldgame.cwm"), savedBefore);
    writeBytes(inPlayerFolder("oldgame.cws"), recordsBefore);
    media.fileWriteCalls().write = [](const void*, size_t, size_t, std::FILE*) -> size_t {
        errno = ENOSPC;
        return 0;
    };
    progress.levelIndex = 31;
    saveProgressSoon(media, progress);
    noteFinishedSaves(media, progress);
    saveProgress(media, progress);
    EXPECT_EQ(readBytes(inPlayerFolder("oldgame.cwm")), savedBefore);
    EXPECT_EQ(readBytes(inPlayerFolder("oldgame.cws")), recordsBefore);
    EXPECT_EQ(std::distance(fs::directory_iterator(playerFolder), fs::directory_iterator()), 2)
        << "no side file is left";
    ASSERT_EQ(media.warnings.size(), 2u) << "one for each file";
    EXPECT_TRUE(mentions(media.warnings, inPlayerFolder("oldgame.cwm"), "No space left on device"))
        << media.warnings[0];
    EXPECT_TRUE(mentions(media.warnings, inPlayerFolder("oldgame.cws"), "No space left on device"))
        << media.warnings[1];
    // Leaving play writes the best times first too, and its failures are told in that order.
    ScriptedMedia leaving;
    leaving.fileWriteCalls().write = media.fileWriteCalls().write;
    Progress fresh;
    fresh.files.folder = playerFolder.string();
    saveProgress(leaving, fresh);
    ASSERT_EQ(leaving.warnings.size(), 2u);
    EXPECT_NE(leaving.warnings[0].find("oldgame.cws"), std::string::npos) << leaving.warnings[0];
}

// The completed level's saves fail on a full disk, on their own thread, and the disk has room
// again by the time play is left: leaving first tells how they went, then saves anew, and
// nothing is left marked unsaved.
TEST_F(PlayerProgressFolder, LeavingPlayTellsHowTheCompletedLevelsSavesWentBeforeSavingAgain) {
    struct WritesOnTheirThread : ScriptedMedia {
        WritesOnTheirThread() { files.writeQueuedOnTheirThread(); }
    } threaded;
    threaded.fileWriteCalls().write = [](const void*, size_t, size_t, std::FILE*) -> size_t {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));  // still writing as play is left
        errno = ENOSPC;
        return 0;
    };
    saveProgressSoon(threaded, progress);
    threaded.fileWriteCalls() = WriteCalls{};
    progress.levelIndex = 9;
    saveProgress(threaded, progress);
    ASSERT_EQ(threaded.warnings.size(), 2u);
    EXPECT_TRUE(mentions(threaded.warnings, inPlayerFolder("oldgame.cwm"), "No space left on device"));
    EXPECT_TRUE(progress.files.unsavedFiles.empty());
    EXPECT_EQ(readBytes(inPlayerFolder("oldgame.cwm")), littleEndian({0, 9, 9, 0}));
    noteFinishedSaves(threaded, progress);
    EXPECT_EQ(threaded.warnings.size(), 2u);
    EXPECT_TRUE(progress.files.unsavedFiles.empty());
}

// A crash between the two files of a save (here the second never lands): the completed
// level is played again with its best time kept, rather than the next level started with
// the best time lost.
TEST_F(PlayerProgressFolder, ASaveCutShortAfterItsFirstFileKeepsTheBestTime) {
    const auto savedBefore = littleEndian({4, 30, 34, 99});
    writeBytes(inPlayerFolder("oldgame.cwm"), savedBefore);
    media.fileWriteCalls().rename = [](const char* from, const char* to) {
        static int renames = 0;
        if (++renames == 2) {
            errno = EIO;
            return -1;
        }
        return ::rename(from, to);
    };
    progress.bestTimes.fill(UnbeatenTime);
    progress.bestTimes[30] = 1234;  // level 30 has just been completed
    progress.levelIndex = 31;
    saveProgressSoon(media, progress);
    noteFinishedSaves(media, progress);
    EXPECT_EQ(readBytes(inPlayerFolder("oldgame.cwm")), savedBefore);
    const std::vector<uint8_t> records = readBytes(inPlayerFolder("oldgame.cws"));
    ASSERT_EQ(records.size(), 4u * RecordCount);
    EXPECT_EQ(records[4 * 30] | records[4 * 30 + 1] << 8, 1234);
}

// A request to end at once that comes while the first file of the leaving save is written
// waits for the second: both are written, and the program ends right after.
ScriptedMedia* endRequestedDuringWrites = nullptr;
size_t writeWithAnEndRequest(const void* data, size_t size, size_t count, std::FILE* file) {
    if (endRequestedDuringWrites) endRequestedDuringWrites->requestQuitNow();
    return std::fwrite(data, size, count, file);
}

TEST_F(PlayerProgressFolder, AnEndRequestedDuringTheLeavingSaveWaitsForBothFiles) {
    media.requestQuitNow();
    ASSERT_TRUE(media.quitRequested());  // the first request is being handled: the next ends at once
    progress.rankIndex = 2, progress.levelIndex = 7;
    media.fileWriteCalls().write = writeWithAnEndRequest;
    endRequestedDuringWrites = &media;
    EXPECT_THROW(saveProgress(media, progress), EndedAtOnce);
    endRequestedDuringWrites = nullptr;
    EXPECT_EQ(readBytes(inPlayerFolder("oldgame.cws")).size(), 4u * RecordCount);
    EXPECT_EQ(readBytes(inPlayerFolder("oldgame.cwm")), littleEndian({2, 7, 9, 0}));
}

// Someone who can write to the progress folder plants links at the names an older version
// gave its side files, to a file of the player's and to a file that does not exist yet.
TEST_F(PlayerProgressFolder, LinksPlantedAtTheSideFilesNamesAreNeverFollowed) {
    const fs::path precious = scratch.path() / "precious";
    writeBytes(precious.string(), {1, 2, 3});
    fs::create_directories(playerFolder);
    fs::create_symlink(precious, inPlayerFolder("oldgame.cwm.part"));
    fs::create_symlink(scratch.path() / "planted", inPlayerFolder("oldgame.cws.part"));
    progress.levelIndex = 9;
    saveProgress(media, progress);
    EXPECT_EQ(readBytes(precious.string()), (std::vector<uint8_t>{1, 2, 3}));
    EXPECT_FALSE(fs::exists(fs::symlink_status(scratch.path() / "planted")));
    EXPECT_EQ(readBytes(inPlayerFolder("oldgame.cwm")), littleEndian({0, 9, 9, 0}));
    EXPECT_EQ(readBytes(inPlayerFolder("oldgame.cws")).size(), 312u);
    EXPECT_FALSE(fs::is_symlink(inPlayerFolder("oldgame.cwm")));
    EXPECT_TRUE(media.warnings.empty());
    removeUnfinishedSaves(media, progress);  // the next start tidies them
    EXPECT_FALSE(fs::exists(fs::symlink_status(inPlayerFolder("oldgame.cwm.part"))));
    EXPECT_EQ(readBytes(precious.string()), (std::vector<uint8_t>{1, 2, 3}));
}

TEST_F(PlayerProgressFolder, TheSideFilesOfAKilledSaveAreRemovedAndNothingElse) {
    fs::create_directories(playerFolder);
    writeBytes(inPlayerFolder("oldgame.cwm"), littleEndian({1, 1, 2, 0}));
    writeBytes(inPlayerFolder("oldgame.cwm.part"), {1, 0});  // an older version's, killed after two bytes
    fs::create_symlink("/nowhere", inPlayerFolder("oldgame.cws.part"));
    writeBytes(inPlayerFolder("oldgame.cwm.x7Qa2Z.part"), {});  // killed before its first byte
    writeBytes(inPlayerFolder("oldgame.cws.0aB9zz.part"), {1, 2, 3});
    writeBytes(inPlayerFolder("notes.part"), {7});
    writeBytes(inPlayerFolder("notes.cwm.abcdef.part"), {7});
    writeBytes(inPlayerFolder("oldgame.cws.damaged"), {7});
    removeUnfinishedSaves(media, progress);
    for (const char* gone :
         {"oldgame.cwm.part", "oldgame.cws.part", "oldgame.cwm.x7Qa2Z.part", "oldgame.cws.0aB9zz.part"})
        EXPECT_FALSE(fs::exists(fs::symlink_status(inPlayerFolder(gone)))) << gone;
    EXPECT_EQ(readBytes(inPlayerFolder("oldgame.cwm")), littleEndian({1, 1, 2, 0}));
    for (const char* kept : {"notes.part", "notes.cwm.abcdef.part", "oldgame.cws.damaged"})
        EXPECT_TRUE(fs::exists(inPlayerFolder(kept))) << kept;
}

// ---- Files that are there but cannot be read -------------------------------------------

// A folder in a progress file's place opens but every read of it fails, like a bad disk.
TEST_F(PlayerProgressFolder, UnreadableRecordsAreNamedAndNeverOverwritten) {
    fs::create_directories(inPlayerFolder("oldgame.cws"));
    writeBytes(inPlayerFolder("oldgame.cws/inside"), {7});
    loadRecords(media, progress);
    EXPECT_EQ(progress.bestTimes[0], UnbeatenTime);  // play goes on with the shipped times
    ASSERT_EQ(media.warnings.size(), 1u);
    EXPECT_TRUE(mentions(media.warnings, inPlayerFolder("oldgame.cws"), "left untouched")) << media.warnings[0];

    progress.bestTimes[0] = 100;
    saveGame(media, progress);
    saveRecords(media, progress);
    EXPECT_EQ(readBytes(inPlayerFolder("oldgame.cws/inside")), std::vector<uint8_t>{7});
    EXPECT_TRUE(fs::exists(inPlayerFolder("oldgame.cwm")));  // the other file is saved as usual
    ASSERT_EQ(media.warnings.size(), 2u);
    EXPECT_TRUE(mentions(media.warnings, "best times not saved", inPlayerFolder("oldgame.cws")));
}

TEST_F(PlayerProgressFolder, RecordsWithoutReadPermissionAreKeptAsTheyAre) {
    if (geteuid() == 0) GTEST_SKIP() << "root reads every file";
    const auto before = littleEndian({300, 400});
    writeBytes(inPlayerFolder("oldgame.cws"), before);
    fs::permissions(inPlayerFolder("oldgame.cws"), fs::perms::owner_write);
    loadRecords(media, progress);
    saveRecords(media, progress);
    fs::permissions(inPlayerFolder("oldgame.cws"), fs::perms::owner_read | fs::perms::owner_write);
    EXPECT_EQ(readBytes(inPlayerFolder("oldgame.cws")), before);
    EXPECT_TRUE(mentions(media.warnings, inPlayerFolder("oldgame.cws"), "Permission denied"));
}

TEST_F(PlayerProgressFolder, AnUnreadableSavedGameOffersNoContinueIsNamedOnceAndIsKept) {
    fs::create_directories(inPlayerFolder("oldgame.cwm"));
    EXPECT_FALSE(probeSavedGame(media, progress));
    EXPECT_FALSE(probeSavedGame(media, progress));  // the next menu visit does not repeat it
    ASSERT_EQ(media.warnings.size(), 1u);
    EXPECT_TRUE(mentions(media.warnings, inPlayerFolder("oldgame.cwm"), "cannot read"));

    saveGame(media, progress);
    EXPECT_TRUE(fs::is_directory(inPlayerFolder("oldgame.cwm")));
    EXPECT_TRUE(mentions(media.warnings, "game not saved", inPlayerFolder("oldgame.cwm")));
    EXPECT_EQ(media.warnings.size(), 2u) << "and no attempt to write over it";

    // Once it can be read again it is an ordinary saved game.
    fs::remove(inPlayerFolder("oldgame.cwm"));
    writeBytes(inPlayerFolder("oldgame.cwm"), littleEndian({1, 1, 2, 0}));
    EXPECT_TRUE(probeSavedGame(media, progress));
    progress.levelIndex = 3;
    saveGame(media, progress);
    EXPECT_EQ(readBytes(inPlayerFolder("oldgame.cwm")), littleEndian({0, 3, 3, 0}));
}

TEST_F(PlayerProgressFolder, MissingAndShortFilesAreNoProblem) {
    loadRecords(media, progress);
    EXPECT_FALSE(probeSavedGame(media, progress));
    writeBytes(inPlayerFolder("oldgame.cwm"), {5, 0});
    EXPECT_TRUE(probeSavedGame(media, progress));
    loadGame(media, progress);  // 5 + 0 does not match a check of 0
    EXPECT_EQ(progress.rankIndex, 0);
    EXPECT_TRUE(media.warnings.empty());
    writeBytes(inPlayerFolder("oldgame.cws"), {0x10, 0x27, 0, 0});
    loadRecords(media, progress);
    EXPECT_EQ(progress.bestTimes[0], 10000);
    EXPECT_EQ(progress.bestTimes[1], UnbeatenTime);  // unplayed, not a time of 00:00
}
