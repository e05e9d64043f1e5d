// The software mixer: every playing channel summed in 32 bits, then clamped to 16.

#include "media/mixer.h"

#include <algorithm>
#include <cmath>

namespace {

// Volume as a 16.16 factor, so volume 1 passes samples through unchanged.
int32_t fixedVolume(float volume) {
    return static_cast<int32_t>(std::lround(std::clamp(volume, 0.0f, 1.0f) * 65536.0f));
}

void addScaled(int32_t* target, const int16_t* source, size_t samples, int32_t factor) {
    for (size_t i = 0; i < samples; ++i) target[i] += (source[i] * factor) >> 16;
}

int16_t clampSample(int32_t value) {
    return static_cast<int16_t>(std::clamp<int32_t>(value, INT16_MIN, INT16_MAX));
}

}  // namespace

// ---- Channel changes (main thread) --------------------------------------------

Channel Mixer::play(const SoundPtr& sound, bool paused) {
    if (!sound || sound->frameCount() == 0) return 0;
    std::lock_guard guard(lock);
    const Channel channel = nextChannel++;
    voices[channel] = Voice{sound, 0, 1.0f, paused};
    return channel;
}

void Mixer::stop(Channel channel) {
    SoundPtr released;  // freed after unlocking: a track's samples are tens of megabytes
    std::lock_guard guard(lock);
    auto it = voices.find(channel);
    if (it == voices.end()) return;
    released = std::move(it->second.sound);
    voices.erase(it);
}

void Mixer::setVolume(Channel channel, float volume) {
    std::lock_guard guard(lock);
    auto it = voices.find(channel);
    if (it != voices.end()) it->second.volume = std::clamp(volume, 0.0f, 1.0f);
}

void Mixer::resume(Channel channel) {
    std::lock_guard guard(lock);
    auto it = voices.find(channel);
    if (it != voices.end()) it->second.paused = false;
}

// ---- Queries --------------------------------------------------------------------

bool Mixer::isPlaying(Channel channel) const {
    std::lock_guard guard(lock);
    auto it = voices.find(channel);
    return it != voices.end() && !it->second.paused;
}

size_t Mixer::channelPosition(Channel channel) const {
    std::lock_guard guard(lock);
    auto it = voices.find(channel);
    return it == voices.end() ? 0 : it->second.position;
}

float Mixer::channelVolume(Channel channel) const {
    std::lock_guard guard(lock);
    auto it = voices.find(channel);
    return it == voices.end() ? 0.0f : it->second.volume;
}

int Mixer::activeChannels() const {
    std::lock_guard guard(lock);
    return static_cast<int>(voices.size());
}

// ---- Mixing (device thread) -------------------------------------------------------

bool Mixer::mixVoice(Voice& voice, int frames) {
    const Sound& sound = *voice.sound;
    const size_t length = sound.frameCount();
    const int32_t factor = fixedVolume(voice.volume);
    size_t done = 0;
    while (done < static_cast<size_t>(frames)) {
        const size_t stretch = std::min(length - voice.position, frames - done);
        // A silent channel still runs on, so fading back in resumes where it has got to.
        if (factor > 0)
            addScaled(accumulator.data() + 2 * done, sound.samples.data() + 2 * voice.position, 2 * stretch, factor);
        voice.position += stretch;
        done += stretch;
        if (voice.position < length) continue;
        if (!sound.looping) return false;
        voice.position = 0;  // looping sounds wrap seamlessly within the block
    }
    return true;
}

void Mixer::mixInto(int16_t* out, int frames) {
    if (frames <= 0) return;
    std::vector<SoundPtr> finished;  // released after unlocking
    {
        std::lock_guard guard(lock);
        accumulator.assign(static_cast<size_t>(frames) * 2, 0);
        for (auto it = voices.begin(); it != voices.end();) {
            if (it->second.paused || mixVoice(it->second, frames)) {
                ++it;
                continue;
            }
            finished.push_back(std::move(it->second.sound));
            it = voices.erase(it);
        }
        for (size_t i = 0; i < accumulator.size(); ++i) out[i] = clampSample(accumulator[i]);
    }
}
