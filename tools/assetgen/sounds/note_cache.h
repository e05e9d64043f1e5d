#pragma once
// Notes repeat all through a piece: the same arpeggio note, the same bell, the same hat
// hundreds of times. Each distinct note is rendered once and then mixed in wherever it
// sounds, which gives the same samples as rendering it there (an instrument's samples
// depend only on the time since the note began) in a fraction of the time.

#include <map>
#include <tuple>

#include "common/audio_buffer.h"
#include "instruments.h"

enum class Instrument {
    Pad,
    Pluck,
    Bell,
    Marimba,
    EPiano,
    Nylon,
    Lead,
    Flute,
    Bass,
    Kick,
    Snare,
    ClosedHat,
    OpenHat,
    Shaker,
    Ride,
    Crash,
    Tom,
    Rim,
    Riser
};

class NoteCache {
public:
    // Adds the note into out at its start. `setting` is the instrument's one parameter
    // (a pad's brightness, a pluck's tone, a bell's ring; 0 where there is none). The
    // noise in drums follows the note number, so a few numbers give a few hits that vary.
    void play(AudioBuffer& out, Instrument instrument, const NoteEvent& note, float setting = 0.0f);

private:
    // Instrument, note, hold, gain, pan (of the stereo instruments only), setting.
    using Key = std::tuple<Instrument, float, float, float, float, float>;
    const AudioBuffer& rendered(Instrument instrument, const NoteEvent& note, float setting);
    std::map<Key, AudioBuffer> notes;
};
