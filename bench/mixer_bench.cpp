// Sound costs: mixing 16 channels, and decoding each shipped music track at load.
// Run from the build folder, or with GAME_DIR set to the game folder, for the track figures.

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "media/sound/mixer.h"
#include "media/sound/sound_decoders.h"

namespace {

// A second of a sawtooth, so the mixer works on real, changing samples.
SoundPtr busySound(int period, bool looping) {
    auto sound = std::make_shared<Sound>();
    sound->looping = looping;
    for (int i = 0; i < MixRate; ++i) {
        const auto value = static_cast<int16_t>((i % period) * 20000 / period - 10000);
        sound->samples.insert(sound->samples.end(), {value, static_cast<int16_t>(-value)});
    }
    return sound;
}

// One second of audio (44100 frames) mixed in device-sized blocks from 16 looping channels.
void mixSixteenChannels(benchmark::State& state) {
    Mixer mixer;
    for (int i = 0; i < 16; ++i) {
        const Channel channel = mixer.play(busySound(50 + 7 * i, true), false);
        mixer.setVolume(channel, 0.3f + 0.04f * i);
    }
    std::vector<int16_t> block(1024 * 2);
    for (auto _ : state) {
        for (int done = 0; done < MixRate; done += 1024) mixer.mixInto(block.data(), std::min(1024, MixRate - done));
        benchmark::DoNotOptimize(block.data());
    }
    // Time per iteration is the cost of one second of sound; frames per second shows the headroom.
    state.SetItemsProcessed(state.iterations() * MixRate);
}
BENCHMARK(mixSixteenChannels)->Unit(benchmark::kMillisecond);

std::filesystem::path tracksFolder() {
    if (const char* game = std::getenv("GAME_DIR")) return std::filesystem::path(game) / "tracks";
    for (const char* guess : {"game/tracks", "../game/tracks"})
        if (std::filesystem::is_directory(guess)) return guess;
    return "game/tracks";
}

// What loading a track costs: WAV, else Ogg Vorbis, then conversion for the mixer.
void decodeTrack(benchmark::State& state, const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    const std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    size_t frames = 0;
    for (auto _ : state) {
        std::optional<PcmSound> pcm = decodeWav(bytes);
        if (!pcm) pcm = decodeOgg(bytes);
        if (!pcm) {
            state.SkipWithError("cannot decode");
            return;
        }
        const Sound sound = convertForMixing(std::move(*pcm), true);
        frames = sound.frameCount();
        benchmark::DoNotOptimize(sound.samples.data());
    }
    state.counters["file_MB"] = static_cast<double>(bytes.size()) / 1e6;
    state.counters["decoded_MB"] = static_cast<double>(frames) * 4 / 1e6;
    state.counters["audio_s"] = static_cast<double>(frames) / MixRate;
}

// One benchmark per track found in the game folder.
const bool tracksRegistered = [] {
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(tracksFolder(), error)) {
        const std::filesystem::path path = entry.path();
        benchmark::RegisterBenchmark(("decodeTrack/" + path.filename().string()).c_str(),
                                     [path](benchmark::State& state) { decodeTrack(state, path); })
            ->Unit(benchmark::kMillisecond)
            ->Iterations(3);
    }
    return true;
}();

}  // namespace
