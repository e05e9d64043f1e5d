// What saving costs the frame that does it: the saved game (16 bytes) and the records
// (312 bytes), each through a fresh side file, synced and renamed over the old one.
//   SaveNow:  both written and synced on the calling thread, as leaving play does.
//   SaveSoon: what a frame that completes a level pays: the bytes taken and queued for the
//             writer thread (the queue is drained between iterations, outside the timing).
// The folder is the working folder's disk (run it from the disk a game folder would be on).
// A frame is 16.7 ms; run several times, and once with the disk busy beside it, e.g.
//   dd if=/dev/zero of=busy.bin bs=1M count=2000 conv=fsync &
//   build/bench/save_bench --benchmark_repetitions=9 --benchmark_report_aggregates_only=true

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <filesystem>

#include "media/scripted/scripted_media.h"
#include "persist/progress.h"

namespace {

namespace fs = std::filesystem;

struct SaveFolder {
    fs::path path = fs::current_path() / "cablewright-save-bench";
    SaveFolder() { fs::create_directories(path); }
    ~SaveFolder() { fs::remove_all(path); }
};

// The slowest single save of the run, in ms (a frame is late when one save is, not the mean).
class SlowestSave {
public:
    void start() { begun = std::chrono::steady_clock::now(); }
    void stop() {
        const std::chrono::duration<double, std::milli> took = std::chrono::steady_clock::now() - begun;
        slowest = std::max(slowest, took.count());
    }
    void report(benchmark::State& state) const { state.counters["slowest_ms"] = slowest; }

private:
    std::chrono::steady_clock::time_point begun;
    double slowest = 0;
};

// Writes on the writer thread, as the game's do.
class ThreadedMedia : public ScriptedMedia {
public:
    ThreadedMedia() { files.writeQueuedOnTheirThread(); }
};

// Saves progress a level further each time through `save`, timing each; `afterEach` runs
// untimed.
template <typename Media, typename Save, typename AfterEach>
void timeSaves(benchmark::State& state, Save save, AfterEach afterEach) {
    SaveFolder folder;
    Media media;
    Progress progress;
    progress.files.folder = folder.path.string();
    progress.bestTimes.fill(UnbeatenTime);
    SlowestSave slowest;
    for (auto _ : state) {
        progress.levelIndex = (progress.levelIndex + 1) % RecordCount;
        slowest.start();
        save(media, progress);
        slowest.stop();
        state.PauseTiming();
        afterEach(media);
        state.ResumeTiming();
    }
    noteFinishedSaves(media, progress);
    slowest.report(state);
    if (!media.warnings.empty()) state.SkipWithError(media.warnings.front().c_str());
}

void SaveNow(benchmark::State& state) {
    timeSaves<ScriptedMedia>(state, saveProgress, [](MediaLayer&) {});
}
BENCHMARK(SaveNow)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(100);

void SaveSoon(benchmark::State& state) {
    timeSaves<ThreadedMedia>(
        state,
        [](MediaLayer& media, Progress& progress) {
            saveProgressSoon(media, progress);
            noteFinishedSaves(media, progress);
        },
        [](MediaLayer& media) { media.waitForWrites(); });
}
// A set number of runs: each waits untimed for its write, which would otherwise be run until
// the timed part alone adds up to half a second.
BENCHMARK(SaveSoon)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(100);

}  // namespace
