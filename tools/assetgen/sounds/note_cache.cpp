// Rendering each distinct note once.

#include "note_cache.h"

#include <algorithm>
#include <cmath>

namespace {

// Longer than any note rings: the longest hold plus the longest release or ring.
constexpr double LongestRing = 5.0;

void render(AudioBuffer& out, Instrument instrument, const NoteEvent& note, float setting) {
    switch (instrument) {
        case Instrument::Pad: playPad(out, note, setting); break;
        case Instrument::Pluck: playPluck(out, note, setting); break;
        case Instrument::Bell: playBell(out, note, setting); break;
        case Instrument::Marimba: playMarimba(out, note); break;
        case Instrument::EPiano: playEPiano(out, note); break;
        case Instrument::Nylon: playNylon(out, note); break;
        case Instrument::Lead: playLead(out, note); break;
        case Instrument::Flute: playFlute(out, note); break;
        case Instrument::Bass: playBass(out, note); break;
        case Instrument::Kick: playKick(out, note); break;
        case Instrument::Snare: playSnare(out, note); break;
        case Instrument::ClosedHat: playHat(out, note, false); break;
        case Instrument::OpenHat: playHat(out, note, true); break;
        case Instrument::Shaker: playShaker(out, note); break;
        case Instrument::Ride: playRide(out, note); break;
        case Instrument::Crash: playCrash(out, note); break;
        case Instrument::Tom: playTom(out, note); break;
        case Instrument::Rim: playRim(out, note); break;
        case Instrument::Riser: playRiser(out, note, 400.0f, 9000.0f); break;
    }
}

// Below a 16-bit sample's last step, whatever the finishing gain: a ring that has
// fallen under it is cut there rather than kept in memory.
constexpr float Inaudible = 1e-5f;

// Only the pad and the electric piano move across the stereo field by themselves; every
// other instrument is one voice placed by its pan.
bool isStereo(Instrument instrument) { return instrument == Instrument::Pad || instrument == Instrument::EPiano; }

// The note rendered from time 0, cut where its last sound dies away; a mono voice is kept
// in the centre as its left side alone.
AudioBuffer renderAlone(Instrument instrument, NoteEvent note, float setting) {
    note.start = 0.0;
    if (!isStereo(instrument)) note.pan = 0.0f;
    AudioBuffer alone(secondsToFrames(note.hold + LongestRing));
    render(alone, instrument, note, setting);
    size_t length = alone.frames();
    while (length > 0 && std::fabs(alone.left[length - 1]) < Inaudible &&
           std::fabs(alone.right[length - 1]) < Inaudible)
        --length;
    // Kept for the whole piece, so it holds only what sounds.
    alone.left.resize(length);
    alone.right.resize(isStereo(instrument) ? length : 0);
    alone.left.shrink_to_fit();
    alone.right.shrink_to_fit();
    return alone;
}

}  // namespace

const AudioBuffer& NoteCache::rendered(Instrument instrument, const NoteEvent& note, float setting) {
    const Key key{instrument, note.note, note.hold, note.gain, isStereo(instrument) ? note.pan : 0.0f, setting};
    auto found = notes.find(key);
    if (found == notes.end()) found = notes.emplace(key, renderAlone(instrument, note, setting)).first;
    return found->second;
}

void NoteCache::play(AudioBuffer& out, Instrument instrument, const NoteEvent& note, float setting) {
    const AudioBuffer& sound = rendered(instrument, note, setting);
    const size_t first = secondsToFrames(note.start);
    const size_t count = std::min(sound.frames(), out.frames() > first ? out.frames() - first : 0);
    if (isStereo(instrument)) {
        for (size_t i = 0; i < count; ++i) {
            out.left[first + i] += sound.left[i];
            out.right[first + i] += sound.right[i];
        }
        return;
    }
    const auto [leftGain, rightGain] = panGains(note.pan);
    for (size_t i = 0; i < count; ++i) {
        out.left[first + i] += sound.left[i] * leftGain;
        out.right[first + i] += sound.left[i] * rightGain;
    }
}
