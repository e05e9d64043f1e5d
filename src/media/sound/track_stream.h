#pragma once
// A sound decoded and converted to the mixer's 44100 Hz stereo a block at a time, so a
// track of any length plays from a few kilobytes of samples. The conversion is exactly
// that of convertForMixing on the whole sound: the same output frames, and a looping
// sound interpolates its last frame toward its first before it starts again.

#include <cstdint>
#include <memory>
#include <vector>

#include "media/sound/byte_source.h"
#include "media/sound/sound_decoders.h"

class TrackStream {
public:
    // Reads only the header (WAV, then Ogg Vorbis); null when neither accepts it.
    static std::unique_ptr<TrackStream> open(std::unique_ptr<ByteSource> source, bool looping);

    // Writes up to frames stereo frames into out and returns how many. Fewer only once the
    // stream has ended for good: a one-shot sound at its end, damaged bytes, a loop that
    // cannot start again or a pass that gave no frames at all.
    size_t produce(int16_t* out, size_t frames);
    bool ended() const { return finished; }

private:
    TrackStream(std::unique_ptr<ByteSource> source, std::unique_ptr<PcmStream> pcm, bool looping);

    // Source frame index as a stereo pair.
    struct Frame {
        int left = 0;
        int right = 0;
    };
    // Output frames of this pass that can be made from the source frames read so far.
    int64_t outputReady() const;
    void emit(int16_t* out, int64_t count);
    Frame sourceFrame(int64_t index) const;
    // Appends the next block of source frames; at the end of the bytes the pass is complete.
    void readSource();
    // After the last output frame of a pass: the next pass of a loop, or the end.
    void finishPass();
    void dropUsedFrames();

    std::unique_ptr<ByteSource> source;  // declared before pcm, which reads from it
    std::unique_ptr<PcmStream> pcm;
    bool looping;
    int rate;
    bool finished = false;

    // ---- This pass through the sound
    int64_t outputIndex = 0;    // next output frame
    int64_t framesRead = 0;     // source frames taken in so far
    bool passComplete = false;  // the source reached its end (or damage)
    bool damaged = false;
    Frame firstFrame;             // a loop's last frame leans toward it
    std::vector<int16_t> window;  // stereo source frames from windowStart to framesRead
    int64_t windowStart = 0;
    std::vector<int16_t> scratch;
};
