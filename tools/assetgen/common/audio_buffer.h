#pragma once
// Stereo float audio at 44100 Hz, the working form of every generated sound.

#include <cstddef>
#include <cstdint>
#include <vector>

constexpr int AudioRate = 44100;

struct AudioBuffer {
    std::vector<float> left;
    std::vector<float> right;

    explicit AudioBuffer(size_t frames = 0) : left(frames, 0.0f), right(frames, 0.0f) {}
    size_t frames() const { return left.size(); }
    // Adds a mono sample at a stereo position (-1 left .. 1 right), equal power.
    void add(size_t frame, float sample, float pan = 0.0f);
};

inline size_t secondsToFrames(double seconds) { return static_cast<size_t>(seconds * AudioRate + 0.5); }

// Largest absolute sample of both sides.
float peakLevel(const AudioBuffer& buffer);
// Scales the whole buffer so its peak sits at the given level in dBFS (for example -1.5).
void normaliseTo(AudioBuffer& buffer, float peakDb);
// Folds everything past loopFrames back onto the start and cuts the buffer there, so a
// note or echo that rings over the loop point continues at the start of the next pass.
void wrapTail(AudioBuffer& buffer, size_t loopFrames);
// Both sides become their average, as a mono file will hold them.
void foldToMono(AudioBuffer& buffer);
// Short raised-cosine fades at both ends of a one-shot effect, so it starts and ends at 0.
void fadeEdges(AudioBuffer& buffer, size_t fadeInFrames, size_t fadeOutFrames);

// Deterministic noise and choices: the same seed gives the same sounds on every build.
class AudioRandom {
public:
    explicit AudioRandom(uint32_t seed) : state(seed ? seed : 0x9E3779B9u) {}
    uint32_t next();
    float bipolar();       // -1 .. 1
    int below(int count);  // 0 .. count-1
private:
    uint32_t state;
};
