#pragma once
// Pure mixing of all playing channels into 16-bit stereo; the output device only calls mixInto.

#include <cstdint>
#include <map>
#include <mutex>

#include "media/sound.h"

using Channel = int;  // 0 = none

class Mixer {
public:
    // New channel at volume 1, playing or paused; 0 for a null sound.
    Channel play(const SoundPtr& sound, bool paused);
    void stop(Channel channel);
    void setVolume(Channel channel, float volume);
    void resume(Channel channel);
    bool isPlaying(Channel channel) const;
    int activeChannels() const;
    // Mixes frames stereo frames into out (interleaved), summing in 32 bits and clamping.
    void mixInto(int16_t* out, int frames);

private:
    struct Voice {
        SoundPtr sound;
        size_t position = 0;
        float volume = 1.0f;
        bool paused = false;
    };
    mutable std::mutex lock;  // channel changes and the mixing of one block never overlap
    std::map<Channel, Voice> voices;
    Channel nextChannel = 1;
};
