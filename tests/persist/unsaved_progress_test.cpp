// A save that fails is told on screen until a save of that file works again: what was not
// saved, where and why, and "the previous file is kept" only when there is one.

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cerrno>
#include <filesystem>

#include "media/files/safe_replace.h"
#include "media/scripted/scripted_media.h"
#include "persist/progress.h"
#include "support/test_support.h"

namespace {

namespace fs = std::filesystem;

int failingErrno = 0;
int openFailing(const char*, int, mode_t) {
    errno = failingErrno;
    return -1;
}

struct UnsavedProgress : ::testing::Test {
    ScratchFolder scratch{"unsaved"};
    ScriptedMedia media;
    Progress progress;
    std::string folder = (scratch.path() / "data").string();
    void SetUp() override { progress.files.folder = folder; }
    void failWith(int error) {
        failingErrno = error;
        media.fileWriteCalls().open = openFailing;
    }
    std::string line() const {
        const UnsavedFile* unsaved = unsavedFileToShow(progress.files);
        return unsaved ? unsaved->line : "";
    }
};

}  // namespace

TEST_F(UnsavedProgress, NothingIsShownWhileSavesWork) {
    saveProgress(media, progress);
    EXPECT_EQ(unsavedFileToShow(progress.files), nullptr);
}

TEST_F(UnsavedProgress, AFolderThatIsNotWritableIsNamedAndThePreviousFileOnlyWhenThereIsOne) {
    failWith(EACCES);
    saveProgress(media, progress);  // a first save: no previous file of either
    EXPECT_EQ(line(), "Progress not saved: " + folder + " is not writable");
    EXPECT_EQ(unsavedFileToShow(progress.files)->shortLine, "Progress not saved: its folder is not writable");
    ASSERT_EQ(media.warnings.size(), 2u);
    EXPECT_EQ(media.warnings[0], "could not save " + folder + "/oldgame.cws (Permission denied)");

    // With earlier files there, both the warning and the line say they are kept.
    media.fileWriteCalls() = WriteCalls{};
    saveProgress(media, progress);
    EXPECT_EQ(unsavedFileToShow(progress.files), nullptr) << "gone with the next save that works";
    failWith(EROFS);
    saveProgress(media, progress);
    EXPECT_EQ(line(), "Progress not saved: " + folder + " is not writable; the previous file is kept");
    EXPECT_EQ(media.warnings.back(),
              "could not save " + folder + "/oldgame.cwm (Read-only file system); the previous file is kept");
}

TEST_F(UnsavedProgress, AFullDiskIsSaidAsSuch) {
    failWith(ENOSPC);
    saveProgress(media, progress);
    EXPECT_EQ(line(), "Progress not saved: the disk of " + folder + " is full");
    EXPECT_EQ(unsavedFileToShow(progress.files)->shortLine, "Progress not saved: the disk is full");
}

TEST_F(UnsavedProgress, OtherReasonsNameTheFile) {
    failWith(EIO);
    saveProgress(media, progress);
    EXPECT_EQ(line(), "Progress not saved: " + folder + "/oldgame.cwm (Input/output error)");
    EXPECT_EQ(unsavedFileToShow(progress.files)->shortLine, "Progress not saved (Input/output error)");
}

// The line stays while any file is unsaved, and shows the latest failure.
TEST_F(UnsavedProgress, TheLineStaysUntilEveryFileIsSavedAgain) {
    failWith(EACCES);
    saveRecords(media, progress);
    failWith(ENOSPC);
    saveGame(media, progress);
    EXPECT_EQ(line(), "Progress not saved: the disk of " + folder + " is full");
    media.fileWriteCalls() = WriteCalls{};
    saveGame(media, progress);
    EXPECT_EQ(line(), "Progress not saved: " + folder + " is not writable") << "the records are still unsaved";
    saveRecords(media, progress);
    EXPECT_EQ(line(), "");
}

TEST_F(UnsavedProgress, ALevelsSaveOffTheFramesPathIsToldWhenItHasFailed) {
    writeBytes(folder + "/oldgame.cwm", littleEndian({1, 2, 3, 4}));
    failWith(ENOSPC);
    saveProgressSoon(media, progress);
    noteFinishedSaves(media, progress);
    ASSERT_NE(unsavedFileToShow(progress.files), nullptr);
    EXPECT_EQ(progress.files.unsavedFiles.size(), 2u);
    EXPECT_EQ(progress.files.unsavedFiles.at(folder + "/oldgame.cwm").line,
              "Progress not saved: the disk of " + folder + " is full; the previous file is kept");
    EXPECT_EQ(progress.files.unsavedFiles.at(folder + "/oldgame.cws").line,
              "Progress not saved: the disk of " + folder + " is full");
}

TEST_F(UnsavedProgress, WithoutADataFolderTheLineSaysSo) {
    progress.files.kept = false;
    saveProgress(media, progress);
    EXPECT_EQ(line(), "Progress not saved: there is no data folder for this player (no home folder)");
}

// ---- The folder made for the player -------------------------------------------------------

TEST_F(UnsavedProgress, TheDataFolderAndTheParentsTheGameMakesAreTheOwnersAloneWhateverTheUmask) {
    const fs::path existing = scratch.path() / "home";
    fs::create_directories(existing);
    fs::permissions(existing, fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec |
                                  fs::perms::others_read | fs::perms::others_exec);
    const fs::perms before = fs::status(existing).permissions();
    progress.files.folder = (existing / ".local/share/cablewright").string();
    const mode_t mask = umask(0);
    saveProgress(media, progress);
    umask(mask);
    for (const fs::path& made : {existing / ".local", existing / ".local/share", existing / ".local/share/cablewright"})
        EXPECT_EQ(fs::status(made).permissions(), fs::perms::owner_all) << made;
    EXPECT_EQ(fs::status(existing).permissions(), before) << "a folder already there is left as it is";
    EXPECT_EQ(readBytes(progress.files.folder + "/oldgame.cws").size(), 312u);
}

TEST_F(UnsavedProgress, TheLockMakesTheFolderAsPrivately) {
    progress.files.folder = (scratch.path() / "fresh/cablewright").string();
    const mode_t mask = umask(0);
    EXPECT_EQ(lockProgressFolder(media, progress), LockResult::Taken);
    umask(mask);
    EXPECT_EQ(fs::status(scratch.path() / "fresh").permissions(), fs::perms::owner_all);
    EXPECT_EQ(fs::status(progress.files.folder).permissions(), fs::perms::owner_all);
    EXPECT_TRUE(fs::is_regular_file(progress.files.folder + "/cablewright.lock"));
}
