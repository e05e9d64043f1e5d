// The do-nothing loop that bench/hitches.sh runs beside the game: it sleeps to a 60 Hz
// schedule and does nothing else, so how late it wakes is what the machine alone does to a
// frame loop in that minute. A wake-up later than one refresh restarts the schedule from it,
// as the game's pacing does, rather than catching up.
//   bench_idle_loop OUTPUT SECONDS   one line "due woke" per tick, monotonic seconds
//   bench_idle_loop now              prints the monotonic clock, to mark scenes on it

#include <time.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

constexpr long PeriodNanos = 1'000'000'000L / 60;

double seconds(const timespec& time) { return static_cast<double>(time.tv_sec) + time.tv_nsec * 1e-9; }

timespec later(timespec time, long nanos) {
    time.tv_nsec += nanos;
    while (time.tv_nsec >= 1'000'000'000L) time.tv_nsec -= 1'000'000'000L, time.tv_sec += 1;
    return time;
}

}  // namespace

int main(int argc, char** argv) {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    if (argc == 2 && std::strcmp(argv[1], "now") == 0) {
        std::printf("%.6f\n", seconds(now));
        return 0;
    }
    if (argc != 3) {
        std::fputs("usage: bench_idle_loop OUTPUT SECONDS | bench_idle_loop now\n", stderr);
        return 2;
    }
    std::FILE* out = std::fopen(argv[1], "w");
    if (!out) return 1;
    std::setvbuf(out, nullptr, _IOLBF, 1 << 12);  // whole lines, however it is stopped
    const double end = seconds(now) + std::atof(argv[2]);
    timespec due = now;
    for (;;) {
        due = later(due, PeriodNanos);
        while (clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &due, nullptr) != 0) {}
        timespec woke{};
        clock_gettime(CLOCK_MONOTONIC, &woke);
        std::fprintf(out, "%.6f %.6f\n", seconds(due), seconds(woke));
        if (seconds(woke) >= end) break;
        if (seconds(woke) - seconds(due) > PeriodNanos * 1e-9) due = woke;
    }
    std::fclose(out);
    return 0;
}
