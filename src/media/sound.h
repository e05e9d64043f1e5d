#pragma once
// A whole decoded sound, ready for the mixer.

#include <cstdint>
#include <memory>
#include <vector>

constexpr int MixRate = 44100;

struct Sound {
    std::vector<int16_t> samples;  // 44100 Hz, stereo interleaved (left, right)
    bool looping = false;
    size_t frameCount() const { return samples.size() / 2; }
};
using SoundPtr = std::shared_ptr<const Sound>;

// Samples as a decoder delivers them, before conversion for the mixer.
struct PcmSound {
    int sampleRate = 0;
    int channels = 0;              // 1 or 2
    std::vector<int16_t> samples;  // interleaved when stereo
};

// Converts any decoded sound to 44100 Hz stereo.
Sound convertForMixing(const PcmSound& pcm, bool looping);
