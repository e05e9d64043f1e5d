// Writes off the caller's thread: the caller never waits for a slow disk, a write asked for
// later never lands before one asked for earlier, and every write ends in an outcome the
// caller collects, failures with their reason.

#include <gtest/gtest.h>

#include <cerrno>
#include <chrono>
#include <filesystem>
#include <future>

#include "media/files/file_table.h"
#include "media/files/writes_under_way.h"
#include "support/test_support.h"

namespace {

using namespace std::chrono_literals;

// A disk that holds every sync until the test lets it go (or 5 s have passed).
std::shared_future<void> diskReleased;
std::atomic<int> syncsStarted{0};

int slowSync(int descriptor) {
    syncsStarted += 1;
    diskReleased.wait_for(5s);
    return ::fsync(descriptor);
}

size_t fullDiskWrite(const void*, size_t, size_t, std::FILE*) {
    errno = ENOSPC;
    return 0;
}

struct BackgroundWrite : ::testing::Test {
    ScratchFolder folder{"background-write"};
    std::promise<void> release;
    FileTable files;
    void SetUp() override {
        diskReleased = release.get_future().share();
        syncsStarted = 0;
    }
    void TearDown() override {
        if (diskReleased.wait_for(0s) != std::future_status::ready) release.set_value();
    }
    std::string path(const char* name) const { return folder.file(name); }
};

}  // namespace

TEST_F(BackgroundWrite, TheCallerGoesOnWhileTheDiskIsSlow) {
    files.writeCalls.sync = slowSync;
    const auto start = std::chrono::steady_clock::now();
    files.replaceSoon(path("oldgame.cwm"), {1, 2, 3, 4});
    while (syncsStarted == 0 && std::chrono::steady_clock::now() - start < 5s) std::this_thread::sleep_for(1ms);
    EXPECT_EQ(syncsStarted, 1) << "the write has begun";
    EXPECT_TRUE(files.finishedWrites().empty()) << "and is held by the disk, while the caller goes on";
    EXPECT_FALSE(std::filesystem::exists(path("oldgame.cwm")));
    EXPECT_TRUE(writesUnderWay()) << "an end of the program meanwhile would wait for it";
    release.set_value();
    files.waitForWrites();
    EXPECT_FALSE(writesUnderWay());
    {
        const WriteUnderWay next;  // the count is back where it was: the next write counts
        EXPECT_TRUE(writesUnderWay());
    }
    const std::vector<WriteOutcome> outcomes = files.finishedWrites();
    ASSERT_EQ(outcomes.size(), 1u);
    EXPECT_EQ(outcomes[0].path, path("oldgame.cwm"));
    EXPECT_EQ(outcomes[0].failure, "");
    EXPECT_EQ(readBytes(path("oldgame.cwm")), (std::vector<uint8_t>{1, 2, 3, 4}));
    EXPECT_FALSE(std::filesystem::exists(path("oldgame.cwm.part")));
}

TEST_F(BackgroundWrite, NewerBytesAlwaysLandLast) {
    files.writeCalls.sync = slowSync;
    files.replaceSoon(path("oldgame.cws"), {1});
    while (syncsStarted == 0) std::this_thread::sleep_for(1ms);
    // Queued behind the held write: the second is replaced by the third before its turn.
    files.replaceSoon(path("oldgame.cws"), {2});
    files.replaceSoon(path("oldgame.cws"), {3});
    files.replaceSoon(path("oldgame.cwm"), {9});
    release.set_value();
    files.waitForWrites();
    EXPECT_EQ(readBytes(path("oldgame.cws")), std::vector<uint8_t>{3});
    EXPECT_EQ(readBytes(path("oldgame.cwm")), std::vector<uint8_t>{9});
    EXPECT_EQ(files.finishedWrites().size(), 3u);
    EXPECT_EQ(syncsStarted, 3);
}

TEST_F(BackgroundWrite, AWriteNowWaitsForTheQueuedOnesSoItIsNeverOvertaken) {
    files.writeCalls.sync = slowSync;
    files.replaceSoon(path("oldgame.cwm"), {1});
    while (syncsStarted == 0) std::this_thread::sleep_for(1ms);
    auto now = std::async(std::launch::async, [&] {
        const std::vector<uint8_t> bytes{2};
        return files.replace(path("oldgame.cwm"), bytes);
    });
    EXPECT_EQ(now.wait_for(100ms), std::future_status::timeout) << "it waits for the queued write";
    release.set_value();
    EXPECT_TRUE(now.get());
    EXPECT_EQ(readBytes(path("oldgame.cwm")), std::vector<uint8_t>{2});
}

// The writer thread waits for work between saves: a save queued then must wake it, each time.
TEST_F(BackgroundWrite, AWriterWaitingForWorkWakesForEveryNextSave) {
    for (uint8_t round = 1; round <= 3; ++round) {
        files.waitForWrites();
        std::this_thread::sleep_for(20ms);  // time for the writer to go back to waiting
        files.replaceSoon(path("oldgame.cws"), {round});
        auto waited = std::async(std::launch::async, [&] { files.waitForWrites(); });
        const bool written = waited.wait_for(5s) == std::future_status::ready;
        if (!written) files.replaceSoon(path("oldgame.cwm"), {0});  // a second call wakes it, so the test can end
        ASSERT_TRUE(written) << "round " << int{round} << ": the save was queued and nobody woke the writer";
        EXPECT_EQ(readBytes(path("oldgame.cws")), std::vector<uint8_t>{round});
    }
}

TEST_F(BackgroundWrite, AFailureComesBackWithItsReasonAndKeepsTheOldFile) {
    writeBytes(path("oldgame.cwm"), {7, 7});
    files.writeCalls.write = fullDiskWrite;
    files.replaceSoon(path("oldgame.cwm"), {1, 2});
    files.waitForWrites();
    const std::vector<WriteOutcome> outcomes = files.finishedWrites();
    ASSERT_EQ(outcomes.size(), 1u);
    EXPECT_EQ(outcomes[0].failure, "No space left on device");
    EXPECT_EQ(readBytes(path("oldgame.cwm")), (std::vector<uint8_t>{7, 7}));
    EXPECT_FALSE(std::filesystem::exists(path("oldgame.cwm.part")));
    EXPECT_TRUE(files.finishedWrites().empty()) << "each outcome is told once";
}

// Writes queued, their outcomes taken and waited for, over and over while the writer's thread
// works: a call that skipped the lock shows as a race in the thread build, a notify sent before
// what it announces as a wait that never ends.
TEST_F(BackgroundWrite, ManyWritesQueuedTakenAndWaitedForOneByOneEachLandLast) {
    files.writeCalls.sync = [](int) { return 0; };  // a disk that is never slow
    size_t outcomes = 0;
    for (int i = 0; i < 210; ++i) {
        files.replaceSoon(path(i % 7 ? "oldgame.cwm" : "oldgame.cws"), {static_cast<uint8_t>(i)});
        outcomes += files.finishedWrites().size();
        if (i % 5 == 0) files.waitForWrites();
    }
    files.waitForWrites();
    outcomes += files.finishedWrites().size();
    EXPECT_GE(outcomes, 42u);
    EXPECT_EQ(readBytes(path("oldgame.cwm")), std::vector<uint8_t>{209});
    EXPECT_EQ(readBytes(path("oldgame.cws")), std::vector<uint8_t>{203});
}

TEST_F(BackgroundWrite, AMissingFolderIsMadeAndQueuedWritesLandBeforeTheTableGoes) {
    {
        FileTable leaving;
        leaving.replaceSoon(path("home/.local/share/cablewright/oldgame.cwm"), {5});
    }
    EXPECT_EQ(readBytes(path("home/.local/share/cablewright/oldgame.cwm")), std::vector<uint8_t>{5});
}
