// What refusing an oversized file costs: a picture longer than any picture needs, a picture
// padded far beyond what its header's size needs, and a menu theme longer than the 20 minutes
// a sound held whole may last. Time per load and the bytes read from the file (counter
// "read_MB", from /proc/self/io) for each; all three are refused.
//
//   build/bench/refusal_bench --benchmark_repetitions=5 --benchmark_report_aggregates_only=true

#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "media/scripted/scripted_media.h"
#include "support/long_track.h"

namespace {

namespace fs = std::filesystem;

uint64_t bytesReadSoFar() {
    std::ifstream io("/proc/self/io");
    std::string key;
    uint64_t value = 0;
    while (io >> key >> value)
        if (key == "rchar:") return value;
    return 0;
}

// The files, made once in a folder of their own (sparse where they are long: no disk used).
const fs::path& folder() {
    static const fs::path made = [] {
        const fs::path path = fs::temp_directory_path() / "cablewright-refusal-bench";
        fs::create_directories(path);
        // A valid 2 x 2 24-bit TGA, then nothing up to 200 MB.
        std::vector<char> tga(18, 0);
        tga[2] = 2;
        tga[12] = 2;
        tga[14] = 2;
        tga[16] = 24;
        tga.resize(18 + 12, 50);
        std::ofstream(path / "huge.spr", std::ios::binary).write(tga.data(), static_cast<std::streamsize>(tga.size()));
        fs::resize_file(path / "huge.spr", 200u << 20);
        // The same 2 x 2 picture padded to 60 MB: within the general limit, far past its own.
        fs::copy_file(path / "huge.spr", path / "padded.spr", fs::copy_options::overwrite_existing);
        fs::resize_file(path / "padded.spr", 60u << 20);
        // A menu theme a minute longer than a sound held whole may be.
        if (!fs::exists(path / "long.ogg")) writeLongOgg((path / "long.ogg").string(), 2, 44100, 21 * 60);
        return path;
    }();
    return made;
}

template <typename Load>
void measure(benchmark::State& state, Load load) {
    ScriptedMedia media;
    uint64_t read = 0;
    int64_t refused = 0;
    for (auto _ : state) {
        const uint64_t before = bytesReadSoFar();
        refused += load(media) ? 0 : 1;
        read += bytesReadSoFar() - before;
    }
    state.counters["read_MB"] = benchmark::Counter(static_cast<double>(read) / 1e6, benchmark::Counter::kAvgIterations);
    state.counters["refused"] = benchmark::Counter(static_cast<double>(refused), benchmark::Counter::kAvgIterations);
}

void PictureLongerThanAnyPictureNeeds(benchmark::State& state) {
    const std::string path = (folder() / "huge.spr").string();
    measure(state, [&](ScriptedMedia& media) { return media.loadImage(path) != nullptr; });
}
BENCHMARK(PictureLongerThanAnyPictureNeeds)->Unit(benchmark::kMillisecond);

void PicturePaddedFarPastItsHeader(benchmark::State& state) {
    const std::string path = (folder() / "padded.spr").string();
    measure(state, [&](ScriptedMedia& media) { return media.loadImage(path) != nullptr; });
}
BENCHMARK(PicturePaddedFarPastItsHeader)->Unit(benchmark::kMillisecond);

void MenuThemeLongerThanTheLimit(benchmark::State& state) {
    const std::string path = (folder() / "long.ogg").string();
    measure(state, [&](ScriptedMedia& media) { return media.loadSound(path, 1) != nullptr; });
}
BENCHMARK(MenuThemeLongerThanTheLimit)->Unit(benchmark::kMillisecond)->Iterations(2);

}  // namespace
