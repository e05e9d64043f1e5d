// The effects: short one-shot sounds, each ending in silence.

#include "effects.h"

#include <cmath>

#include "common/audio_finish.h"
#include "common/audio_synth.h"
#include "instruments.h"
#include "mix_levels.h"

namespace {

// Every effect ends with a little room around it, clean edges and the common loudness.
void finishEffect(AudioBuffer& buffer, float roomWet) {
    if (roomWet > 0.0f) {
        Reverb room(0.45f, 0.4f, roomWet);
        applyEffect(buffer, room);
    }
    finishOneShot(buffer, EffectLoudnessDb, EffectCeilingDb);
}

}  // namespace

AudioBuffer makeClick() {
    AudioBuffer click(secondsToFrames(0.09));
    // A bright tick on top of a small wooden knock.
    Oscillator tick{0.0, 2600.0f}, knock{0.0, 420.0f};
    AudioRandom noise(7);
    Svf air;
    for (size_t i = 0; i < click.frames(); ++i) {
        const float t = static_cast<float>(i) / AudioRate;
        const float snap = air.highpass(noise.bipolar(), 3000.0f) * std::exp(-t / 0.0025f) * 0.6f;
        // The knock rings long enough to be heard as a body, not only as a spike.
        const float sample = tick.sine() * std::exp(-t / 0.008f) * 0.5f + knock.sine() * std::exp(-t / 0.03f) * 0.6f;
        click.add(i, sample + snap);
    }
    finishEffect(click, 0.0f);
    return click;
}

AudioBuffer makeStartCue() {
    AudioBuffer cue(secondsToFrames(1.3));
    const float notes[] = {67, 72, 76, 79};  // G C E G: up into the new level
    for (int i = 0; i < 4; ++i) {
        const NoteEvent step{0.07 * i, 0.08f + (i == 3 ? 0.35f : 0.0f), notes[i], 0.35f, 0.0f};
        playPluck(cue, step, 0.8f);
        playBell(cue, {step.start, 0.1f, notes[i] + 12, 0.12f, 0.0f}, 0.35f);
    }
    playNoiseSweep(cue, {0.0, 0.35f, 0, 0.15f, 0.0f}, 500.0f, 6000.0f);
    finishEffect(cue, 0.9f);
    return cue;
}

AudioBuffer makeCompletion() {
    AudioBuffer fanfare(secondsToFrames(2.6));
    const float run[] = {60, 64, 67};  // C E G, then the full chord held
    for (int i = 0; i < 3; ++i) playBrass(fanfare, {0.11 * i, 0.09f, run[i], 0.35f, -0.3f + 0.3f * i});
    for (float tone : {60.0f, 64.0f, 67.0f, 72.0f}) playBrass(fanfare, {0.36, 0.9f, tone, 0.22f, (tone - 66) / 10});
    for (int i = 0; i < 6; ++i) {
        const float sparkle[] = {84, 88, 91, 96, 91, 100};
        playBell(fanfare, {0.36 + 0.07 * i, 0.1f, sparkle[i], 0.1f, i % 2 ? 0.6f : -0.6f}, 0.5f);
    }
    playKick(fanfare, {0.36, 0.1f, 0, 0.5f, 0});
    finishEffect(fanfare, 1.2f);
    return fanfare;
}

AudioBuffer makeVirusSting() {
    AudioBuffer sting(secondsToFrames(1.4));
    // Two harsh alarm beeps a tritone apart, then a falling, grinding chord.
    for (int i = 0; i < 2; ++i) {
        playLead(sting, {0.12 * i, 0.08f, i == 0 ? 81.0f : 75.0f, 0.5f, i == 0 ? -0.4f : 0.4f});
    }
    Oscillator low{0.0, 110.0f}, grind{0.3, 155.6f};
    Svf filter;
    const size_t from = secondsToFrames(0.26);
    for (size_t i = from; i < sting.frames(); ++i) {
        const float t = static_cast<float>(i - from) / AudioRate;
        const float fall = std::pow(0.5f, t / 0.9f);  // an octave down over 0.9 s
        low.hz = 110.0f * fall;
        grind.hz = 155.6f * fall;
        const float raw = low.saw() + grind.square(0.3f) * 0.7f;
        const float cutoff = 300.0f + 2500.0f * std::exp(-t / 0.25f);
        sting.add(i, filter.lowpass(raw, cutoff, 1.8f) * std::exp(-t / 0.45f) * 0.4f);
    }
    playNoiseSweep(sting, {0.24, 0.5f, 0, 0.25f, 0.0f}, 4000.0f, 300.0f);
    finishEffect(sting, 0.6f);
    return sting;
}

AudioBuffer makeCleaningChime() {
    AudioBuffer chime(secondsToFrames(1.8));
    const float notes[] = {84, 88, 91, 95, 96, 100};  // a climbing major-seventh sparkle
    for (int i = 0; i < 6; ++i) playBell(chime, {0.045 * i, 0.1f, notes[i], 0.22f, i % 2 ? 0.5f : -0.5f}, 0.45f);
    // A high, airy shimmer under the bells.
    AudioRandom noise(99);
    Svf air;
    for (size_t i = 0; i < secondsToFrames(0.6); ++i) {
        const float t = static_cast<float>(i) / AudioRate;
        chime.add(i, air.bandpass(noise.bipolar(), 9000.0f, 2.0f) * std::sin(3.14159265f * t / 0.6f) * 0.08f);
    }
    finishEffect(chime, 1.0f);
    return chime;
}

AudioBuffer makeRankUp() {
    AudioBuffer rise(secondsToFrames(3.2));
    const float climb[] = {55, 60, 64, 67, 72};
    for (int i = 0; i < 5; ++i) playBrass(rise, {0.1 * i, 0.08f, climb[i], 0.32f, -0.4f + 0.2f * i});
    for (float tone : {48.0f, 60.0f, 64.0f, 67.0f, 72.0f, 76.0f})
        playBrass(rise, {0.55, 1.3f, tone, 0.17f, (tone - 64) / 14});
    for (int i = 0; i < 8; ++i)
        playBell(rise, {0.55 + 0.06 * i, 0.1f, 84.0f + (i * 7) % 17, 0.08f, (i % 3 - 1) * 0.6f}, 0.6f);
    playKick(rise, {0.55, 0.1f, 0, 0.6f, 0});
    playHat(rise, {0.55, 0.1f, 0, 0.2f, 0.3f}, true);
    finishEffect(rise, 1.3f);
    return rise;
}
