// Conversion of decoded sounds to the mixer's 44100 Hz stereo.

#include "media/sound/sound.h"

#include <algorithm>
#include <utility>

namespace {

// One source frame as a stereo pair (a mono frame feeds both sides).
struct Frame {
    int left = 0;
    int right = 0;
};

Frame sourceFrame(const PcmSound& pcm, size_t index) {
    if (pcm.channels == 1) return {pcm.samples[index], pcm.samples[index]};
    return {pcm.samples[2 * index], pcm.samples[2 * index + 1]};
}

int16_t blend(int a, int b, int64_t weightB, int64_t scale) {
    return static_cast<int16_t>(a + (b - a) * weightB / scale);
}

void copyAtMixRate(const PcmSound& pcm, Sound& sound) {
    const size_t frames = pcm.frameCount();
    sound.samples.resize(frames * 2);
    for (size_t i = 0; i < frames; ++i) {
        const Frame f = sourceFrame(pcm, i);
        sound.samples[2 * i] = static_cast<int16_t>(f.left);
        sound.samples[2 * i + 1] = static_cast<int16_t>(f.right);
    }
}

// Output frame i sits at source position i * rate / 44100, kept as an exact fraction.
void resampleLinear(const PcmSound& pcm, Sound& sound) {
    const int64_t frames = static_cast<int64_t>(pcm.frameCount());
    const int64_t outFrames = mixedFrameCount(frames, pcm.sampleRate);
    sound.samples.resize(static_cast<size_t>(outFrames) * 2);
    for (int64_t i = 0; i < outFrames; ++i) {
        const int64_t numerator = i * pcm.sampleRate;
        const int64_t index = numerator / MixRate;
        const int64_t fraction = numerator % MixRate;
        int64_t nextIndex = index + 1;
        if (nextIndex >= frames) nextIndex = sound.looping ? 0 : frames - 1;
        const Frame a = sourceFrame(pcm, static_cast<size_t>(std::min(index, frames - 1)));
        const Frame b = sourceFrame(pcm, static_cast<size_t>(nextIndex));
        sound.samples[2 * i] = blend(a.left, b.left, fraction, MixRate);
        sound.samples[2 * i + 1] = blend(a.right, b.right, fraction, MixRate);
    }
}

}  // namespace

int64_t mixedFrameCount(int64_t frames, int rate) {
    if (rate <= 0) return 0;
    return (frames * MixRate * 2 + rate) / (int64_t{2} * rate);
}

Sound convertForMixing(const PcmSound& pcm, bool looping) {
    Sound sound;
    sound.looping = looping;
    const bool usable = (pcm.channels == 1 || pcm.channels == 2) && pcm.sampleRate >= MinSoundRate &&
                        pcm.sampleRate <= MaxSoundRate && pcm.frameCount() > 0;
    if (!usable) return sound;
    if (pcm.sampleRate == MixRate)
        copyAtMixRate(pcm, sound);
    else
        resampleLinear(pcm, sound);
    return sound;
}

Sound convertForMixing(PcmSound&& pcm, bool looping) {
    if (pcm.sampleRate != MixRate || pcm.channels != 2 || pcm.frameCount() == 0) return convertForMixing(pcm, looping);
    Sound sound;
    sound.looping = looping;
    sound.samples = std::move(pcm.samples);
    sound.samples.resize(sound.frameCount() * 2);  // drops a stray half frame
    return sound;
}
