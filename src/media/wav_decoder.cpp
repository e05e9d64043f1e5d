// The WAV reader: RIFF/WAVE, "fmt " directly after the header, plain PCM only.

#include <algorithm>
#include <cstring>
#include <string_view>

#include "media/sound_decoders.h"

namespace {

// Little-endian reads that never pass the end of the buffer.
struct ByteReader {
    std::span<const uint8_t> bytes;
    uint64_t position = 0;

    bool has(uint64_t count) const { return position + count <= bytes.size(); }
    uint32_t u32() {
        const uint8_t* p = bytes.data() + position;
        position += 4;
        return p[0] | (p[1] << 8) | (p[2] << 16) | (uint32_t{p[3]} << 24);
    }
    uint16_t u16() {
        const uint8_t* p = bytes.data() + position;
        position += 2;
        return static_cast<uint16_t>(p[0] | (p[1] << 8));
    }
    bool tag(std::string_view expected) {
        const bool same = std::memcmp(bytes.data() + position, expected.data(), 4) == 0;
        position += 4;
        return same;
    }
};

struct WavFormat {
    int channels = 0;
    int rate = 0;
    int bits = 0;
    int frameBytes() const { return channels * bits / 8; }
};

// "RIFF", size, "WAVE", "fmt " and the fmt fields; the rest of a longer fmt chunk is skipped.
std::optional<WavFormat> readHeader(ByteReader& in) {
    if (!in.has(36) || !in.tag("RIFF")) return std::nullopt;
    in.u32();
    if (!in.tag("WAVE") || !in.tag("fmt ")) return std::nullopt;
    const uint32_t fmtSize = in.u32();
    // A fmt chunk shorter than its fields would have them read from the next chunk.
    if (fmtSize < 16 || !in.has(fmtSize)) return std::nullopt;
    const uint16_t formatTag = in.u16();
    WavFormat format;
    format.channels = in.u16();
    const uint32_t rate = in.u32();
    in.u32();  // byte rate
    in.u16();  // block align
    format.bits = in.u16();
    in.position += fmtSize - 16;
    if (formatTag != 1 || (format.channels != 1 && format.channels != 2)) return std::nullopt;
    if (format.bits != 8 && format.bits != 16) return std::nullopt;
    if (rate < uint32_t{MinSoundRate} || rate > uint32_t{MaxSoundRate}) return std::nullopt;
    format.rate = static_cast<int>(rate);
    return format;
}

// 8-bit samples are unsigned around 128; 16-bit ones signed.
void readSamples(std::span<const uint8_t> data, const WavFormat& format, PcmSound& pcm) {
    const size_t frames = data.size() / format.frameBytes();
    const size_t count = frames * format.channels;
    pcm.samples.resize(count);
    for (size_t i = 0; i < count; ++i) {
        if (format.bits == 8)
            pcm.samples[i] = static_cast<int16_t>((data[i] - 128) << 8);
        else
            pcm.samples[i] = static_cast<int16_t>(data[2 * i] | (data[2 * i + 1] << 8));
    }
}

}  // namespace

std::optional<PcmSound> decodeWav(std::span<const uint8_t> bytes) {
    ByteReader in{bytes};
    const std::optional<WavFormat> format = readHeader(in);
    if (!format) return std::nullopt;
    while (in.has(8)) {
        const bool isData = in.tag("data");
        const uint64_t size = in.u32();
        if (!isData) {
            in.position += size;  // exactly its size: no pad byte after an odd size
            continue;
        }
        // A file cut short keeps the whole frames that are there.
        const uint64_t available = std::min<uint64_t>(size, bytes.size() - in.position);
        PcmSound pcm;
        pcm.sampleRate = format->rate;
        pcm.channels = format->channels;
        readSamples(bytes.subspan(in.position, available), *format, pcm);
        if (pcm.samples.empty()) return std::nullopt;
        return pcm;
    }
    return std::nullopt;
}
