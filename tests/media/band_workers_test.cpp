// The compose threads' hand-over: every band of every frame composed exactly once, whichever
// thread takes it, and the CPU they spent counted.

#include <gtest/gtest.h>

#include <array>
#include <atomic>

#include "media/draw/cpu/band_workers.h"

namespace {

struct Tally {
    std::array<std::atomic<int>, 4> runs{};
    int64_t cpuMicros = 0;  // each band works this long on its core
};

void countBand(void* context, int band) {
    auto& tally = *static_cast<Tally*>(context);
    tally.runs[static_cast<size_t>(band)].fetch_add(1);
    const int64_t end = threadCpuNanos() + tally.cpuMicros * 1000;
    while (threadCpuNanos() < end) {}
}

}  // namespace

TEST(BandWorkers, EveryBandOfEveryRoundRunsExactlyOnce) {
    for (const int bands : {1, 2, 4}) {
        BandWorkers workers(bands);
        Tally tally;
        for (int round = 0; round < 2000; ++round) {
            workers.run(countBand, &tally);
            for (int band = 0; band < bands; ++band)
                ASSERT_EQ(tally.runs[static_cast<size_t>(band)].load(), round + 1) << bands << " bands, band " << band;
        }
        for (int band = bands; band < 4; ++band) EXPECT_EQ(tally.runs[static_cast<size_t>(band)].load(), 0);
    }
}

// Workers that have just finished a round, on their way back to wait, when the end comes.
TEST(BandWorkers, EndingRightAfterARoundIsSafe) {
    for (int start = 0; start < 300; ++start) {
        BandWorkers workers(4);
        Tally tally;
        workers.run(countBand, &tally);
        EXPECT_EQ(tally.runs[3].load(), 1);
    }
}

TEST(BandWorkers, TheBandsCpuTimeIsCountedOnceAndTakenOnce) {
    BandWorkers workers(2);
    Tally tally;
    tally.cpuMicros = 5000;
    workers.run(countBand, &tally);
    // Two bands of 5 ms of CPU each, whichever threads ran them, however long they waited.
    const double spent = workers.takeCpuMs();
    EXPECT_GE(spent, 10.0);
    EXPECT_LT(spent, 11.0);
    EXPECT_EQ(workers.takeCpuMs(), 0.0);
}
