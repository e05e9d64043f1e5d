// The saved game and the records file: what is read back, and what survives bad files.

#include <gtest/gtest.h>

#include <cerrno>

#include "media/scripted/scripted_media.h"
#include "persist/progress.h"
#include "support/test_support.h"

namespace {

struct ProgressFiles : ::testing::Test {
    ScratchFolder folder{"progress"};
    WorkingFolder inFolder{folder.path()};
    ScriptedMedia media;
    Progress progress;
};

}  // namespace

TEST_F(ProgressFiles, AGoodSavedGameContinuesWhereItWasAndKeepsItsLastField) {
    // The last field is carried whole: all four of its bytes count.
    writeBytes("oldgame.cwm", littleEndian({3, 12, 15, 0x12345678}));
    ASSERT_TRUE(probeSavedGame(media, progress));
    const SavedPlace peeked = peekSavedGame(media, progress);  // as the records screen shows it
    EXPECT_TRUE(peeked.present);
    EXPECT_EQ(peeked.rankIndex, 3);
    EXPECT_EQ(peeked.levelIndex, 12);
    loadGame(media, progress);
    EXPECT_EQ(progress.rankIndex, 3);
    EXPECT_EQ(progress.levelIndex, 12);
    EXPECT_EQ(progress.carriedValue, 0x12345678);
    progress.levelIndex = 13;
    saveGame(media, progress);
    EXPECT_EQ(readBytes("oldgame.cwm"), littleEndian({3, 13, 16, 0x12345678}));
}

TEST_F(ProgressFiles, ARunThatReadNoSavedGameWritesZeroInTheLastField) {
    Progress fresh;  // as the program starts: first level, first rank, no points toward the next
    EXPECT_EQ(fresh.levelIndex, 0);
    EXPECT_EQ(fresh.rankIndex, 0);
    EXPECT_EQ(fresh.rankPoints, 0);
    fresh.rankIndex = 2;
    fresh.levelIndex = 4;
    saveGame(media, fresh);
    EXPECT_EQ(readBytes("oldgame.cwm"), littleEndian({2, 4, 6, 0}));
}

TEST_F(ProgressFiles, ATamperedOrImpossibleSavedGameStartsAfresh) {
    writeBytes("oldgame.cwm", littleEndian({3, 12, 14, 7}));
    const SavedPlace peeked = peekSavedGame(media, progress);
    EXPECT_TRUE(peeked.present);
    EXPECT_EQ(peeked.levelIndex, 0);
    loadGame(media, progress);
    EXPECT_EQ(progress.rankIndex, 0);
    EXPECT_EQ(progress.levelIndex, 0);
    EXPECT_EQ(progress.carriedValue, 7);

    // Passes the check but names a level the game does not have.
    writeBytes("oldgame.cwm", littleEndian({2, 500, 502, 0}));
    loadGame(media, progress);
    EXPECT_EQ(progress.levelIndex, 0);
    EXPECT_EQ(progress.rankIndex, 0);
}

TEST_F(ProgressFiles, TheFirstAndLastLevelsAndRanksAreKeptAndOneBeyondIsNot) {
    struct Case {
        int32_t rank, level;
        bool kept;
    };
    const Case cases[] = {{9, 77, true},  {3, 0, true},   {0, 77, true},  {9, 0, true},
                          {10, 0, false}, {0, 78, false}, {-1, 5, false}, {4, -1, false}};
    for (const Case& c : cases) {
        writeBytes("oldgame.cwm", littleEndian({c.rank, c.level, c.rank + c.level, 7}));
        progress.rankIndex = progress.levelIndex = 55;
        loadGame(media, progress);
        EXPECT_EQ(progress.rankIndex, c.kept ? c.rank : 0) << c.rank << "/" << c.level;
        EXPECT_EQ(progress.levelIndex, c.kept ? c.level : 0) << c.rank << "/" << c.level;
    }
    progress.rankIndex = 6;
    progress.levelIndex = 70;
    saveGame(media, progress);
    EXPECT_EQ(readBytes("oldgame.cwm"), littleEndian({6, 70, 76, 7}));
}

TEST_F(ProgressFiles, AnEmptySavedGameIsPresentAndLoadsAsTheStart) {
    EXPECT_FALSE(probeSavedGame(media, progress));
    EXPECT_FALSE(peekSavedGame(media, progress).present);
    writeBytes("oldgame.cwm", {});
    EXPECT_TRUE(probeSavedGame(media, progress));
    progress.levelIndex = 9;
    loadGame(media, progress);
    EXPECT_EQ(progress.levelIndex, 0);
    EXPECT_EQ(progress.rankIndex, 0);
}

TEST_F(ProgressFiles, RecordsRoundTripAndAShortFileLeavesTheRestUnplayed) {
    for (int i = 0; i < RecordCount; ++i) progress.bestTimes[i] = 1000 + i;
    saveRecords(media, progress);
    EXPECT_EQ(readBytes("oldgame.cws").size(), 312u);
    Progress loaded;
    loadRecords(media, loaded);
    EXPECT_EQ(loaded.bestTimes, progress.bestTimes);
    EXPECT_TRUE(media.warnings.empty());

    writeBytes("oldgame.cws", littleEndian({500, 600}));
    loadRecords(media, loaded);
    EXPECT_EQ(loaded.bestTimes[0], 500);
    EXPECT_EQ(loaded.bestTimes[1], 600);
    EXPECT_EQ(loaded.bestTimes[2], UnbeatenTime);
    EXPECT_EQ(loaded.bestTimes[77], UnbeatenTime);
}

TEST_F(ProgressFiles, MissingRecordsStartFromTheShippedTimes) {
    loadRecords(media, progress);
    for (int best : progress.bestTimes)
        EXPECT_EQ(best, (99 * 60 + 59) * 60);  // shown as 99:59, beaten by any real time
}

namespace {

int openRefused(const char*, int, mode_t) {
    errno = EACCES;
    return -1;
}

}  // namespace

TEST_F(ProgressFiles, ASaveThatCannotBeWrittenKeepsTheOldFile) {
    writeBytes("oldgame.cwm", littleEndian({1, 2, 3, 4}));
    // The side file cannot be made, as in a folder that takes no new files.
    media.fileWriteCalls().open = openRefused;
    progress.rankIndex = 5;
    saveGame(media, progress);
    EXPECT_EQ(readBytes("oldgame.cwm"), littleEndian({1, 2, 3, 4}));
}

namespace {

// Files the process holds open right now.
size_t openFiles() {
    return static_cast<size_t>(
        std::distance(std::filesystem::directory_iterator("/proc/self/fd"), std::filesystem::directory_iterator()));
}

}  // namespace

TEST_F(ProgressFiles, ReadingTheFilesLeavesNoneOpen) {
    // A long session probes and reads them again and again; a handle left open each time
    // would in the end keep the game from opening anything.
    writeBytes("oldgame.cwm", littleEndian({1, 2, 3, 4}));
    writeBytes("oldgame.cws", littleEndian({5, 6}));
    const size_t before = openFiles();
    for (int i = 0; i < 20; ++i) {
        EXPECT_TRUE(probeSavedGame(media, progress));
        loadGame(media, progress);
        loadRecords(media, progress);
        saveGame(media, progress);
        saveRecords(media, progress);
    }
    EXPECT_EQ(openFiles(), before);
}
