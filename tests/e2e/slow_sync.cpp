// Preloaded into the real game by the end-to-end check of a second signal during the leaving
// save: every fsync takes SLOW_SYNC_MS longer (default 300), as on a busy disk, so that a
// signal sent a moment after the first lands while the save is being written. The start and
// end of each sync go to the file named by SLOW_SYNC_FILE. Not part of the game.

#include <dlfcn.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <ctime>

namespace {

void note(const char* what) {
    static std::FILE* const log = [] {
        const char* path = std::getenv("SLOW_SYNC_FILE");
        return path ? std::fopen(path, "w") : nullptr;
    }();
    if (!log) return;
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    std::fprintf(log, "%s %lld.%09ld\n", what, static_cast<long long>(now.tv_sec), now.tv_nsec);
    std::fflush(log);
}

}  // namespace

extern "C" int fsync(int descriptor) {
    using Sync = int (*)(int);
    static const auto sync = reinterpret_cast<Sync>(dlsym(RTLD_NEXT, "fsync"));
    static const long delayMs = [] {
        const char* given = std::getenv("SLOW_SYNC_MS");
        return given ? std::atol(given) : 300L;
    }();
    note("start");
    usleep(static_cast<useconds_t>(delayMs * 1000));
    const int result = sync(descriptor);
    note("end");
    return result;
}
