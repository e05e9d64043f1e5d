// Whole sounds from the block-by-block decoders, and the choice of decoder by content.

#include <vector>

#include "media/sound/sound_decoders.h"

namespace {

using StreamOpener = std::unique_ptr<PcmStream> (*)(ByteSource&);

// Reads the stream to its end. Refused when it claims more than the source holds, would
// grow past MaxSoundFrames at the mixing rate, or turns out damaged.
std::optional<PcmSound> readWhole(PcmStream& stream) {
    if (stream.promisesMoreThanHeld()) return std::nullopt;
    // Refused from what the file states, before a block is decoded.
    const int64_t stated = stream.statedFrames();
    if (stated > 0 && mixedFrameCount(stated, stream.sampleRate()) > MaxSoundFrames) return std::nullopt;
    const int64_t declared = stream.declaredFrames();
    PcmSound pcm;
    pcm.sampleRate = stream.sampleRate();
    pcm.channels = stream.channels();
    if (declared > 0) pcm.samples.reserve(static_cast<size_t>(declared) * pcm.channels);
    std::vector<int16_t> block(4096 * 2);
    while (true) {
        const long frames = stream.read(block.data(), 4096);
        if (frames < 0) return std::nullopt;
        if (frames == 0) break;
        pcm.samples.insert(pcm.samples.end(), block.begin(), block.begin() + frames * pcm.channels);
        const auto total = static_cast<int64_t>(pcm.frameCount());
        if (mixedFrameCount(total, pcm.sampleRate) > MaxSoundFrames) return std::nullopt;
    }
    if (pcm.samples.empty()) return std::nullopt;
    return pcm;
}

std::optional<PcmSound> decodeWith(StreamOpener opener, ByteSource& source) {
    if (!source.seek(0)) return std::nullopt;
    std::unique_ptr<PcmStream> stream = opener(source);
    if (!stream) return std::nullopt;
    return readWhole(*stream);
}

}  // namespace

std::unique_ptr<PcmStream> openSoundStream(ByteSource& source) {
    if (!source.seek(0)) return nullptr;
    if (std::unique_ptr<PcmStream> wav = openWavStream(source)) return wav;
    return openOggStream(source);
}

std::optional<PcmSound> decodeWav(std::span<const uint8_t> bytes) {
    MemorySource source(bytes);
    return decodeWith(openWavStream, source);
}

std::optional<PcmSound> decodeOgg(std::span<const uint8_t> bytes) {
    MemorySource source(bytes);
    return decodeWith(openOggStream, source);
}

std::optional<PcmSound> decodeWholeSound(ByteSource& source) {
    if (std::optional<PcmSound> wav = decodeWith(openWavStream, source)) return wav;
    return decodeWith(openOggStream, source);
}
