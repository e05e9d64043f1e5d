#pragma once
// Decoding of streamed music ahead of the mixer.
//
// Threads and locks of the sound side, all in one place:
// - The main thread opens a track (reading only its header), hands its TrackStream to
//   start() and makes a mixer channel for the returned feed. start() takes `lock` only to
//   append to `incoming`; it never waits for decoding.
// - The decoding thread (this class) owns every TrackStream from then on: it tops up each
//   stream's StreamFeed a block at a time, and frees the stream (file, decoder state) once
//   its channel is gone. It holds `lock` only to take in new streams, never while decoding.
// - The audio device's thread runs Mixer::mixInto, which reads the feeds without waiting:
//   a StreamFeed has one writer and one reader and lock-free positions. When the decoder is
//   behind, the missing frames are silence, never a wait.
// - Channel changes and the mixing of one block exclude each other by the Mixer's own lock.
// Without a thread (tests), decodeAhead() does the decoding thread's work when called.

#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "media/sound/sound.h"
#include "media/sound/stream_feed.h"
#include "media/sound/track_stream.h"

class MusicDecoder {
public:
    using Mode = MusicDecoding;
    explicit MusicDecoder(Mode mode);
    ~MusicDecoder();
    MusicDecoder(const MusicDecoder&) = delete;
    MusicDecoder& operator=(const MusicDecoder&) = delete;

    // Takes over an opened stream and returns the feed its samples will arrive in.
    std::shared_ptr<StreamFeed> start(std::unique_ptr<TrackStream> stream);
    // Fills every live feed as far as it goes, drops the streams whose channels are gone
    // or that have ended. Only the decoding thread calls it (or a test, in ByHand mode).
    void decodeAhead();
    // Streams still held after the last decodeAhead (ByHand only: the thread's list is its own).
    size_t streamCount() const;

private:
    struct Job {
        std::unique_ptr<TrackStream> stream;
        std::shared_ptr<StreamFeed> feed;
    };
    void run();
    void takeIncoming();
    // One block into the job's feed; false when the feed is full or the job is over.
    bool decodeBlock(Job& job);

    mutable std::mutex lock;
    std::condition_variable wake;
    std::vector<Job> incoming;  // guarded by lock
    bool quitting = false;      // guarded by lock
    std::vector<Job> jobs;      // the decoding thread's own
    std::vector<int16_t> block;
    std::thread worker;
};
