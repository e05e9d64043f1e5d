#pragma once
// The generator's instruments: each adds one note into a buffer. Notes that ring past
// the end of a loop land in the buffer's tail, which wrapTail folds back to the start.

#include <utility>

#include "common/audio_buffer.h"

struct NoteEvent {
    double start = 0.0;  // seconds
    float hold = 0.25f;  // seconds the key is held
    float note = 60.0f;  // MIDI note number
    float gain = 0.5f;
    float pan = 0.0f;  // -1 left .. 1 right
};

// Equal-power gains (left, right) of a mono voice at a pan position.
std::pair<float, float> panGains(float pan);

// Warm, slowly opening chord pad of detuned saws; brightness 0..1 opens the filter.
void playPad(AudioBuffer& out, const NoteEvent& note, float brightness);
// Plucked synth string: a saw whose filter snaps shut; tone 0..1 sets the snap's height.
void playPluck(AudioBuffer& out, const NoteEvent& note, float tone);
// Round synth bass with a short filter bite and a sine under it.
void playBass(AudioBuffer& out, const NoteEvent& note);
// FM bell or glockenspiel strike; ring is its decay in seconds.
void playBell(AudioBuffer& out, const NoteEvent& note, float ring);
// Soft square-wave lead with delayed vibrato.
void playLead(AudioBuffer& out, const NoteEvent& note);
// A brassy saw stack with a swelling filter, for fanfares.
void playBrass(AudioBuffer& out, const NoteEvent& note);

// Wooden bar struck with a soft mallet: a sine with its fourth and tenth partials.
void playMarimba(AudioBuffer& out, const NoteEvent& note);
// Electric piano: a soft FM tone with a short metallic tine at the strike.
void playEPiano(AudioBuffer& out, const NoteEvent& note);
// Breathy sine flute with a slow attack and gentle vibrato (no noise, so no hiss).
void playFlute(AudioBuffer& out, const NoteEvent& note);
// Plucked nylon string: a damped sine stack whose upper partials die first.
void playNylon(AudioBuffer& out, const NoteEvent& note);

// Drums. The note field tunes the tom; for the others it seeds the noise together with the
// start, so hits of a few note numbers differ from each other.
void playKick(AudioBuffer& out, const NoteEvent& hit);
void playSnare(AudioBuffer& out, const NoteEvent& hit);
void playHat(AudioBuffer& out, const NoteEvent& hit, bool open);
// A shaker's grains: a short swell of noise between 4.5 and 9.5 kHz.
void playShaker(AudioBuffer& out, const NoteEvent& hit);
// A ride cymbal: clangorous squares through a band around 7 kHz, and its bell's ping.
void playRide(AudioBuffer& out, const NoteEvent& hit);
// A crash cymbal that marks the start of a section.
void playCrash(AudioBuffer& out, const NoteEvent& hit);
// A tom of the note's pitch, for fills.
void playTom(AudioBuffer& out, const NoteEvent& hit);
// A wooden rim knock: a pitched click with no noise in it.
void playRim(AudioBuffer& out, const NoteEvent& hit);
// Noise through a band-pass filter sweeping from one frequency to another.
void playNoiseSweep(AudioBuffer& out, const NoteEvent& hit, float fromHz, float toHz);
// The same swelling over its whole length into the next downbeat: the build out of a breakdown.
void playRiser(AudioBuffer& out, const NoteEvent& hit, float fromHz, float toHz);
