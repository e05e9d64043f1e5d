// The Ogg Vorbis reader: libvorbisfile over the bytes in memory, decoded whole.

#include <vorbis/vorbisfile.h>

#include <algorithm>
#include <cstring>

#include "media/sound_decoders.h"

namespace {

// ---- The bytes as a file for libvorbisfile ---------------------------------

struct MemoryFile {
    std::span<const uint8_t> bytes;
    size_t position = 0;
};

size_t readMemory(void* target, size_t size, size_t count, void* source) {
    auto& file = *static_cast<MemoryFile*>(source);
    if (size == 0) return 0;
    const size_t items = std::min(count, (file.bytes.size() - file.position) / size);
    std::memcpy(target, file.bytes.data() + file.position, items * size);
    file.position += items * size;
    return items;
}

int seekMemory(void* source, ogg_int64_t offset, int whence) {
    auto& file = *static_cast<MemoryFile*>(source);
    ogg_int64_t base = 0;
    if (whence == SEEK_CUR) base = static_cast<ogg_int64_t>(file.position);
    if (whence == SEEK_END) base = static_cast<ogg_int64_t>(file.bytes.size());
    const ogg_int64_t target = base + offset;
    if (target < 0 || target > static_cast<ogg_int64_t>(file.bytes.size())) return -1;
    file.position = static_cast<size_t>(target);
    return 0;
}

long tellMemory(void* source) { return static_cast<long>(static_cast<MemoryFile*>(source)->position); }

constexpr ov_callbacks MemoryCallbacks{readMemory, seekMemory, nullptr, tellMemory};

// ---- Decoding ----------------------------------------------------------------

// Where the right channel sits in Vorbis's channel order (L C R for 3, 5 to 8 channels).
int rightChannel(int channels) {
    if (channels == 2 || channels == 4) return 1;
    return channels >= 3 ? 2 : 0;
}

// Appends one block of ov_read output, shaped to the sound's one or two channels
// (a chained stream may change its channel count from one link to the next).
void appendBlock(const int16_t* block, size_t frames, int blockChannels, PcmSound& pcm) {
    const int right = rightChannel(blockChannels);
    for (size_t f = 0; f < frames; ++f) {
        const int16_t* frame = block + f * blockChannels;
        if (pcm.channels == 1)
            pcm.samples.push_back(static_cast<int16_t>((frame[0] + frame[right]) / 2));
        else {
            pcm.samples.push_back(frame[0]);
            pcm.samples.push_back(frame[right]);
        }
    }
}

// ov_read until it reports the end; holes in the stream are skipped, any other error fails.
bool readAll(OggVorbis_File& file, PcmSound& pcm) {
    alignas(int16_t) char block[16384];
    const size_t maxSamples = static_cast<size_t>(MaxSoundFrames) * 2;
    while (true) {
        int link = 0;
        const long got = ov_read(&file, block, sizeof block, 0, 2, 1, &link);
        if (got == 0) return true;
        if (got == OV_HOLE) continue;
        if (got < 0) return false;
        const vorbis_info* info = ov_info(&file, link);
        if (!info || info->channels < 1 || info->rate != pcm.sampleRate) return false;
        const size_t frames = static_cast<size_t>(got) / (2 * info->channels);
        appendBlock(reinterpret_cast<const int16_t*>(block), frames, info->channels, pcm);
        if (pcm.samples.size() > maxSamples) return false;
    }
}

}  // namespace

std::optional<PcmSound> decodeOgg(std::span<const uint8_t> bytes) {
    MemoryFile memory{bytes};
    OggVorbis_File file;
    // Garbage fails here (OV_ENOTVORBIS); ov_clear belongs only to a file that opened.
    if (ov_open_callbacks(&memory, &file, nullptr, 0, MemoryCallbacks) != 0) return std::nullopt;
    PcmSound pcm;
    const vorbis_info* info = ov_info(&file, -1);
    bool good = info && info->channels >= 1 && info->rate >= MinSoundRate && info->rate <= MaxSoundRate;
    if (good) {
        pcm.sampleRate = static_cast<int>(info->rate);
        pcm.channels = info->channels == 1 ? 1 : 2;
        const ogg_int64_t frames = ov_pcm_total(&file, -1);  // a hint only; the stream decides
        if (frames > 0 && frames <= MaxSoundFrames) pcm.samples.reserve(static_cast<size_t>(frames) * pcm.channels);
        good = readAll(file, pcm);
    }
    ov_clear(&file);
    if (!good || pcm.samples.empty()) return std::nullopt;
    return pcm;
}
