// The saved game and the records file: what is read back, and what survives bad files.

#include <gtest/gtest.h>

#include "media/scripted_media.h"
#include "persist/progress.h"
#include "support/test_support.h"

namespace {

std::vector<uint8_t> littleEndian(std::initializer_list<int32_t> values) {
    std::vector<uint8_t> bytes;
    for (int32_t value : values)
        for (int shift = 0; shift < 32; shift += 8) bytes.push_back(static_cast<uint8_t>(static_cast<uint32_t>(value) >> shift));
    return bytes;
}

struct ProgressFiles : ::testing::Test {
    ScratchFolder folder{"progress"};
    WorkingFolder inFolder{folder.path()};
    ScriptedMedia media;
    Progress progress;
};

}  // namespace

TEST_F(ProgressFiles, AGoodSavedGameContinuesWhereItWasAndKeepsItsLastField) {
    writeBytes("oldgame.cwm", littleEndian({3, 12, 15, 7}));
    ASSERT_TRUE(probeSavedGame(media, progress));
    loadGame(media, progress);
    EXPECT_EQ(progress.rankIndex, 3);
    EXPECT_EQ(progress.levelIndex, 12);
    EXPECT_EQ(progress.carriedValue, 7);
    progress.levelIndex = 13;
    saveGame(media, progress);
    EXPECT_EQ(readBytes("oldgame.cwm"), littleEndian({3, 13, 16, 7}));
}

TEST_F(ProgressFiles, ATamperedOrImpossibleSavedGameStartsAfresh) {
    writeBytes("oldgame.cwm", littleEndian({3, 12, 14, 7}));
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

TEST_F(ProgressFiles, AnEmptySavedGameIsPresentAndLoadsAsTheStart) {
    EXPECT_FALSE(probeSavedGame(media, progress));
    writeBytes("oldgame.cwm", {});
    EXPECT_TRUE(probeSavedGame(media, progress));
    progress.levelIndex = 9;
    loadGame(media, progress);
    EXPECT_EQ(progress.levelIndex, 0);
    EXPECT_EQ(progress.rankIndex, 0);
}

TEST_F(ProgressFiles, RecordsRoundTripAndAShortFileLeavesZeros) {
    for (int i = 0; i < RecordCount; ++i) progress.bestTimes[i] = 1000 + i;
    saveRecords(media, progress);
    EXPECT_EQ(readBytes("oldgame.cws").size(), 312u);
    Progress loaded;
    loadRecords(media, loaded);
    EXPECT_EQ(loaded.bestTimes, progress.bestTimes);

    writeBytes("oldgame.cws", littleEndian({500, 600}));
    loadRecords(media, loaded);
    EXPECT_EQ(loaded.bestTimes[0], 500);
    EXPECT_EQ(loaded.bestTimes[1], 600);
    EXPECT_EQ(loaded.bestTimes[2], 0);
    EXPECT_EQ(loaded.bestTimes[77], 0);
}

TEST_F(ProgressFiles, MissingRecordsStartFromTheShippedTimes) {
    loadRecords(media, progress);
    for (int best : progress.bestTimes) EXPECT_EQ(best, UnbeatenTime);
}

TEST_F(ProgressFiles, ASaveThatCannotBeWrittenKeepsTheOldFile) {
    writeBytes("oldgame.cwm", littleEndian({1, 2, 3, 4}));
    // A folder where the side file would go makes the write fail.
    std::filesystem::create_directories("oldgame.cwm.part");
    progress.rankIndex = 5;
    saveGame(media, progress);
    EXPECT_EQ(readBytes("oldgame.cwm"), littleEndian({1, 2, 3, 4}));
}
