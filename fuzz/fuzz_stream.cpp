// The streaming reader that plays music tracks, a player's own files among them, on
// arbitrary bytes in a real file: opened by content (WAV, then Ogg Vorbis) as the game
// opens a track, then asked for mixer frames in blocks of changing sizes, through a few
// loop passes or to its end. A one-shot stream that ends within the frames asked for
// must give exactly the whole sound of the same decoder, converted.

#include <algorithm>
#include <vector>

#include "fuzz_support.h"
#include "media/sound/track_stream.h"

namespace {

// Enough for a few passes of the small seeds, little enough to keep each input quick (a
// few hundred inputs a second).
constexpr size_t MaxFramesProduced = 8000;

// Block sizes that put block edges everywhere, as the mixer's requests vary.
constexpr size_t BlockSizes[] = {1, 7, 1000, 333, 4096, 2};

std::vector<int16_t> produceAll(TrackStream& stream) {
    std::vector<int16_t> out(2 * MaxFramesProduced);
    size_t done = 0;
    for (size_t b = 0; done < MaxFramesProduced; ++b) {
        const size_t want = std::min(BlockSizes[b % 6], MaxFramesProduced - done);
        const size_t got = stream.produce(out.data() + 2 * done, want);
        if (got > want) __builtin_trap();
        done += got;
        if (got < want) {
            // Fewer frames than asked only once the stream has ended, and for good.
            if (!stream.ended() || stream.produce(out.data(), 1) != 0) __builtin_trap();
            break;
        }
    }
    out.resize(2 * done);
    return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    enterScratchFolder();
    const std::span<const uint8_t> bytes(data, size);
    writeFile("track", bytes);
    const bool looping = size % 2 == 0;
    std::unique_ptr<TrackStream> stream = TrackStream::open(FileSource::open("track"), looping);
    if (!stream) return 0;
    const std::vector<int16_t> streamed = produceAll(*stream);

    // Only a one-shot stream that ended is compared, so the whole decode stays as short.
    if (looping || streamed.size() == 2 * MaxFramesProduced) return 0;
    // The whole sound by the decoder the stream chose (a WAV cut short is refused whole,
    // and the Ogg reader would then look for pages further in).
    MemorySource probe(bytes);
    std::optional<PcmSound> whole = openWavStream(probe) ? decodeWav(bytes) : decodeOgg(bytes);
    if (!whole) return 0;
    const Sound converted = convertForMixing(std::move(*whole), false);
    if (streamed != converted.samples) __builtin_trap();
    return 0;
}
