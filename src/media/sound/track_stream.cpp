// Block-by-block conversion to 44100 Hz stereo, frame for frame the same as the whole-sound
// conversion: output frame i sits at source position i * rate / 44100, an exact fraction.

#include "media/sound/track_stream.h"

#include <algorithm>

namespace {

// Source frames read per block: a few milliseconds of work at a time.
constexpr size_t SourceBlockFrames = 2048;

int16_t blend(int a, int b, int64_t weightB, int64_t scale) {
    return static_cast<int16_t>(a + (b - a) * weightB / scale);
}

}  // namespace

std::unique_ptr<TrackStream> TrackStream::open(std::unique_ptr<ByteSource> source, bool looping) {
    if (!source) return nullptr;
    std::unique_ptr<PcmStream> pcm = openSoundStream(*source);
    if (!pcm) return nullptr;
    return std::unique_ptr<TrackStream>(new TrackStream(std::move(source), std::move(pcm), looping));
}

TrackStream::TrackStream(std::unique_ptr<ByteSource> source, std::unique_ptr<PcmStream> pcm, bool looping)
    : source(std::move(source)), pcm(std::move(pcm)), looping(looping), rate(this->pcm->sampleRate()) {
    scratch.resize(SourceBlockFrames * 2);
}

size_t TrackStream::produce(int16_t* out, size_t frames) {
    size_t done = 0;
    while (done < frames && !finished) {
        const int64_t ready = std::min<int64_t>(outputReady() - outputIndex, static_cast<int64_t>(frames - done));
        if (ready > 0) {
            emit(out + 2 * done, ready);
            done += static_cast<size_t>(ready);
        } else if (!passComplete) {
            readSource();
        } else {
            finishPass();
        }
    }
    return done;
}

// Frame i needs source frames floor(i * rate / 44100) and the one after. Until the source
// ends, the frames made are those the final length surely includes (the count for one
// frame fewer); at the end, the rounded count of the whole pass.
int64_t TrackStream::outputReady() const {
    if (passComplete) return mixedFrameCount(framesRead, rate);
    return framesRead > 0 ? mixedFrameCount(framesRead - 1, rate) : 0;
}

TrackStream::Frame TrackStream::sourceFrame(int64_t index) const {
    const size_t at = static_cast<size_t>(index - windowStart) * 2;
    return {window[at], window[at + 1]};
}

void TrackStream::emit(int16_t* out, int64_t count) {
    for (int64_t k = 0; k < count; ++k, ++outputIndex) {
        const int64_t numerator = outputIndex * rate;
        const int64_t index = std::min(numerator / MixRate, framesRead - 1);
        const int64_t fraction = numerator % MixRate;
        const Frame a = sourceFrame(index);
        Frame b;
        if (index + 1 < framesRead)
            b = sourceFrame(index + 1);
        else
            b = looping ? firstFrame : a;  // only reached once the pass is complete
        out[2 * k] = blend(a.left, b.left, fraction, MixRate);
        out[2 * k + 1] = blend(a.right, b.right, fraction, MixRate);
    }
    dropUsedFrames();
}

// Keeps the window small: frames before the one the next output frame starts from are done.
void TrackStream::dropUsedFrames() {
    const int64_t needed = std::min(outputIndex * rate / MixRate, framesRead);
    const int64_t used = needed - windowStart;
    if (used < static_cast<int64_t>(SourceBlockFrames)) return;
    window.erase(window.begin(), window.begin() + used * 2);
    windowStart = needed;
}

void TrackStream::readSource() {
    const int channels = pcm->channels();
    const long got = pcm->read(scratch.data(), SourceBlockFrames);
    if (got <= 0) {
        passComplete = true;
        damaged = got < 0;
        return;
    }
    for (long f = 0; f < got; ++f) {
        const int16_t left = scratch[f * channels];
        const int16_t right = scratch[f * channels + channels - 1];
        window.insert(window.end(), {left, right});
    }
    if (framesRead == 0) firstFrame = {window[0], window[1]};
    framesRead += got;
}

void TrackStream::finishPass() {
    // Counted at the mixer's rate: two source frames at 256 kHz round to none.
    const bool gaveFrames = outputIndex > 0;
    outputIndex = 0;
    framesRead = 0;
    windowStart = 0;
    window.clear();
    passComplete = false;
    // A pass without frames would loop for ever without a sound.
    if (!looping || damaged || !gaveFrames || !pcm->restart()) finished = true;
}
