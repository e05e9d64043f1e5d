// The WAV reader: RIFF/WAVE, "fmt " directly after the header, plain PCM only.

#include <algorithm>
#include <array>
#include <cstring>
#include <string_view>

#include "media/sound/sound_decoders.h"

namespace {

// ---- Header ------------------------------------------------------------------------

uint32_t u32(const uint8_t* p) { return p[0] | (p[1] << 8) | (p[2] << 16) | (uint32_t{p[3]} << 24); }
uint16_t u16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }
bool isTag(const uint8_t* p, std::string_view tag) { return std::memcmp(p, tag.data(), 4) == 0; }

bool readExactly(ByteSource& source, std::span<uint8_t> target) { return source.read(target) == target.size(); }

struct WavFormat {
    int channels = 0;
    int rate = 0;
    int bits = 0;
    int frameBytes() const { return channels * bits / 8; }
};

// "RIFF", size, "WAVE", "fmt " and the fmt fields; the rest of a longer fmt chunk is skipped.
std::optional<WavFormat> readFormat(ByteSource& source) {
    std::array<uint8_t, 36> head{};
    if (!readExactly(source, head)) return std::nullopt;
    if (!isTag(&head[0], "RIFF") || !isTag(&head[8], "WAVE") || !isTag(&head[12], "fmt ")) return std::nullopt;
    const uint32_t fmtSize = u32(&head[16]);
    // A fmt chunk shorter than its fields would have them read from the next chunk.
    if (fmtSize < 16 || !source.seek(source.position() + (fmtSize - 16))) return std::nullopt;
    WavFormat format;
    format.channels = u16(&head[22]);
    const uint32_t rate = u32(&head[24]);
    format.bits = u16(&head[34]);
    if (u16(&head[20]) != 1 || (format.channels != 1 && format.channels != 2)) return std::nullopt;
    if (format.bits != 8 && format.bits != 16) return std::nullopt;
    if (rate < uint32_t{MinSoundRate} || rate > uint32_t{MaxSoundRate}) return std::nullopt;
    format.rate = static_cast<int>(rate);
    return format;
}

// Chunks until "data"; others are skipped by exactly their size (no pad byte after an
// odd size). The declared size of "data", or nothing when the bytes end first.
std::optional<uint32_t> findData(ByteSource& source) {
    std::array<uint8_t, 8> chunk{};
    while (readExactly(source, chunk)) {
        const uint32_t size = u32(&chunk[4]);
        if (isTag(&chunk[0], "data")) return size;
        if (!source.seek(source.position() + size)) return std::nullopt;
    }
    return std::nullopt;
}

// ---- Samples -----------------------------------------------------------------------

// 8-bit samples are unsigned around 128; 16-bit ones signed.
void convertSamples(const uint8_t* data, size_t count, int bits, int16_t* out) {
    for (size_t i = 0; i < count; ++i) {
        if (bits == 8)
            out[i] = static_cast<int16_t>((data[i] - 128) << 8);
        else
            out[i] = static_cast<int16_t>(data[2 * i] | (data[2 * i + 1] << 8));
    }
}

class WavStream : public PcmStream {
public:
    WavStream(ByteSource& source, const WavFormat& format, uint32_t dataSize)
        : source(source), format(format), dataStart(source.position()), dataSize(dataSize) {
        rate = format.rate;
        channelCount = format.channels;
    }

    long read(int16_t* out, size_t maxFrames) override {
        const uint64_t frameBytes = static_cast<uint64_t>(format.frameBytes());
        const uint64_t wanted = std::min<uint64_t>(maxFrames, (dataSize - consumed) / frameBytes);
        size_t frames = 0;
        while (frames < wanted) {
            const size_t step = static_cast<size_t>(std::min<uint64_t>(wanted - frames, sizeof bytes / frameBytes));
            const size_t got = source.read(std::span(bytes, step * frameBytes));
            consumed += got;
            const size_t whole = got / frameBytes;  // a file cut short keeps its whole frames
            convertSamples(bytes, whole * format.channels, format.bits, out + frames * format.channels);
            frames += whole;
            if (got < step * frameBytes) {
                if (source.failed()) return -1;
                consumed = dataSize;  // the bytes ended early: this is the end of the sound
                break;
            }
        }
        return static_cast<long>(frames);
    }

    bool restart() override {
        consumed = 0;
        return source.seek(dataStart);
    }

    int64_t declaredFrames() const override { return dataSize / format.frameBytes(); }
    bool promisesMoreThanHeld() const override { return dataStart + dataSize > source.size(); }

private:
    ByteSource& source;
    WavFormat format;
    uint64_t dataStart;
    uint64_t dataSize;
    uint64_t consumed = 0;
    uint8_t bytes[16384];
};

}  // namespace

std::unique_ptr<PcmStream> openWavStream(ByteSource& source) {
    const std::optional<WavFormat> format = readFormat(source);
    if (!format) return nullptr;
    const std::optional<uint32_t> dataSize = findData(source);
    if (!dataSize || *dataSize < static_cast<uint32_t>(format->frameBytes())) return nullptr;
    // Not even one frame of samples in the file: nothing to play.
    if (source.position() + format->frameBytes() > source.size()) return nullptr;
    return std::make_unique<WavStream>(source, *format, *dataSize);
}
