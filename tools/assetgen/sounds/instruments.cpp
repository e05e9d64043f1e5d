// Note rendering for the generated effects and music.

#include "instruments.h"

#include <algorithm>
#include <array>
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

// The same for a mono voice: sample(t) returns one value, placed at the note's pan.
template <typename SampleFn>
void renderMono(AudioBuffer& out, const NoteEvent& note, float seconds, SampleFn sample) {
    const auto [leftGain, rightGain] = panGains(note.pan);
    const size_t first = secondsToFrames(note.start);
    const size_t count = secondsToFrames(seconds);
    for (size_t i = 0; i < count && first + i < out.frames(); ++i) {
        const float value = sample(static_cast<float>(i) / AudioRate) * note.gain;
        out.left[first + i] += value * leftGain;
        out.right[first + i] += value * rightGain;
    }
}

uint32_t seedFor(const NoteEvent& note) {
    return static_cast<uint32_t>(note.start * 1000003.0 + note.note * 7919.0) | 1u;
}

}  // namespace

std::pair<float, float> panGains(float pan) {
    const float angle = (pan + 1.0f) * 0.25f * 3.14159265f;
    return {std::cos(angle) * 1.4142f, std::sin(angle) * 1.4142f};
}

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
    Decay snap(0.09f);
    renderMono(out, note, env.length(note.hold), [&](float t) {
        const float cutoff = hz * 1.2f + 6000.0f * tone * snap.next();
        const float raw = saw.saw() * 0.7f + pulse.square(0.3f) * 0.3f;
        return filter.lowpass(raw, cutoff, 0.9f) * env.at(t, note.hold);
    });
}

void playBass(AudioBuffer& out, const NoteEvent& note) {
    const Adsr env{0.004f, 0.2f, 0.6f, 0.08f};
    const float hz = noteToHz(note.note);
    Oscillator saw{0.0, hz}, sub{0.0, hz};
    Svf filter;
    Decay bite(0.07f);
    renderMono(out, note, env.length(note.hold), [&](float t) {
        const float cutoff = 220.0f + 1100.0f * bite.next();
        const float body = filter.lowpass(saw.saw(), cutoff, 1.1f) * 0.6f + sub.sine() * 0.6f;
        return body * env.at(t, note.hold);
    });
}

void playBell(AudioBuffer& out, const NoteEvent& note, float ring) {
    const float hz = noteToHz(note.note);
    FmBell body(hz, 3.5f, 2.2f, ring), octave(hz * 2.0f, 1.41f, 1.2f, ring * 0.5f);
    renderMono(out, note, ring * 5.0f, [&](float) {
        const float strike = body.next() + 0.35f * octave.next();
        return strike * 0.5f;
    });
}

void playLead(AudioBuffer& out, const NoteEvent& note) {
    const Adsr env{0.03f, 0.25f, 0.7f, 0.3f};
    const float hz = noteToHz(note.note);
    Oscillator tone{0.0, hz}, vibrato{0.0, 5.2f};
    Svf filter;
    renderMono(out, note, env.length(note.hold), [&](float t) {
        const float depth = std::min(1.0f, std::max(0.0f, t - 0.25f) * 2.0f) * 0.004f;
        tone.hz = hz * (1.0f + depth * vibrato.sine());
        const float shaped = filter.lowpass(tone.square(0.4f), hz * 3.5f + 600.0f, 0.7f);
        return shaped * env.at(t, note.hold) * 0.5f;
    });
}

void playBrass(AudioBuffer& out, const NoteEvent& note) {
    const Adsr env{0.04f, 0.3f, 0.8f, 0.35f};
    const float hz = noteToHz(note.note);
    Oscillator a{0.0, hz * 0.997f}, b{0.5, hz * 1.003f};
    Svf filter;
    renderMono(out, note, env.length(note.hold), [&](float t) {
        const float level = env.at(t, note.hold);
        const float swell = std::min(1.0f, t / 0.08f);
        const float cutoff = hz * (1.0f + 5.0f * swell * level) + 300.0f;
        const float raw = (a.saw() + b.saw()) * 0.5f;
        return filter.lowpass(raw, cutoff, 0.8f) * level * 0.6f;
    });
}

void playMarimba(AudioBuffer& out, const NoteEvent& note) {
    const float hz = noteToHz(note.note);
    const float ring = std::clamp(0.9f - (note.note - 60.0f) * 0.02f, 0.25f, 1.2f);
    Oscillator bar{0.0, hz}, fourth{0.0, hz * 3.93f}, tenth{0.0, hz * 9.87f};
    Decay barRing(ring), fourthRing(ring * 0.12f), tenthRing(ring * 0.04f);
    const float fourthGain = hz * 4.0f < 15000.0f ? 0.35f : 0.0f, tenthGain = hz * 10.0f < 15000.0f ? 0.12f : 0.0f;
    renderMono(out, note, ring * 4.0f, [&](float t) {
        const float strike = std::min(1.0f, t / 0.0015f);
        const float tone = bar.sine() * barRing.next() + fourthGain * fourth.sine() * fourthRing.next() +
                           tenthGain * tenth.sine() * tenthRing.next();
        return tone * strike * 0.6f;
    });
}

void playEPiano(AudioBuffer& out, const NoteEvent& note) {
    const float hz = noteToHz(note.note);
    const Adsr env{0.003f, 1.6f, 0.25f, 0.35f};
    const auto [leftGain, rightGain] = panGains(note.pan);
    Oscillator wobble{0.0, 4.8f}, tineTone{0.0, hz * 14.0f};
    Decay brightness(0.4f), tineRing(0.02f);
    double phase = 0.0;
    const float tineGain = hz * 14.0f < 16000.0f ? 0.15f : 0.0f;
    renderNote(out, note, env.length(note.hold), [&](float t) {
        const float level = env.at(t, note.hold);
        const float index = (1.2f * brightness.next() + 0.2f) / TwoPi;
        const float body = sineOfCycles(phase + index * sineOfCycles(phase));
        phase += double(hz) / AudioRate;
        const float tine = tineGain * tineTone.sine() * tineRing.next();
        // A slow tremolo that moves across the stereo field, as the old amplifiers did.
        const float sway = 0.25f * wobble.sine();
        const float value = (body + tine) * level * 0.45f;
        return std::pair{value * leftGain * (1.0f + sway), value * rightGain * (1.0f - sway)};
    });
}

void playFlute(AudioBuffer& out, const NoteEvent& note) {
    const Adsr env{0.09f, 0.2f, 0.85f, 0.25f};
    const float hz = noteToHz(note.note);
    Oscillator tone{0.0, hz}, vibrato{0.0, 4.6f};
    renderMono(out, note, env.length(note.hold), [&](float t) {
        const float depth = std::min(1.0f, std::max(0.0f, t - 0.3f) * 1.5f) * 0.005f;
        tone.hz = hz * (1.0f + depth * vibrato.sine());
        const float phase = TwoPi * static_cast<float>(tone.phase);
        const float value = tone.sine() + 0.18f * fastSin(2.0f * phase) + 0.06f * fastSin(3.0f * phase);
        return value * env.at(t, note.hold) * 0.4f;
    });
}

void playNylon(AudioBuffer& out, const NoteEvent& note) {
    const float hz = noteToHz(note.note);
    const float ring = 1.4f;
    std::array<Oscillator, 6> partials;
    std::array<Decay, 6> rings{Decay(ring),        Decay(ring / 2.0f), Decay(ring / 3.0f),
                               Decay(ring / 4.0f), Decay(ring / 5.0f), Decay(ring / 6.0f)};
    int count = 0;
    while (count < 6 && hz * (count + 1) <= 15000.0f) {
        partials[count].hz = hz * (count + 1);
        ++count;
    }
    renderMono(out, note, ring * 3.0f, [&](float t) {
        float value = 0.0f;
        for (int partial = 0; partial < count; ++partial) {
            const float weight = 1.0f / ((partial + 1) * (partial + 1) * 0.6f + 0.4f);
            value += weight * partials[partial].sine() * rings[partial].next();
        }
        const float strike = std::min(1.0f, t / 0.001f);
        return value * strike * 0.45f;
    });
}

// ---- Drums ---------------------------------------------------------------------------

void playKick(AudioBuffer& out, const NoteEvent& hit) {
    Oscillator body{0.0, 150.0f};
    Decay drop(0.035f), fall(0.22f);
    renderMono(out, hit, 0.45f, [&](float t) {
        body.hz = 44.0f + 120.0f * drop.next();
        const float level = fall.next() * std::min(1.0f, t / 0.001f);
        return body.sine() * level;
    });
}

void playSnare(AudioBuffer& out, const NoteEvent& hit) {
    AudioRandom noise(seedFor(hit));
    Oscillator body{0.0, 190.0f};
    Svf filter;
    Decay rattleFall(0.09f), thumpFall(0.05f);
    renderMono(out, hit, 0.3f, [&](float) {
        const float rattle = filter.bandpass(noise.bipolar(), 2200.0f, 0.7f) * rattleFall.next();
        const float thump = body.sine() * thumpFall.next() * 0.6f;
        return (rattle + thump) * 0.8f;
    });
}

// White noise kept to a band: above the body of the music and under 12 kHz, so the
// percussion is bright without a hiss up to 22 kHz.
struct BandNoise {
    BandNoise(const NoteEvent& hit, float lowHz, float highHz) : noise(seedFor(hit)), low(lowHz), high(highHz) {}
    float next() { return lowpass.lowpass(highpass.highpass(noise.bipolar(), low), high); }
    AudioRandom noise;
    Svf highpass, lowpass;
    float low, high;
};

void playHat(AudioBuffer& out, const NoteEvent& hit, bool open) {
    BandNoise hiss(hit, 6500.0f, 10500.0f);
    Decay fall(open ? 0.16f : 0.03f);
    renderMono(out, hit, open ? 0.9f : 0.2f, [&](float) { return hiss.next() * fall.next() * 0.9f; });
}

void playShaker(AudioBuffer& out, const NoteEvent& hit) {
    BandNoise grains(hit, 4500.0f, 9500.0f);
    Decay fall(0.035f);
    renderMono(out, hit, 0.22f, [&](float t) {
        // A grain-filled shake swells for a few ms rather than snapping on.
        return grains.next() * fall.next() * std::min(1.0f, t / 0.006f);
    });
}

namespace {

// Square waves at unrelated pitches: the clangorous body of a cymbal.
constexpr std::array<float, 6> CymbalPitches{263.0f, 400.0f, 421.0f, 531.0f, 588.0f, 831.0f};

float metal(std::array<Oscillator, 6>& partials) {
    float sum = 0.0f;
    for (Oscillator& partial : partials) sum += partial.square();
    return sum * (1.0f / 6.0f);
}

std::array<Oscillator, 6> cymbalPartials() {
    std::array<Oscillator, 6> partials;
    for (size_t i = 0; i < partials.size(); ++i) partials[i] = {0.13 * double(i), CymbalPitches[i] * 1.5f};
    return partials;
}

}  // namespace

void playRide(AudioBuffer& out, const NoteEvent& hit) {
    std::array<Oscillator, 6> partials = cymbalPartials();
    Oscillator ping{0.0, 3150.0f};
    Svf band, top;
    Decay wash(0.45f), bell(0.25f);
    renderMono(out, hit, 1.6f, [&](float t) {
        const float shimmer = top.lowpass(band.bandpass(metal(partials), 7200.0f, 1.1f), 11000.0f);
        const float attack = std::min(1.0f, t / 0.001f);
        return (shimmer * wash.next() * 1.2f + ping.sine() * bell.next() * 0.12f) * attack;
    });
}

void playCrash(AudioBuffer& out, const NoteEvent& hit) {
    std::array<Oscillator, 6> partials = cymbalPartials();
    BandNoise air(hit, 3500.0f, 10000.0f);
    Svf band;
    Decay wash(0.55f), burst(0.08f);
    renderMono(out, hit, 3.0f, [&](float t) {
        const float clang = band.bandpass(metal(partials), 6000.0f, 0.9f);
        const float level = wash.next() * 0.8f + burst.next() * 0.6f;
        return (clang * 0.9f + air.next() * 0.9f) * level * std::min(1.0f, t / 0.002f);
    });
}

void playTom(AudioBuffer& out, const NoteEvent& hit) {
    const float hz = noteToHz(hit.note);
    Oscillator body{0.0, hz};
    Decay drop(0.05f), fall(0.18f);
    BandNoise skin(hit, 800.0f, 5000.0f);
    Decay skinFall(0.02f);
    renderMono(out, hit, 0.6f, [&](float t) {
        body.hz = hz * (1.0f + 0.5f * drop.next());
        const float attack = std::min(1.0f, t / 0.001f);
        return (body.sine() * fall.next() + skin.next() * skinFall.next() * 0.5f) * attack;
    });
}

void playRim(AudioBuffer& out, const NoteEvent& hit) {
    Oscillator high{0.0, 1750.0f}, low{0.0, 520.0f};
    Decay highFall(0.012f), lowFall(0.02f);
    renderMono(out, hit, 0.08f, [&](float t) {
        const float knock = high.sine() * highFall.next() + 0.6f * low.sine() * lowFall.next();
        return knock * std::min(1.0f, t / 0.0005f) * 0.5f;
    });
}

void playNoiseSweep(AudioBuffer& out, const NoteEvent& hit, float fromHz, float toHz) {
    AudioRandom noise(seedFor(hit));
    Svf filter;
    const float length = hit.hold;
    renderMono(out, hit, length, [&](float t) {
        const float along = t / length;
        const float hz = fromHz * std::pow(toHz / fromHz, along);
        const float level = fastSin(3.14159265f * along);
        return filter.bandpass(noise.bipolar(), hz, 2.0f) * level;
    });
}

void playRiser(AudioBuffer& out, const NoteEvent& hit, float fromHz, float toHz) {
    AudioRandom noise(seedFor(hit));
    Svf filter, top;
    const float length = hit.hold;
    renderMono(out, hit, length, [&](float t) {
        const float along = t / length;
        const float hz = fromHz * std::pow(toHz / fromHz, along);
        // Swells toward the downbeat and stops just short of it, so the drums land clean.
        const float level = along * along * std::min(1.0f, (1.0f - along) * 40.0f);
        return top.lowpass(filter.bandpass(noise.bipolar(), hz, 1.2f), 11000.0f) * level;
    });
}
