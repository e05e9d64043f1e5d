#pragma once
// Building blocks of the generated sounds: band-limited oscillators, envelopes, filters,
// FM bells and room effects. Everything is a plain function of its inputs, so the same
// parameters always give the same samples.

#include <array>
#include <cmath>
#include <vector>

#include "audio_buffer.h"

constexpr float TwoPi = 6.28318531f;

// Frequency of a MIDI note number (69 = A 440 Hz).
float noteToHz(float note);
// sin(2 pi cycles) to about 4e-6 without the library call, which the instruments would
// otherwise make tens of millions of times a piece. The same inputs give the same bits.
inline float sineOfCycles(double cycles) {
    float x = static_cast<float>(cycles - std::floor(cycles));  // 0 .. 1
    // Folded onto a quarter wave either side of 0, where the series converges quickly.
    if (x > 0.75f)
        x -= 1.0f;
    else if (x > 0.25f)
        x = 0.5f - x;
    const float z = TwoPi * x, z2 = z * z;
    return z * (1.0f + z2 * (-1.0f / 6.0f + z2 * (1.0f / 120.0f + z2 * (-1.0f / 5040.0f + z2 * (1.0f / 362880.0f)))));
}
inline float fastSin(float radians) { return sineOfCycles(radians * (1.0 / 6.283185307179586)); }

// An exponential fall from 1 with the given time constant, a multiplication a sample.
struct Decay {
    explicit Decay(float seconds);
    float level = 1.0f;
    float factor;
    float next() {
        const float value = level;
        level *= factor;
        return value;
    }
};
// The steps of the two-sample PolyBLEP correction that takes the alias-making corners
// off a naive saw or square. t is the phase (0..1), dt the phase step per sample.
float polyBlep(float t, float dt);

// A phase accumulator with band-limited waveforms; set hz before every sample to glide.
struct Oscillator {
    double phase = 0.0;
    float hz = 440.0f;

    float saw();
    float square(float pulseWidth = 0.5f);
    float sine();
};

// Attack, decay, sustain level, release (seconds); the level at time t of a note held for hold seconds.
struct Adsr {
    float attack = 0.01f;
    float decay = 0.1f;
    float sustain = 0.7f;
    float release = 0.2f;
    float at(float t, float hold) const;
    float length(float hold) const { return hold + release; }
};

// Topology-preserving state-variable filter (stays stable while the cutoff moves).
struct Svf {
    float ic1 = 0.0f;
    float ic2 = 0.0f;
    // Coefficients of the last cutoff and resonance, kept because most notes hold them still.
    float lastCutoff = -1.0f, lastResonance = -1.0f, g = 0.0f, k = 0.0f, a1 = 0.0f;
    struct Outputs {
        float low, band, high;
    };
    Outputs process(float x, float cutoffHz, float resonance);
    float lowpass(float x, float cutoffHz, float resonance = 0.7f) { return process(x, cutoffHz, resonance).low; }
    float highpass(float x, float cutoffHz, float resonance = 0.7f) { return process(x, cutoffHz, resonance).high; }
    float bandpass(float x, float cutoffHz, float resonance = 1.5f) { return process(x, cutoffHz, resonance).band; }
};

// A two-operator FM bell, one sample a call: the modulation index falls faster than the
// tone, so the strike is bright and the ring turns pure.
class FmBell {
public:
    FmBell(float hz, float ratio, float index, float decaySeconds);
    float next();

private:
    double carrierPhase = 0.0, modulatorPhase = 0.0;
    double carrierStep, modulatorStep;
    float depth;
    Decay modulatorFall, ring;
    int sinceStrike = 0;
};

// ---- Room effects --------------------------------------------------------------

class StereoEffect {
public:
    virtual ~StereoEffect() = default;
    // Takes the dry sample pair, returns it with the effect mixed in.
    virtual void process(float& left, float& right) = 0;
};

// A small Schroeder-Moorer room: eight damped combs and four allpasses per side.
class Reverb : public StereoEffect {
public:
    Reverb(float roomSize, float damping, float wet);
    void process(float& left, float& right) override;

private:
    struct Comb {
        std::vector<float> line;
        size_t index = 0;
        float store = 0.0f;
    };
    struct Allpass {
        std::vector<float> line;
        size_t index = 0;
    };
    float runSide(std::array<Comb, 8>& combs, std::array<Allpass, 4>& allpasses, float input);
    std::array<Comb, 8> leftCombs, rightCombs;
    std::array<Allpass, 4> leftPasses, rightPasses;
    float feedback, damping, wet;
};

// A ping-pong echo: each repeat crosses to the other side, softer and a little darker.
class Echo : public StereoEffect {
public:
    Echo(float delaySeconds, float feedback, float wet);
    void process(float& left, float& right) override;

private:
    std::vector<float> leftLine, rightLine;
    size_t index = 0;
    float feedback, wet;
    float leftTone = 0.0f, rightTone = 0.0f;
};

// A steep (fourth-order Butterworth) low-pass over the whole mix: the music keeps its top
// end up to the cutoff and no hiss above it.
class TopCut : public StereoEffect {
public:
    explicit TopCut(float cutoffHz) : cutoff(cutoffHz) {}
    void process(float& left, float& right) override;

private:
    float cutoff;
    Svf leftFirst, leftSecond, rightFirst, rightSecond;
};

// Runs an effect over a one-shot sound (leave silent room at the end for its tail).
void applyEffect(AudioBuffer& buffer, StereoEffect& effect);
// Runs an effect over a loop as if it had already been playing: the last preroll frames
// go through first, so the start already carries the ring of the end.
void applyEffectLooped(AudioBuffer& buffer, StereoEffect& effect, size_t prerollFrames);
