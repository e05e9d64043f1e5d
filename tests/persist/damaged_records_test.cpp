// A records file cut short or emptied (a full disk, a crash of an older version, a copy that
// stopped half-way) is not a table of zero times, which could never be beaten: the entries it
// lacks are unplayed, the player is told, and the damaged file is kept beside before the
// next save writes the whole file again.

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>

#include "media/files/safe_replace.h"
#include "media/scripted/scripted_media.h"
#include "persist/progress.h"
#include "support/test_support.h"

namespace {

namespace fs = std::filesystem;

struct DamagedRecords : ::testing::TestWithParam<size_t> {
    ScratchFolder folder{"damaged-records"};
    WorkingFolder inFolder{folder.path()};
    ScriptedMedia media;
    Progress progress;
    std::vector<uint8_t> whole;
    void SetUp() override {
        std::vector<int32_t> times;
        for (int i = 0; i < RecordCount; ++i) times.push_back(1000 + i);
        whole = littleEndian(times);
    }
    std::vector<uint8_t> cut(size_t bytes) const { return {whole.begin(), whole.begin() + bytes}; }
};

int openRefusingTheDamagedCopy(const char* path, int flags, mode_t mode) {
    if (std::string(path).find(".damaged") != std::string::npos) {
        errno = EACCES;
        return -1;
    }
    return openWithMode(path, flags, mode);
}

}  // namespace

TEST_P(DamagedRecords, MissingEntriesAreUnplayedTheFileIsKeptBesideAndTheNextSaveIsWhole) {
    const size_t size = GetParam();
    const int kept = static_cast<int>(size / 4);  // entries read whole
    writeBytes("oldgame.cws", cut(size));
    loadRecords(media, progress);
    for (int i = 0; i < RecordCount; ++i)
        EXPECT_EQ(progress.bestTimes[i], i < kept ? 1000 + i : UnbeatenTime) << "level " << i + 1;

    ASSERT_EQ(media.warnings.size(), 1u);
    const std::string& warning = media.warnings[0];
    const std::string levels = kept + 1 == RecordCount ? "level 78" : "levels " + std::to_string(kept + 1) + " to 78";
    EXPECT_EQ(warning, "oldgame.cws is damaged (it holds " + std::to_string(size) +
                           " of its 312 bytes): the best times of " + levels +
                           " read as 99:59; the damaged file is kept as oldgame.cws.damaged");
    EXPECT_EQ(readBytes("oldgame.cws.damaged"), cut(size));
    EXPECT_EQ(readBytes("oldgame.cws"), cut(size)) << "reading changes nothing";

    progress.bestTimes[RecordCount - 1] = 777;  // a level just completed
    saveRecords(media, progress);
    std::vector<int32_t> expected(progress.bestTimes.begin(), progress.bestTimes.end());
    EXPECT_EQ(readBytes("oldgame.cws"), littleEndian(expected));
    EXPECT_EQ(readBytes("oldgame.cws.damaged"), cut(size));
    EXPECT_EQ(media.warnings.size(), 1u);
}

INSTANTIATE_TEST_SUITE_P(CutAt, DamagedRecords, ::testing::Values(0, 1, 155, 156, 311));

TEST_F(DamagedRecords, ADamagedFileThatCannotBeKeptBesideIsLeftUntouched) {
    writeBytes("oldgame.cws", cut(100));
    media.fileWriteCalls().open = openRefusingTheDamagedCopy;
    loadRecords(media, progress);
    EXPECT_EQ(progress.bestTimes[24], 1024);
    EXPECT_EQ(progress.bestTimes[25], UnbeatenTime);
    ASSERT_EQ(media.warnings.size(), 1u);
    EXPECT_NE(media.warnings[0].find("could not be kept as oldgame.cws.damaged (Permission denied), so it is left "
                                     "untouched"),
              std::string::npos)
        << media.warnings[0];
    saveRecords(media, progress);
    EXPECT_EQ(readBytes("oldgame.cws"), cut(100));
    EXPECT_FALSE(fs::exists("oldgame.cws.damaged"));
    ASSERT_NE(unsavedFileToShow(progress.files), nullptr);
    EXPECT_EQ(unsavedFileToShow(progress.files)->shortLine, "Best times not saved: oldgame.cws could not be read");
}

TEST_F(DamagedRecords, AWholeOrLongerFileIsNoDamage) {
    writeBytes("oldgame.cws", whole);
    loadRecords(media, progress);
    std::vector<uint8_t> longer = whole;
    longer.push_back(9);
    writeBytes("oldgame.cws", longer);
    loadRecords(media, progress);
    EXPECT_EQ(progress.bestTimes[77], 1077);
    EXPECT_TRUE(media.warnings.empty());
    EXPECT_FALSE(fs::exists("oldgame.cws.damaged"));
}
