// Note rendering for the generated effects and music.

#include "instruments.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "common/audio_synth.h"

namespace {

// Calls sample(t) for every frame of a note and adds the returned pair into the buffer.
template <typename SampleFn>
void renderNote(AudioBuffer& out, const NoteEvent& note, float seconds, SampleFn sample) {
    const size_t first = secondsToFrames(note.start);
    const size_t count = secondsToFrames(seconds);
    for (size_t i = 0; i < count && first + i < out.frames(); ++i) {
        const float t = static_cast<float>(i) / AudioRate;
        const auto [left, right] = sample(t);
        out.left[first + i] += left * note.gain;
        out.right[first + i] += right * note.gain;
    }
}

// Equal-power pan gains for a mono voice.
std::pair<float, float> panned(float sample, float pan) {
    const float angle = (pan + 1.0f) * 0.25f * 3.14159265f;
    return {sample * std::cos(angle) * 1.4142f, sample * std::sin(angle) * 1.4142f};
}

uint32_t seedFor(const NoteEvent& note) { return static_cast<uint32_t>(note.start * 1000003.0 + note.note * 7919.0) | 1u; }

}  // namespace

// ---- Pitched instruments ------------------------------------------------------------

void playPad(AudioBuffer& out, const NoteEvent& note, float brightness) {
    const Adsr env{0.9f, 0.8f, 0.75f, 1.6f};
    const float hz = noteToHz(note.note);
    Oscillator low{0.0, hz * 0.9959f}, mid{0.31, hz}, high{0.67, hz * 1.0041f};
    Svf leftFilter, rightFilter;
    float cutoff = 0.0f;
    int sinceTuning = 0;
    renderNote(out, note, env.length(note.hold), [&](float t) {
        const float level = env.at(t, note.hold);
        // The slow swell needs no per-sample retuning: every 32 samples (0.7 ms) is smooth.
        if (sinceTuning-- == 0) {
            cutoff = hz * (1.5f + 4.0f * brightness * level) + 200.0f;
            sinceTuning = 31;
        }
        const float centre = mid.saw() * 0.6f;
        const float left = leftFilter.lowpass(low.saw() + centre, cutoff, 0.6f);
        const float right = rightFilter.lowpass(high.saw() + centre, cutoff, 0.6f);
        return std::pair{left * level * 0.35f, right * level * 0.35f};
    });
}

void playPluck(AudioBuffer& out, const NoteEvent& note, float tone) {
    const Adsr env{0.002f, 0.35f, 0.0f, 0.25f};
    const float hz = noteToHz(note.note);
    Oscillator saw{0.0, hz}, pulse{0.5, hz * 1.002f};
    Svf filter;
    renderNote(out, note, env.length(note.hold), [&](float t) {
        const float cutoff = hz * 1.2f + 6000.0f * tone * std::exp(-t / 0.09f);
        const float raw = saw.saw() * 0.7f + pulse.square(0.3f) * 0.3f;
        return panned(filter.lowpass(raw, cutoff, 0.9f) * env.at(t, note.hold), note.pan);
    });
}

void playBass(AudioBuffer& out, const NoteEvent& note) {
    const Adsr env{0.004f, 0.2f, 0.6f, 0.08f};
    const float hz = noteToHz(note.note);
    Oscillator saw{0.0, hz}, sub{0.0, hz};
    Svf filter;
    renderNote(out, note, env.length(note.hold), [&](float t) {
        const float cutoff = 220.0f + 1100.0f * std::exp(-t / 0.07f);
        const float body = filter.lowpass(saw.saw(), cutoff, 1.1f) * 0.6f + sub.sine() * 0.6f;
        return panned(body * env.at(t, note.hold), 0.0f);
    });
}

void playBell(AudioBuffer& out, const NoteEvent& note, float ring) {
    const float hz = noteToHz(note.note);
    renderNote(out, note, ring * 5.0f, [&](float t) {
        const float strike = fmBell(t, hz, 3.5f, 2.2f, ring) + 0.35f * fmBell(t, hz * 2.0f, 1.41f, 1.2f, ring * 0.5f);
        return panned(strike * 0.5f, note.pan);
    });
}

void playLead(AudioBuffer& out, const NoteEvent& note) {
    const Adsr env{0.03f, 0.25f, 0.7f, 0.3f};
    const float hz = noteToHz(note.note);
    Oscillator tone{0.0, hz}, vibrato{0.0, 5.2f};
    Svf filter;
    renderNote(out, note, env.length(note.hold), [&](float t) {
        const float depth = std::min(1.0f, std::max(0.0f, t - 0.25f) * 2.0f) * 0.004f;
        tone.hz = hz * (1.0f + depth * vibrato.sine());
        const float shaped = filter.lowpass(tone.square(0.4f), hz * 3.5f + 600.0f, 0.7f);
        return panned(shaped * env.at(t, note.hold) * 0.5f, note.pan);
    });
}

void playBrass(AudioBuffer& out, const NoteEvent& note) {
    const Adsr env{0.04f, 0.3f, 0.8f, 0.35f};
    const float hz = noteToHz(note.note);
    Oscillator a{0.0, hz * 0.997f}, b{0.5, hz * 1.003f};
    Svf filter;
    renderNote(out, note, env.length(note.hold), [&](float t) {
        const float level = env.at(t, note.hold);
        const float swell = std::min(1.0f, t / 0.08f);
        const float cutoff = hz * (1.0f + 5.0f * swell * level) + 300.0f;
        const float raw = (a.saw() + b.saw()) * 0.5f;
        return panned(filter.lowpass(raw, cutoff, 0.8f) * level * 0.6f, note.pan);
    });
}

// ---- Drums ---------------------------------------------------------------------------

void playKick(AudioBuffer& out, const NoteEvent& hit) {
    Oscillator body{0.0, 150.0f};
    renderNote(out, hit, 0.45f, [&](float t) {
        body.hz = 44.0f + 120.0f * std::exp(-t / 0.035f);
        const float level = std::exp(-t / 0.22f) * std::min(1.0f, t / 0.001f);
        return panned(body.sine() * level, 0.0f);
    });
}

void playSnare(AudioBuffer& out, const NoteEvent& hit) {
    AudioRandom noise(seedFor(hit));
    Oscillator body{0.0, 190.0f};
    Svf filter;
    renderNote(out, hit, 0.3f, [&](float t) {
        const float rattle = filter.bandpass(noise.bipolar(), 2200.0f, 0.7f) * std::exp(-t / 0.09f);
        const float thump = body.sine() * std::exp(-t / 0.05f) * 0.6f;
        return panned((rattle + thump) * 0.8f, hit.pan);
    });
}

void playHat(AudioBuffer& out, const NoteEvent& hit, bool open) {
    AudioRandom noise(seedFor(hit));
    Svf filter;
    const float decay = open ? 0.16f : 0.03f;
    renderNote(out, hit, decay * 6.0f, [&](float t) {
        const float hiss = filter.highpass(noise.bipolar(), 7500.0f, 0.8f);
        return panned(hiss * std::exp(-t / decay) * 0.5f, hit.pan);
    });
}

void playNoiseSweep(AudioBuffer& out, const NoteEvent& hit, float fromHz, float toHz) {
    AudioRandom noise(seedFor(hit));
    Svf filter;
    const float length = hit.hold;
    renderNote(out, hit, length, [&](float t) {
        const float along = t / length;
        const float hz = fromHz * std::pow(toHz / fromHz, along);
        const float level = std::sin(3.14159265f * along);
        return panned(filter.bandpass(noise.bipolar(), hz, 2.0f) * level, hit.pan);
    });
}
