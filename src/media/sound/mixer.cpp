// The software mixer: every playing channel summed in 32 bits, then limited to 16.

#include "media/sound/mixer.h"

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

}  // namespace

// ---- Channel changes (main thread) --------------------------------------------

Channel Mixer::play(const SoundPtr& sound, bool paused, SoundGroup group) {
    if (!sound || sound->frameCount() == 0) return 0;
    std::lock_guard guard(lock);
    const Channel channel = nextChannel++;
    voices[channel] = Voice{sound, nullptr, 0, 1.0f, paused, group};
    return channel;
}

Channel Mixer::playStream(const std::shared_ptr<StreamFeed>& feed, bool paused) {
    if (!feed) return 0;
    std::lock_guard guard(lock);
    const Channel channel = nextChannel++;
    voices[channel] = Voice{nullptr, feed, 0, 1.0f, paused, SoundGroup::Music};
    return channel;
}

void Mixer::setGroupGain(SoundGroup group, float gain) {
    std::lock_guard guard(lock);
    groupGains[static_cast<size_t>(group)] = std::clamp(gain, 0.0f, 1.0f);
}

void Mixer::release(Voice& voice, std::vector<Voice>& released) {
    if (voice.feed) voice.feed->abandon();  // the decoder frees the stream on its own thread
    released.push_back(std::move(voice));
}

void Mixer::stop(Channel channel) {
    std::vector<Voice> released;  // freed after unlocking
    std::lock_guard guard(lock);
    auto it = voices.find(channel);
    if (it == voices.end()) return;
    // A track that has sounded may bridge the wait for the next one (see mixStopped).
    if (it->second.feed && it->second.position > 0 && !it->second.paused) {
        for (Voice& older : stopped) release(older, released);  // only the latest bridges
        stopped.clear();
        stopped.push_back(std::move(it->second));
    } else
        release(it->second, released);
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

int32_t Mixer::factorOf(const Voice& voice) const {
    return fixedVolume(voice.volume * groupGains[static_cast<size_t>(voice.group)]);
}

bool Mixer::mixVoice(Voice& voice, int frames) {
    if (voice.feed) return mixStream(voice, frames);
    const Sound& sound = *voice.sound;
    const size_t length = sound.frameCount();
    const int32_t factor = factorOf(voice);
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

// A stream that runs dry before its end (the decoder is behind) leaves silence for the
// missing frames and goes on with the next block; one whose feed has ended is over.
bool Mixer::mixStream(Voice& voice, int frames) {
    StreamFeed& feed = *voice.feed;
    if (voice.position == 0 && waitsToTakeOver(voice)) return true;
    const bool endedBefore = feed.endedFlagSet();  // read first: then no frame can follow unseen
    const int32_t factor = factorOf(voice);
    const size_t got = feed.consume(static_cast<size_t>(frames), [&](const int16_t* samples, size_t count, size_t at) {
        if (factor > 0) addScaled(accumulator.data() + 2 * at, samples, 2 * count, factor);
    });
    voice.position += got;
    if (got == static_cast<size_t>(frames)) return true;
    if (endedBefore) return false;
    feed.noteShortfall(frames - got);
    return true;
}

// A new track sounds alone: it waits while another track plays, until that one is stopped
// (a switch of track is two calls, and a block may be mixed between them), and then for its
// own first stretch while the stopped one plays on.
bool Mixer::waitsToTakeOver(const Voice& voice) const {
    for (const auto& [channel, other] : voices)
        if (other.feed && other.position > 0 && !other.paused && &other != &voice) return true;
    return !stopped.empty() && streamStarting();
}

bool Mixer::streamStarting() const {
    for (const auto& [channel, voice] : voices)
        if (voice.feed && !voice.paused && voice.position == 0 &&
            voice.feed->availableFrames() < StreamFeed::StartFrames && !voice.feed->endedFlagSet())
            return true;
    return false;
}

// The decoding thread needs a moment to deliver a new track's first samples; until then
// the track that was stopped for it plays on, so a switch never leaves a silent gap.
void Mixer::mixStopped(int frames, std::vector<Voice>& released) {
    if (stopped.empty()) return;
    if (streamStarting()) {
        for (Voice& voice : stopped) mixStream(voice, frames);
        return;
    }
    for (Voice& voice : stopped) release(voice, released);
    stopped.clear();
}

void Mixer::mixInto(int16_t* out, int frames) {
    if (frames <= 0) return;
    std::vector<Voice> finished;  // released after unlocking
    {
        std::lock_guard guard(lock);
        accumulator.assign(static_cast<size_t>(frames) * 2, 0);
        mixStopped(frames, finished);
        for (auto it = voices.begin(); it != voices.end();) {
            if (it->second.paused || mixVoice(it->second, frames)) {
                ++it;
                continue;
            }
            release(it->second, finished);
            it = voices.erase(it);
        }
        limiter.apply(accumulator.data(), out, frames);
    }
}
