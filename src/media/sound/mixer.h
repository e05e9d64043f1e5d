#pragma once
// Pure mixing of all playing channels into 16-bit stereo; the output device only calls mixInto.
// The sum goes through a limiter, so it never reaches full scale however many sounds play.
// A channel plays a whole Sound from memory or a streamed track from its StreamFeed.
// Channels are changed from the main thread and mixed from the device's thread: one lock
// covers every channel change and the mixing of one block, so neither sees half of the
// other. The feeds are read without waiting (see music_decoder.h for every thread and lock).

#include <array>
#include <cstdint>
#include <map>
#include <mutex>
#include <vector>

#include "media/sound/peak_limiter.h"
#include "media/sound/sound.h"
#include "media/sound/stream_feed.h"

class Mixer {
public:
    // New channel at volume 1, playing or paused; 0 for a null or empty sound.
    Channel play(const SoundPtr& sound, bool paused, SoundGroup group = SoundGroup::Effects);
    // New channel over a streamed track's feed (music); it ends when the feed has ended and run dry.
    Channel playStream(const std::shared_ptr<StreamFeed>& feed, bool paused);
    // The player's volume for every channel of the group, 0 to 1 (1 at first), on top of each
    // channel's own; channels report their own volume only.
    void setGroupGain(SoundGroup group, float gain);
    // Stops the channel for good; it is forgotten at once by every query. A streamed track
    // that is stopped while a newer one waits for its first samples goes on sounding until
    // they arrive (a switch of track without a silent gap), then it is gone. A newer track
    // started before the older one is stopped waits for that too: tracks never overlap.
    void stop(Channel channel);
    // Volume 0 (silent, still running) to 1 (full); values outside are clamped.
    void setVolume(Channel channel, float volume);
    // Lets a paused channel play on from where it waits.
    void resume(Channel channel);
    // True while the channel exists and is not paused (a finished effect no longer exists).
    bool isPlaying(Channel channel) const;
    // Frames of its sound the channel has played so far (0 for an unknown channel); for a
    // streamed track, the frames taken from its feed, loops included.
    size_t channelPosition(Channel channel) const;
    // Volume last set on the channel (0 for an unknown channel).
    float channelVolume(Channel channel) const;
    // Channels that exist, playing or paused.
    int activeChannels() const;
    // Mixes frames stereo frames into out (interleaved), summing in 32 bits and clamping.
    void mixInto(int16_t* out, int frames);

private:
    struct Voice {
        SoundPtr sound;                    // keeps the samples alive while the channel plays
        std::shared_ptr<StreamFeed> feed;  // or the streamed samples
        size_t position = 0;
        float volume = 1.0f;
        bool paused = false;
        SoundGroup group = SoundGroup::Effects;
    };
    // The factor a voice's samples are scaled by, its group's gain included.
    int32_t factorOf(const Voice& voice) const;
    // Adds a stretch of the voice into accumulator; false once the voice has ended.
    bool mixVoice(Voice& voice, int frames);
    bool mixStream(Voice& voice, int frames);
    // Forgets a voice; its sound or decoder is released later, outside the lock.
    void release(Voice& voice, std::vector<Voice>& released);
    // True while a stream that has not yet sounded must leave the music to another.
    bool waitsToTakeOver(const Voice& voice) const;
    // True while a playing stream has not yet started and has less than its first stretch.
    bool streamStarting() const;
    // Stopped tracks bridge the wait for a starting one; dropped once nothing starts.
    void mixStopped(int frames, std::vector<Voice>& released);

    mutable std::mutex lock;
    std::map<Channel, Voice> voices;
    std::vector<Voice> stopped;  // streamed tracks stopped while another starts (at most a few)
    Channel nextChannel = 1;
    std::vector<int32_t> accumulator;  // kept between blocks so mixing does not allocate
    std::array<float, SoundGroupCount> groupGains{1.0f, 1.0f};
    PeakLimiter limiter;
};
