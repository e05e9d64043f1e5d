// The Ogg Vorbis reader: libvorbisfile over a byte source, a block at a time.

#include <vorbis/vorbisfile.h>

#include <algorithm>

#include "media/sound/sound_decoders.h"

namespace {

// ---- The byte source as a file for libvorbisfile -----------------------------------

size_t readSource(void* target, size_t size, size_t count, void* source) {
    if (size == 0 || count == 0) return 0;
    auto* bytes = static_cast<uint8_t*>(target);
    return static_cast<ByteSource*>(source)->read(std::span(bytes, size * count)) / size;
}

// Opened as a stream that cannot seek: the stream is only ever read forwards (a loop
// opens it again), and libvorbisfile's seekable path leaks on some malformed headers.
constexpr ov_callbacks SourceCallbacks{readSource, nullptr, nullptr, nullptr};

// Where the right channel sits in Vorbis's channel order (L C R for 3, 5 to 8 channels).
int rightChannel(int channels) {
    if (channels == 2 || channels == 4) return 1;
    return channels >= 3 ? 2 : 0;
}

// One block of ov_read output shaped to the stream's one or two channels (a chained
// stream may change its channel count from one link to the next).
void shapeBlock(const int16_t* block, size_t frames, int blockChannels, int channels, int16_t* out) {
    const int right = rightChannel(blockChannels);
    for (size_t f = 0; f < frames; ++f) {
        const int16_t* frame = block + f * blockChannels;
        if (channels == 1) {
            out[f] = static_cast<int16_t>((frame[0] + frame[right]) / 2);
        } else {
            out[2 * f] = frame[0];
            out[2 * f + 1] = frame[right];
        }
    }
}

// The frame number on the last page of the logical stream with this serial number, read
// from the last 64 KiB of the source (where the last page always is), or -1. Pages are
// checked whole (libogg's checksum), so audio data that happens to hold "OggS" never counts.
// The source is left where it was.
int64_t lastPageFrame(ByteSource& source, long serial) {
    constexpr uint64_t Tail = 64 * 1024;
    const uint64_t was = source.position(), size = source.size();
    const uint64_t from = size > Tail ? size - Tail : 0;
    int64_t frame = -1;
    ogg_sync_state sync;
    ogg_sync_init(&sync);
    if (source.seek(from)) {
        char* buffer = ogg_sync_buffer(&sync, static_cast<long>(size - from));
        const size_t got = source.read(std::span(reinterpret_cast<uint8_t*>(buffer), size - from));
        ogg_sync_wrote(&sync, static_cast<long>(got));
        ogg_page page;
        for (long step; (step = ogg_sync_pageseek(&sync, &page)) != 0;)
            if (step > 0 && ogg_page_serialno(&page) == serial && ogg_page_granulepos(&page) >= 0)
                frame = ogg_page_granulepos(&page);
    }
    ogg_sync_clear(&sync);
    source.seek(was);
    return frame;
}

// ---- The stream ----------------------------------------------------------------------

class OggStream : public PcmStream {
public:
    explicit OggStream(ByteSource& source) : source(source) {}
    ~OggStream() override {
        if (isOpen) ov_clear(&file);
    }

    // Reads the three headers from the start of the source.
    bool open() {
        if (!source.seek(0)) return false;
        // On failure libvorbisfile has already released what it took: no ov_clear then.
        if (ov_open_callbacks(&source, &file, nullptr, 0, SourceCallbacks) != 0) return false;
        isOpen = true;
        const vorbis_info* info = ov_info(&file, -1);
        return info && info->channels >= 1 && info->rate >= MinSoundRate && info->rate <= MaxSoundRate;
    }

    // Looked up when asked (a sound decoded whole), never for a track that streams.
    int64_t statedFrames() override {
        if (!lastFrameRead && isOpen) lastFrame = lastPageFrame(source, ov_serialnumber(&file, -1));
        lastFrameRead = true;
        return lastFrame;
    }

    void takeFormat() {
        const vorbis_info* info = ov_info(&file, -1);
        rate = static_cast<int>(info->rate);
        channelCount = info->channels == 1 ? 1 : 2;
    }

    // Frames left over from the last ov_read first, then ov_read until it gives samples or
    // reports the end; holes in the stream are skipped.
    long read(int16_t* out, size_t maxFrames) override {
        if (!isOpen) return -1;
        if (pendingFrames == 0) {
            const long status = decodeBlock();
            if (status <= 0) return status;
        }
        const size_t frames = std::min(pendingFrames, maxFrames);
        const auto* samples = reinterpret_cast<const int16_t*>(block) + pendingOffset * pendingChannels;
        shapeBlock(samples, frames, pendingChannels, channelCount, out);
        pendingOffset += frames;
        pendingFrames -= frames;
        return static_cast<long>(frames);
    }

    bool restart() override {
        if (isOpen) ov_clear(&file);
        isOpen = false;
        pendingFrames = 0;
        const int oldRate = rate;
        const int oldChannels = channelCount;
        if (!open()) return false;
        takeFormat();
        return rate == oldRate && channelCount == oldChannels;
    }

private:
    // One ov_read into block: the frames it gave, 0 at the end, -1 on damage.
    long decodeBlock() {
        while (true) {
            int link = 0;
            const long got = ov_read(&file, block, sizeof block, 0, 2, 1, &link);
            if (got == 0) return 0;
            if (got == OV_HOLE) continue;
            if (got < 0) return -1;
            const vorbis_info* info = ov_info(&file, link);
            if (!info || info->channels < 1 || info->rate != rate) return -1;
            pendingChannels = info->channels;
            pendingFrames = static_cast<size_t>(got) / (2 * info->channels);
            pendingOffset = 0;
            if (pendingFrames == 0) return -1;  // a frame wider than the block: not a sound we play
            return static_cast<long>(pendingFrames);
        }
    }

    ByteSource& source;
    OggVorbis_File file{};
    bool isOpen = false;
    int64_t lastFrame = -1;  // as the stream's last page states it
    bool lastFrameRead = false;
    alignas(int16_t) char block[16384];
    size_t pendingFrames = 0;  // decoded frames in block not yet handed out
    size_t pendingOffset = 0;
    int pendingChannels = 1;
};

}  // namespace

std::unique_ptr<PcmStream> openOggStream(ByteSource& source) {
    auto stream = std::make_unique<OggStream>(source);
    if (!stream->open()) return nullptr;
    stream->takeFormat();
    return stream;
}
