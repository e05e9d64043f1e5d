// Oscillators, envelopes, filters, bells and room effects for the sound generator.

#include "audio_synth.h"

#include <algorithm>
#include <cmath>

// ---- Oscillators ------------------------------------------------------------------

float noteToHz(float note) { return 440.0f * std::pow(2.0f, (note - 69.0f) / 12.0f); }

Decay::Decay(float seconds) : factor(std::exp(-1.0f / (seconds * AudioRate))) {}

float polyBlep(float t, float dt) {
    if (t < dt) {
        t /= dt;
        return t + t - t * t - 1.0f;
    }
    if (t > 1.0f - dt) {
        t = (t - 1.0f) / dt;
        return t * t + t + t + 1.0f;
    }
    return 0.0f;
}

float Oscillator::saw() {
    const float dt = hz / AudioRate;
    const float t = static_cast<float>(phase);
    const float value = 2.0f * t - 1.0f - polyBlep(t, dt);
    phase += dt;
    if (phase >= 1.0) phase -= 1.0;
    return value;
}

float Oscillator::square(float pulseWidth) {
    const float dt = hz / AudioRate;
    const float t = static_cast<float>(phase);
    float value = t < pulseWidth ? 1.0f : -1.0f;
    value += polyBlep(t, dt);
    value -= polyBlep(static_cast<float>(std::fmod(phase + 1.0 - pulseWidth, 1.0)), dt);
    value -= 2.0f * pulseWidth - 1.0f;  // a narrow pulse is mostly low: centre it on 0
    phase += dt;
    if (phase >= 1.0) phase -= 1.0;
    return value;
}

float Oscillator::sine() {
    const float value = sineOfCycles(phase);
    phase += hz / AudioRate;
    if (phase >= 1.0) phase -= 1.0;
    return value;
}

// ---- Envelopes and filters ---------------------------------------------------------

float Adsr::at(float t, float hold) const {
    auto held = [this](float time) {
        if (time < attack) return time / attack;
        if (time < attack + decay) return 1.0f - (1.0f - sustain) * (time - attack) / decay;
        return sustain;
    };
    if (t < 0.0f) return 0.0f;
    if (t < hold) return held(t);
    const float fromRelease = (t - hold) / release;
    if (fromRelease >= 1.0f) return 0.0f;
    // Released along a curve: falls quickly at first, reaches 0 exactly at the end.
    const float rest = 1.0f - fromRelease;
    return held(hold) * rest * rest;
}

namespace {

// Pade approximation of tan(x), close enough below 0.45 pi for a filter's tuning and
// several times faster than std::tan, which the pads call for every sample.
float fastTan(float x) {
    const float x2 = x * x;
    return x * (15.0f - x2) / (15.0f - 6.0f * x2);
}

}  // namespace

Svf::Outputs Svf::process(float x, float cutoffHz, float resonance) {
    if (cutoffHz != lastCutoff || resonance != lastResonance) {
        lastCutoff = cutoffHz;
        lastResonance = resonance;
        g = fastTan(3.14159265f * std::clamp(cutoffHz, 10.0f, AudioRate * 0.45f) / AudioRate);
        k = 1.0f / resonance;
        a1 = 1.0f / (1.0f + g * (g + k));
    }
    const float v3 = x - ic2;
    const float v1 = a1 * ic1 + g * a1 * v3;
    const float v2 = ic2 + g * v1;
    ic1 = 2.0f * v1 - ic1;
    ic2 = 2.0f * v2 - ic2;
    return {v2, v1, x - k * v1 - v2};
}

namespace {

// The sidebands reach about hz + (index + 1.5) * hz * ratio; past 16 kHz they would fold
// back below the Nyquist frequency as inharmonic alias tones, so high bells ring purer.
float bandLimitedIndex(float hz, float ratio, float index) {
    const float bandLimit = (16000.0f / hz - 1.0f) / ratio - 1.5f;
    return std::clamp(index, 0.0f, std::max(bandLimit, 0.0f));
}

constexpr int StrikeFrames = 88;  // 2 ms of attack

}  // namespace

FmBell::FmBell(float hz, float ratio, float index, float decaySeconds)
    : carrierStep(double(hz) / AudioRate),
      modulatorStep(double(hz) * ratio / AudioRate),
      depth(bandLimitedIndex(hz, ratio, index) / TwoPi),
      modulatorFall(decaySeconds * 0.3f),
      ring(decaySeconds) {}

float FmBell::next() {
    const float modulator = sineOfCycles(modulatorPhase) * depth * modulatorFall.next();
    const float strike = sinceStrike < StrikeFrames ? float(sinceStrike++) / StrikeFrames : 1.0f;
    const float value = sineOfCycles(carrierPhase + modulator) * ring.next() * strike;
    carrierPhase += carrierStep;
    modulatorPhase += modulatorStep;
    return value;
}

// ---- Reverb --------------------------------------------------------------------------

namespace {

// Classic tunings at 44100 Hz; the right side is a few samples longer for width.
constexpr std::array<int, 8> CombLengths{1116, 1188, 1277, 1356, 1422, 1491, 1557, 1617};
constexpr std::array<int, 4> AllpassLengths{556, 441, 341, 225};
constexpr int StereoSpread = 23;

}  // namespace

Reverb::Reverb(float roomSize, float damping, float wet)
    : feedback(0.7f + 0.28f * roomSize), damping(damping), wet(wet) {
    for (size_t i = 0; i < 8; ++i) {
        leftCombs[i].line.assign(CombLengths[i], 0.0f);
        rightCombs[i].line.assign(CombLengths[i] + StereoSpread, 0.0f);
    }
    for (size_t i = 0; i < 4; ++i) {
        leftPasses[i].line.assign(AllpassLengths[i], 0.0f);
        rightPasses[i].line.assign(AllpassLengths[i] + StereoSpread, 0.0f);
    }
}

float Reverb::runSide(std::array<Comb, 8>& combs, std::array<Allpass, 4>& allpasses, float input) {
    float sum = 0.0f;
    for (Comb& comb : combs) {
        const float out = comb.line[comb.index];
        comb.store = out * (1.0f - damping) + comb.store * damping;
        comb.line[comb.index] = input + comb.store * feedback;
        if (++comb.index == comb.line.size()) comb.index = 0;
        sum += out;
    }
    for (Allpass& pass : allpasses) {
        const float delayed = pass.line[pass.index];
        pass.line[pass.index] = sum + delayed * 0.5f;
        sum = delayed - sum;
        if (++pass.index == pass.line.size()) pass.index = 0;
    }
    return sum;
}

void Reverb::process(float& left, float& right) {
    const float input = (left + right) * 0.015f;
    const float wetLeft = runSide(leftCombs, leftPasses, input);
    const float wetRight = runSide(rightCombs, rightPasses, input);
    left += wetLeft * wet;
    right += wetRight * wet;
}

// ---- Echo ------------------------------------------------------------------------------

Echo::Echo(float delaySeconds, float feedback, float wet)
    : leftLine(secondsToFrames(delaySeconds), 0.0f),
      rightLine(secondsToFrames(delaySeconds), 0.0f),
      feedback(feedback),
      wet(wet) {}

void Echo::process(float& left, float& right) {
    const float fromLeft = leftLine[index];
    const float fromRight = rightLine[index];
    // A gentle low-pass in the loop, so each repeat is darker than the last.
    leftTone += 0.35f * (fromRight - leftTone);
    rightTone += 0.35f * (fromLeft - rightTone);
    leftLine[index] = (left + right) * 0.5f + leftTone * feedback;
    rightLine[index] = rightTone * feedback;
    if (++index == leftLine.size()) index = 0;
    left += fromLeft * wet;
    right += fromRight * wet;
}

// ---- Top cut ---------------------------------------------------------------------------

void TopCut::process(float& left, float& right) {
    // The two stages' resonances of a fourth-order Butterworth response.
    constexpr float FirstQ = 0.5412f, SecondQ = 1.3066f;
    left = leftSecond.lowpass(leftFirst.lowpass(left, cutoff, FirstQ), cutoff, SecondQ);
    right = rightSecond.lowpass(rightFirst.lowpass(right, cutoff, FirstQ), cutoff, SecondQ);
}

// ---- Running effects -------------------------------------------------------------------

void applyEffect(AudioBuffer& buffer, StereoEffect& effect) {
    for (size_t i = 0; i < buffer.frames(); ++i) effect.process(buffer.left[i], buffer.right[i]);
}

void applyEffectLooped(AudioBuffer& buffer, StereoEffect& effect, size_t prerollFrames) {
    const size_t frames = buffer.frames();
    const size_t preroll = std::min(prerollFrames, frames);
    for (size_t i = frames - preroll; i < frames; ++i) {
        float left = buffer.left[i];
        float right = buffer.right[i];
        effect.process(left, right);  // warms the effect up; the output is thrown away
    }
    applyEffect(buffer, effect);
}
