// Preloaded into the real game by bench/hitches.sh: notes, on the monotonic clock, when every
// frame is handed to the present and when the present returns, and each sleep of the thread
// that presents (when it began, when it asked to end, when it ended), with that thread's CPU
// time and the whole process's, in the file named by PRESENT_METER_FILE. From these the
// benchmark tells whether a late frame was late for its own work (drawing, composing, the copy
// to the X server) or because its thread woke late. Works on any build of the game: it looks
// only at SDL's present calls and the C library's sleeps. Not part of the game.
//
// Lines: "F call return threadCpu processCpu" per present, "S begin askedEnd end threadCpu"
// per sleep; times in seconds.

#include <dlfcn.h>
#include <sys/syscall.h>
#include <time.h>
#include <unistd.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>

namespace {

double seconds(const timespec& time) { return static_cast<double>(time.tv_sec) + time.tv_nsec * 1e-9; }

double clockSeconds(clockid_t clock) {
    timespec now{};
    clock_gettime(clock, &now);
    return seconds(now);
}

double monotonic() { return clockSeconds(CLOCK_MONOTONIC); }

// One line at a time, so nothing is lost when the game ends with _Exit.
std::FILE* meterFile() {
    static std::FILE* const file = [] {
        const char* path = std::getenv("PRESENT_METER_FILE");
        std::FILE* opened = path ? std::fopen(path, "w") : nullptr;
        if (opened) std::setvbuf(opened, nullptr, _IOLBF, 1 << 12);
        return opened;
    }();
    return file;
}

// The thread that presents; its sleeps are the frame pacing's.
std::atomic<long> presenter{0};

long threadId() { return static_cast<long>(syscall(SYS_gettid)); }

template <typename Present>
int notePresent(Present present) {
    presenter.store(threadId(), std::memory_order_relaxed);
    const double call = monotonic();
    const int result = present();
    const double returned = monotonic();
    if (std::FILE* file = meterFile())
        std::fprintf(file, "F %.6f %.6f %.6f %.6f\n", call, returned, clockSeconds(CLOCK_THREAD_CPUTIME_ID),
                     clockSeconds(CLOCK_PROCESS_CPUTIME_ID));
    return result;
}

// `askedEnd` on the monotonic clock.
template <typename Sleep>
int noteSleep(double askedEnd, double begun, Sleep sleep) {
    const int result = sleep();
    if (presenter.load(std::memory_order_relaxed) != threadId()) return result;
    if (std::FILE* file = meterFile())
        std::fprintf(file, "S %.6f %.6f %.6f %.6f\n", begun, askedEnd, monotonic(),
                     clockSeconds(CLOCK_THREAD_CPUTIME_ID));
    return result;
}

}  // namespace

#include "present_calls.h"

extern "C" int nanosleep(const timespec* asked, timespec* left) {
    using Sleep = int (*)(const timespec*, timespec*);
    static const auto sleep = realFunction<Sleep>("nanosleep");
    const double begun = monotonic();
    return noteSleep(begun + seconds(*asked), begun, [=] { return sleep(asked, left); });
}

extern "C" int clock_nanosleep(clockid_t clock, int flags, const timespec* asked, timespec* left) {
    using Sleep = int (*)(clockid_t, int, const timespec*, timespec*);
    static const auto sleep = realFunction<Sleep>("clock_nanosleep");
    const double begun = monotonic();
    // An absolute end on another clock is moved onto the monotonic one.
    const double askedEnd =
        (flags & TIMER_ABSTIME) ? begun + seconds(*asked) - clockSeconds(clock) : begun + seconds(*asked);
    return noteSleep(askedEnd, begun, [=] { return sleep(clock, flags, asked, left); });
}
