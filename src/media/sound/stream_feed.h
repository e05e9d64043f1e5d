#pragma once
// The samples of one streamed channel on their way from the decoding thread to the mixer:
// a fixed ring of 44100 Hz stereo frames with one writer (the decoder) and one reader (the
// mixer). Neither side ever waits for the other: the positions are atomics, and each side
// only moves its own.

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <vector>

class StreamFeed {
public:
    // Ring size in frames: 3 s at 44100 Hz (512 KiB), enough to ride out a decoding thread
    // that a machine busy with other work leaves waiting for a second or more.
    static constexpr size_t CapacityFrames = 131072;
    // A new track takes over from the one stopped for it once this much is ready (186 ms),
    // so a decoding thread that is slow to come back cannot leave it running dry at once.
    static constexpr size_t StartFrames = 8192;

    StreamFeed() : ring(CapacityFrames * 2) {}

    // ---- Writer (the decoding thread)
    size_t freeFrames() const { return CapacityFrames - (written.load(std::memory_order_relaxed) - readCount()); }
    // Appends up to count frames (no more than freeFrames).
    void push(const int16_t* frames, size_t count) {
        const uint64_t start = written.load(std::memory_order_relaxed);
        for (size_t i = 0; i < count; ++i) {
            const size_t at = static_cast<size_t>((start + i) % CapacityFrames) * 2;
            ring[at] = frames[2 * i];
            ring[at + 1] = frames[2 * i + 1];
        }
        written.store(start + count, std::memory_order_release);
    }
    // No frames will follow the ones pushed so far.
    void markEnded() { endedFlag.store(true, std::memory_order_release); }
    // The channel is gone: the writer may stop decoding and free its decoder.
    bool abandoned() const { return abandonedFlag.load(std::memory_order_acquire); }

    // ---- Reader (the mixer)
    // Hands up to count frames to use(const int16_t* samples, size_t frames, size_t offset)
    // in at most two contiguous stretches and returns how many it handed.
    template <typename Use>
    size_t consume(size_t count, Use&& use) {
        const uint64_t start = read.load(std::memory_order_relaxed);
        const size_t available = static_cast<size_t>(written.load(std::memory_order_acquire) - start);
        const size_t total = std::min(count, available);
        size_t done = 0;
        while (done < total) {
            const size_t at = static_cast<size_t>((start + done) % CapacityFrames);
            const size_t stretch = std::min(total - done, CapacityFrames - at);
            use(ring.data() + 2 * at, stretch, done);
            done += stretch;
        }
        read.store(start + total, std::memory_order_release);
        return total;
    }
    // True when the writer has ended and every frame it pushed has been read. Checked
    // before reading, it tells a stream at its end from a decoder that is behind.
    bool endedFlagSet() const { return endedFlag.load(std::memory_order_acquire); }
    size_t availableFrames() const {
        return static_cast<size_t>(written.load(std::memory_order_acquire) - read.load(std::memory_order_relaxed));
    }
    void abandon() { abandonedFlag.store(true, std::memory_order_release); }
    // Frames the mixer wanted but the decoder had not yet delivered (heard as silence).
    void noteShortfall(size_t frames) { shortfallFrames.fetch_add(frames, std::memory_order_relaxed); }
    uint64_t shortfall() const { return shortfallFrames.load(std::memory_order_relaxed); }

private:
    uint64_t readCount() const { return read.load(std::memory_order_acquire); }

    std::vector<int16_t> ring;
    std::atomic<uint64_t> written{0};
    std::atomic<uint64_t> read{0};
    std::atomic<bool> endedFlag{false};
    std::atomic<bool> abandonedFlag{false};
    std::atomic<uint64_t> shortfallFrames{0};
};
