// Streamed music: what a Next press costs the main thread, what a playing track holds in
// memory, and how much of a core its decoding takes; beside the old way (the whole track
// decoded at the press) for the shipped tracks.
// Run from the build folder, or with GAME_DIR set, for the shipped tracks. A 60-minute
// Ogg Vorbis track is made in a temporary folder at start and removed at the end.

#include <benchmark/benchmark.h>
#include <malloc.h>
#include <time.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <thread>

#include "media/scripted/scripted_media.h"
#include "play/track_player.h"
#include "support/long_track.h"

namespace {

namespace fs = std::filesystem;

constexpr double HourTrackSeconds = 3600;
const char* const HourTrack = "zz_hour_44k.ogg";

fs::path shippedTracks() {
    if (const char* game = std::getenv("GAME_DIR")) return fs::path(game) / "tracks";
    for (const char* guess : {"game/tracks", "../game/tracks"})
        if (fs::is_directory(guess)) return fs::absolute(guess);
    return "game/tracks";
}

// A game folder of its own: the shipped tracks (linked) and the generated hour.
struct BenchFolder {
    fs::path root;
    BenchFolder() {
        root = fs::temp_directory_path() / ("cw-music-bench-" + std::to_string(::getpid()));
        fs::create_directories(root / "tracks");
        std::error_code error;
        for (const auto& entry : fs::directory_iterator(shippedTracks(), error))
            fs::create_symlink(fs::absolute(entry.path()), root / "tracks" / entry.path().filename());
        writeLongOgg((root / "tracks" / HourTrack).string(), 2, 44100, HourTrackSeconds);
        fs::current_path(root);
    }
    ~BenchFolder() {
        std::error_code error;
        fs::remove_all(root, error);
    }
};

BenchFolder& folder() {
    static BenchFolder instance;
    return instance;
}

std::vector<std::string> trackNames() {
    folder();
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator("tracks")) names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

// Bytes handed out by malloc and not yet freed (libvorbis's included). Resident memory
// would hide a new allocation in pages that an earlier, freed one left behind.
double heapMegabytes() {
    const struct mallinfo2 info = mallinfo2();
    return static_cast<double>(info.uordblks + info.hblkhd) / (1024.0 * 1024.0);
}

double threadCpuSeconds() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return now.tv_sec + now.tv_nsec * 1e-9;
}

int indexOf(const TrackPlayer& player, const std::string& name) {
    for (int i = 0; i < player.trackCount; ++i)
        if (player.trackNames[i] == name) return i;
    return 0;
}

// ---- A Next press, as the main thread feels it ---------------------------------------

// The decoding thread runs as in the game; between presses it has 20 ms to work, so each
// press lands while the previous track is decoding.
void nextPress(benchmark::State& state, const std::string& name) {
    ScriptedMedia media(MusicDecoder::Mode::OwnThread);
    TrackPlayer player;
    buildTrackList(player, media);
    startMusic(player, media);
    const int target = indexOf(player, name);
    std::vector<double> times;
    std::vector<double> cpuTimes;  // the main thread's own work, without time it lost to others
    for (auto _ : state) {
        player.currentTrack = (target + player.trackCount - 1) % player.trackCount;
        const double cpu = threadCpuSeconds();
        const auto start = std::chrono::steady_clock::now();
        nextTrack(player, media);
        const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
        cpuTimes.push_back((threadCpuSeconds() - cpu) * 1e6);
        state.SetIterationTime(took.count());
        times.push_back(took.count() * 1e6);
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    std::sort(times.begin(), times.end());
    std::sort(cpuTimes.begin(), cpuTimes.end());
    state.counters["median_us"] = times[times.size() / 2];
    state.counters["p90_us"] = times[times.size() * 9 / 10];
    state.counters["max_us"] = times.back();
    state.counters["cpu_median_us"] = cpuTimes[cpuTimes.size() / 2];
    state.counters["cpu_max_us"] = cpuTimes.back();
    state.counters["playing"] = media.soundMixer().isPlaying(player.musicChannel) ? 1 : 0;
}

// The old press: the whole file decoded and converted on the main thread.
void wholeLoad(benchmark::State& state, const std::string& name) {
    ScriptedMedia media;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        SoundPtr sound = media.loadSound("tracks/" + name, 1);
        state.SetIterationTime(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
        if (!sound) state.SkipWithError("refused");
        benchmark::DoNotOptimize(sound);
    }
}

// ---- Memory and decoding work while a track plays --------------------------------------

// Plays the track for a stretch of music, mixing as fast as it decodes (by hand, so the
// decoder's CPU time is this thread's): peak resident memory above the moment before
// the track started, and decoding time per second of music.
void streamedPlay(benchmark::State& state, const std::string& name) {
    constexpr int MusicSeconds = 180;
    for (auto _ : state) {
        const double before = heapMegabytes();
        double peak = before;
        double decodeSeconds = 0;
        {
            ScriptedMedia media;
            const Channel channel = media.streamTrack("tracks/" + name, false);
            std::vector<int16_t> block(2 * 1024);
            for (int done = 0; done < MusicSeconds * MixRate; done += 1024) {
                const double cpu = threadCpuSeconds();
                media.musicDecoder().decodeAhead();
                decodeSeconds += threadCpuSeconds() - cpu;
                media.soundMixer().mixInto(block.data(), 1024);
                if (done % (16 * 1024) == 0) peak = std::max(peak, heapMegabytes());
            }
            if (!media.soundMixer().isPlaying(channel)) state.SkipWithError("the track stopped");
        }
        state.counters["peak_MB_above"] = peak - before;
        state.counters["decode_cpu_percent"] = 100.0 * decodeSeconds / MusicSeconds;
    }
}

// The old way's memory: the whole track held decoded.
void wholeMemory(benchmark::State& state, const std::string& name) {
    ScriptedMedia media;
    for (auto _ : state) {
        const double before = heapMegabytes();
        SoundPtr sound = media.loadSound("tracks/" + name, 1);
        state.counters["peak_MB_above"] = heapMegabytes() - before;
        if (!sound) state.SkipWithError("refused");
    }
}

const bool registered = [] {
    const std::vector<std::string> names = trackNames();
    for (const std::string& name : names)
        benchmark::RegisterBenchmark(("streamedPlay/" + name).c_str(),
                                     [name](benchmark::State& s) { streamedPlay(s, name); })
            ->Iterations(1)
            ->Unit(benchmark::kMillisecond);
    for (const std::string& name : names)
        if (name != HourTrack)
            benchmark::RegisterBenchmark(("wholeMemory/" + name).c_str(),
                                         [name](benchmark::State& s) { wholeMemory(s, name); })
                ->Iterations(1)
                ->Unit(benchmark::kMillisecond);
    for (const std::string& name : names)
        benchmark::RegisterBenchmark(("nextPress/" + name).c_str(), [name](benchmark::State& s) { nextPress(s, name); })
            ->Iterations(40)
            ->UseManualTime()
            ->Unit(benchmark::kMicrosecond);
    for (const std::string& name : names)
        if (name != HourTrack)
            benchmark::RegisterBenchmark(("wholeLoad/" + name).c_str(),
                                         [name](benchmark::State& s) { wholeLoad(s, name); })
                ->Iterations(3)
                ->UseManualTime()
                ->Unit(benchmark::kMillisecond);
    return true;
}();

}  // namespace
