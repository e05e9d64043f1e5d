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

uint32_t seedFor(const NoteEvent& note) {
    return static_cast<uint32_t>(note.start * 1000003.0 + note.note * 7919.0) | 1u;
}

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

void playMarimba(AudioBuffer& out, const NoteEvent& note) {
    const float hz = noteToHz(note.note);
    const float ring = std::clamp(0.9f - (note.note - 60.0f) * 0.02f, 0.25f, 1.2f);
    renderNote(out, note, ring * 4.0f, [&](float t) {
        const float strike = std::min(1.0f, t / 0.0015f);
        float tone = std::sin(TwoPi * hz * t) * std::exp(-t / ring);
        if (hz * 4.0f < 15000.0f) tone += 0.35f * std::sin(TwoPi * hz * 3.93f * t) * std::exp(-t / (ring * 0.12f));
        if (hz * 10.0f < 15000.0f) tone += 0.12f * std::sin(TwoPi * hz * 9.87f * t) * std::exp(-t / (ring * 0.04f));
        return panned(tone * strike * 0.6f, note.pan);
    });
}

void playEPiano(AudioBuffer& out, const NoteEvent& note) {
    const float hz = noteToHz(note.note);
    const Adsr env{0.003f, 1.6f, 0.25f, 0.35f};
    Oscillator wobble{0.0, 4.8f};
    renderNote(out, note, env.length(note.hold), [&](float t) {
        const float level = env.at(t, note.hold);
        const float index = 1.2f * std::exp(-t / 0.4f) + 0.2f;
        const float body = std::sin(TwoPi * hz * t + index * std::sin(TwoPi * hz * t));
        const float tine =
            hz * 14.0f < 16000.0f ? 0.15f * std::sin(TwoPi * hz * 14.0f * t) * std::exp(-t / 0.02f) : 0.0f;
        // A slow tremolo that moves across the stereo field, as the old amplifiers did.
        const float sway = 0.25f * wobble.sine();
        const auto [left, right] = panned((body + tine) * level * 0.45f, note.pan);
        return std::pair{left * (1.0f + sway), right * (1.0f - sway)};
    });
}

void playFlute(AudioBuffer& out, const NoteEvent& note) {
    const Adsr env{0.09f, 0.2f, 0.85f, 0.25f};
    const float hz = noteToHz(note.note);
    Oscillator tone{0.0, hz}, vibrato{0.0, 4.6f};
    renderNote(out, note, env.length(note.hold), [&](float t) {
        const float depth = std::min(1.0f, std::max(0.0f, t - 0.3f) * 1.5f) * 0.005f;
        tone.hz = hz * (1.0f + depth * vibrato.sine());
        const float phase = TwoPi * static_cast<float>(tone.phase);
        const float value = tone.sine() + 0.18f * std::sin(2.0f * phase) + 0.06f * std::sin(3.0f * phase);
        return panned(value * env.at(t, note.hold) * 0.4f, note.pan);
    });
}

void playNylon(AudioBuffer& out, const NoteEvent& note) {
    const float hz = noteToHz(note.note);
    const float ring = 1.4f;
    renderNote(out, note, ring * 3.0f, [&](float t) {
        float value = 0.0f;
        for (int partial = 1; partial <= 6; ++partial) {
            if (hz * partial > 15000.0f) break;
            const float weight = 1.0f / (partial * partial * 0.6f + 0.4f);
            value += weight * std::sin(TwoPi * hz * partial * t) * std::exp(-t * partial / ring);
        }
        const float strike = std::min(1.0f, t / 0.001f);
        return panned(value * strike * 0.45f, note.pan);
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
        // A band around 8 kHz rather than everything above it: bright without a hiss to 22 kHz.
        const float hiss = filter.bandpass(noise.bipolar(), 8000.0f, 1.4f);
        return panned(hiss * std::exp(-t / decay) * 0.5f, hit.pan);
    });
}

void playRim(AudioBuffer& out, const NoteEvent& hit) {
    renderNote(out, hit, 0.08f, [&](float t) {
        const float knock = std::sin(TwoPi * 1750.0f * t) * std::exp(-t / 0.012f) +
                            0.6f * std::sin(TwoPi * 520.0f * t) * std::exp(-t / 0.02f);
        return panned(knock * std::min(1.0f, t / 0.0005f) * 0.5f, hit.pan);
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
