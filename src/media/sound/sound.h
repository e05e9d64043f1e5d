#pragma once
// A whole decoded sound, ready for the mixer.

#include <cstdint>
#include <memory>
#include <vector>

constexpr int MixRate = 44100;

// Rates a sound file may declare. Outside them the file is refused, so a corrupt
// header cannot make the resampler divide by zero or blow one second up into hours.
constexpr int MinSoundRate = 1000;
constexpr int MaxSoundRate = 384000;
// Longest sound decoded whole into memory (20 minutes, about 212 MB after conversion):
// a larger effect, or an Ogg stream that decodes without end, is refused instead of
// exhausting memory. Music tracks are streamed and have no such limit.
constexpr int64_t MaxSoundFrames = int64_t{MixRate} * 60 * 20;

struct Sound {
    std::vector<int16_t> samples;  // 44100 Hz, stereo interleaved (left, right)
    bool looping = false;
    size_t frameCount() const { return samples.size() / 2; }
};
using SoundPtr = std::shared_ptr<const Sound>;

using Channel = int;  // 0 = none; every call on channel 0 (or a finished one) does nothing

// What a channel plays, for the volume the player gives each: effects (fired and
// forgotten), or music (the menu theme and every track).
enum class SoundGroup { Effects, Music };
constexpr int SoundGroupCount = 2;

// Music decoded on a thread of its own (as the game ships) or only when a test asks.
enum class MusicDecoding { OwnThread, ByHand };

// Samples as a decoder delivers them, before conversion for the mixer.
struct PcmSound {
    int sampleRate = 0;
    int channels = 0;              // 1 or 2
    std::vector<int16_t> samples;  // interleaved when stereo
    size_t frameCount() const { return channels > 0 ? samples.size() / channels : 0; }
};

// Number of 44100 Hz frames a sound of frames frames at rate becomes: round(frames * 44100 / rate).
int64_t mixedFrameCount(int64_t frames, int rate);
// Converts a decoded sound to 44100 Hz stereo (linear interpolation between source
// frames; a looping sound interpolates its last frame toward its first, so the loop
// point stays smooth). Anything but 1 or 2 channels at an accepted rate gives no samples.
Sound convertForMixing(const PcmSound& pcm, bool looping);
// The same, taking over the samples when they are already 44100 Hz stereo, so a long
// track is not held twice while it loads.
Sound convertForMixing(PcmSound&& pcm, bool looping);
