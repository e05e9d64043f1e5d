// The lock that keeps a second copy of the game off a player's folder: one holder at a time,
// made where it is missing without following a link, and let go by the system when the holder
// is killed, so that a copy killed outright never blocks the next.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <thread>

#include "media/files/file_lock.h"
#include "support/test_support.h"

extern char** environ;

namespace {

namespace fs = std::filesystem;

// Another process holding the lock of path, as a running copy of the game does: the system's
// flock tool, which holds it while it sleeps (in the same process, not a child that would
// outlive it holding the lock).
pid_t holdInAnotherProcess(const std::string& path) {
    const char* argv[] = {"flock", "--nonblock", "--no-fork", path.c_str(), "sleep", "60", nullptr};
    pid_t pid = 0;
    if (posix_spawnp(&pid, "flock", nullptr, nullptr, const_cast<char**>(argv), environ) != 0) return 0;
    return pid;
}

}  // namespace

TEST(FileLock, OneHolderAtATimeAndTheNextOnceItIsLetGo) {
    ScratchFolder folder("lock");
    const std::string path = folder.file("cablewright.lock");
    FileLock first, second;
    EXPECT_EQ(first.take(path), LockResult::Taken);
    EXPECT_TRUE(fs::is_regular_file(path));
    EXPECT_EQ(second.take(path), LockResult::HeldElsewhere);
    first.release();
    EXPECT_EQ(second.take(path), LockResult::Taken);
}

TEST(FileLock, AHolderKilledOutrightNeverBlocksTheNext) {
    ScratchFolder folder("lock-killed");
    const std::string path = folder.file("cablewright.lock");
    const pid_t holder = holdInAnotherProcess(path);
    if (holder == 0) GTEST_SKIP() << "no flock tool";
    FileLock lock;
    LockResult result = LockResult::Taken;
    for (int i = 0; i < 100 && (result = lock.take(path)) == LockResult::Taken; ++i) {
        lock.release();  // the holder has not started yet
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    EXPECT_EQ(result, LockResult::HeldElsewhere);
    kill(holder, SIGKILL);
    int status = 0;
    waitpid(holder, &status, 0);
    EXPECT_TRUE(WIFSIGNALED(status));
    EXPECT_EQ(lock.take(path), LockResult::Taken);
}

TEST(FileLock, ALinkAtTheLocksNameIsNotFollowedAndAMissingFolderFails) {
    ScratchFolder folder("lock-link");
    fs::create_symlink(folder.file("elsewhere"), folder.file("cablewright.lock"));
    FileLock lock;
    EXPECT_EQ(lock.take(folder.file("cablewright.lock")), LockResult::Failed);
    EXPECT_EQ(lock.failure(), "Too many levels of symbolic links");
    EXPECT_FALSE(fs::exists(folder.file("elsewhere")));
    EXPECT_EQ(lock.take(folder.file("missing/cablewright.lock")), LockResult::Failed);
    EXPECT_EQ(lock.failure(), "No such file or directory");
}

// A game started with its standard input closed gets descriptor 0 for the lock file: a lock
// as good as any other.
TEST(FileLock, ALockFileOpenedAsDescriptorZeroIsTaken) {
    ScratchFolder folder("lock-zero");
    const std::string path = folder.file("cablewright.lock");
    EXPECT_EXIT(
        {
            ::close(0);
            errno = EACCES;  // left over from an earlier call: not this open's
            FileLock lock;
            const bool taken = lock.take(path) == LockResult::Taken;
            lock.release();
            const bool zeroLetGo = fcntl(0, F_GETFD) == -1;
            std::_Exit(taken && zeroLetGo ? 0 : 1);
        },
        ::testing::ExitedWithCode(0), "");
}
