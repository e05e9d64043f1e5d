// Whole-buffer operations on generated audio.

#include "audio_buffer.h"

#include <algorithm>
#include <cmath>

void AudioBuffer::add(size_t frame, float sample, float pan) {
    if (frame >= left.size()) return;
    const float angle = (std::clamp(pan, -1.0f, 1.0f) + 1.0f) * 0.25f * 3.14159265f;
    left[frame] += sample * std::cos(angle) * 1.41421356f;
    right[frame] += sample * std::sin(angle) * 1.41421356f;
}

float peakLevel(const AudioBuffer& buffer) {
    float peak = 0.0f;
    for (size_t i = 0; i < buffer.frames(); ++i)
        peak = std::max({peak, std::fabs(buffer.left[i]), std::fabs(buffer.right[i])});
    return peak;
}

void normaliseTo(AudioBuffer& buffer, float peakDb) {
    const float peak = peakLevel(buffer);
    if (peak <= 0.0f) return;
    const float gain = std::pow(10.0f, peakDb / 20.0f) / peak;
    for (size_t i = 0; i < buffer.frames(); ++i) {
        buffer.left[i] *= gain;
        buffer.right[i] *= gain;
    }
}

void wrapTail(AudioBuffer& buffer, size_t loopFrames) {
    for (size_t i = loopFrames; i < buffer.frames(); ++i) {
        buffer.left[i % loopFrames] += buffer.left[i];
        buffer.right[i % loopFrames] += buffer.right[i];
    }
    buffer.left.resize(loopFrames);
    buffer.right.resize(loopFrames);
}

void foldToMono(AudioBuffer& buffer) {
    for (size_t i = 0; i < buffer.frames(); ++i) {
        const float mid = (buffer.left[i] + buffer.right[i]) * 0.5f;
        buffer.left[i] = mid;
        buffer.right[i] = mid;
    }
}

void fadeEdges(AudioBuffer& buffer, size_t fadeInFrames, size_t fadeOutFrames) {
    const size_t frames = buffer.frames();
    for (size_t i = 0; i < fadeInFrames && i < frames; ++i) {
        const float g = 0.5f - 0.5f * std::cos(3.14159265f * i / fadeInFrames);
        buffer.left[i] *= g;
        buffer.right[i] *= g;
    }
    for (size_t i = 0; i < fadeOutFrames && i < frames; ++i) {
        const float g = 0.5f - 0.5f * std::cos(3.14159265f * i / fadeOutFrames);
        buffer.left[frames - 1 - i] *= g;
        buffer.right[frames - 1 - i] *= g;
    }
}

uint32_t AudioRandom::next() {
    // xorshift32: tiny, fast and the same everywhere.
    state ^= state << 13;
    state ^= state >> 17;
    state ^= state << 5;
    return state;
}

float AudioRandom::bipolar() { return static_cast<float>(next() >> 8) / 8388608.0f - 1.0f; }

int AudioRandom::below(int count) { return static_cast<int>(next() % static_cast<uint32_t>(count)); }
