// Rendering a PieceSpec: layers bar by bar, then room effects over the loop.

#include "arranger.h"

#include <algorithm>
#include <cmath>

#include "common/audio_finish.h"
#include "common/audio_synth.h"
#include "instruments.h"
#include "mix_levels.h"

namespace {

// Time of one bar's layout.
struct BarClock {
    double barStart;
    double beat;  // seconds
};

bool isActive(const PieceSpec& spec, Layer layer, int bar) {
    return std::any_of(spec.layers.begin(), spec.layers.end(), [&](const LayerSpan& span) {
        return span.layer == layer && bar >= span.firstBar && bar <= span.lastBar;
    });
}

// Index of the bar's section in the form (0 for 'A'), and the bar's place within it.
int sectionOf(const PieceSpec& spec, int bar) { return spec.form[(bar / spec.sectionBars) % spec.form.size()] - 'A'; }

const std::vector<int>& chordOf(const PieceSpec& spec, int bar) {
    if (spec.form.empty()) return spec.chords[bar % spec.chords.size()];
    const auto& chords = spec.sectionChords[sectionOf(spec, bar)];
    return chords[(bar % spec.sectionBars) % chords.size()];
}

int stepsPerBar(const PieceSpec& spec) { return spec.beatsPerBar * 4; }

void playVoice(AudioBuffer& out, Voice voice, const NoteEvent& note, const PieceSpec& spec) {
    switch (voice) {
        case Voice::Pluck: playPluck(out, note, spec.pluckTone); break;
        case Voice::Bell: playBell(out, note, 0.7f); break;
        case Voice::Marimba: playMarimba(out, note); break;
        case Voice::EPiano: playEPiano(out, note); break;
        case Voice::Nylon: playNylon(out, note); break;
        case Voice::Lead: playLead(out, note); break;
        case Voice::Flute: playFlute(out, note); break;
    }
}

// Chord tone by index; indexes past the chord's size climb by octaves.
int chordTone(const std::vector<int>& chord, int index) {
    const int size = static_cast<int>(chord.size());
    return chord[index % size] + 12 * (index / size);
}

// ---- Layers -------------------------------------------------------------------------

void padBar(AudioBuffer& out, const PieceSpec& spec, const BarClock& clock, int bar) {
    for (int tone : chordOf(spec, bar)) {
        const NoteEvent note{clock.barStart, static_cast<float>(clock.beat * spec.beatsPerBar),
                             float(spec.keyNote + tone), 0.16f, 0.0f};
        playPad(out, note, spec.padBrightness);
    }
}

void bassBar(AudioBuffer& out, const PieceSpec& spec, const BarClock& clock, int bar) {
    const int root = spec.keyNote - 12 + chordOf(spec, bar)[0];
    for (int step = 0; step < spec.beatsPerBar * 2 && step < static_cast<int>(spec.bass.size()); ++step) {
        const char c = spec.bass[step];
        if (c == '.') continue;
        const int note = root + (c == 'f' ? 7 : c == 'o' ? 12 : 0);
        playBass(out, {clock.barStart + step * clock.beat * 0.5, float(clock.beat * 0.4), float(note), 0.42f, 0.0f});
    }
}

void arpBar(AudioBuffer& out, const PieceSpec& spec, const BarClock& clock, int bar) {
    const double step = clock.beat * spec.beatsPerBar / spec.arpStepsPerBar;
    const auto& chord = chordOf(spec, bar);
    for (int i = 0; i < spec.arpStepsPerBar; ++i) {
        const int index = spec.arpPattern[i % spec.arpPattern.size()];
        const float pan = (i % 2 ? 0.35f : -0.35f);
        const NoteEvent note{clock.barStart + i * step, float(step * 0.8),
                             float(spec.keyNote + 12 + chordTone(chord, index)),
                             spec.arpVoice == Voice::Bell ? 0.1f : 0.16f, pan};
        playVoice(out, spec.arpVoice, note, spec);
    }
}

// The chord struck on the comp rhythm, a little spread as a player's hand would.
void compBar(AudioBuffer& out, const PieceSpec& spec, const BarClock& clock, int bar) {
    const auto& chord = chordOf(spec, bar);
    const double step = clock.beat / 4.0;
    for (int i = 0; i < stepsPerBar(spec) && i < static_cast<int>(spec.comp.size()); ++i) {
        if (spec.comp[i] != 'x') continue;
        int length = 1;
        while (i + length < stepsPerBar(spec) && i + length < int(spec.comp.size()) && spec.comp[i + length] == '.')
            ++length;
        for (size_t k = 0; k < chord.size(); ++k) {
            const NoteEvent note{clock.barStart + i * step + 0.012 * k, float(length * step * 0.9),
                                 float(spec.keyNote + chord[k]), 0.1f, -0.4f + 0.8f * k / chord.size()};
            playVoice(out, spec.compVoice, note, spec);
        }
    }
}

void bellBar(AudioBuffer& out, const PieceSpec& spec, const BarClock& clock, int bar) {
    const auto& chord = chordOf(spec, bar);
    for (int beat = 0; beat < spec.beatsPerBar; beat += 2) {
        const int tone = chordTone(chord, (bar + beat) % static_cast<int>(chord.size()) + 1);
        playBell(
            out,
            {clock.barStart + beat * clock.beat, 0.1f, float(spec.keyNote + 24 + tone), 0.09f, beat ? 0.5f : -0.5f},
            1.0f);
    }
}

void drumBar(AudioBuffer& out, const PieceSpec& spec, const BarClock& clock, int bar) {
    const double step = clock.beat / 4.0;
    for (int i = 0; i < stepsPerBar(spec); ++i) {
        const double at = clock.barStart + i * step;
        if (isActive(spec, Layer::Rim, bar) && i < int(spec.rim.size()) && spec.rim[i] == 'x')
            playRim(out, {at, 0.1f, 0, 0.3f, -0.25f});
        if (isActive(spec, Layer::Kick, bar) && i < int(spec.kick.size()) && spec.kick[i] == 'x')
            playKick(out, {at, 0.1f, 0, 0.8f, 0});
        if (isActive(spec, Layer::Snare, bar) && i < int(spec.snare.size()) && spec.snare[i] == 'x')
            playSnare(out, {at, 0.1f, 0, 0.4f, 0.1f});
        if (isActive(spec, Layer::Hat, bar) && i < int(spec.hat.size()) && spec.hat[i] != '.')
            playHat(out, {at, 0.1f, 0, spec.hat[i] == 'o' ? 0.14f : 0.1f, 0.3f}, spec.hat[i] == 'o');
    }
}

// ---- Melody ------------------------------------------------------------------------

// Rhythms of one bar in eighth notes: (start, length); four beats, then three.
const std::vector<std::vector<std::pair<int, int>>> MelodyRhythms{
    {{0, 3}, {3, 1}, {4, 4}}, {{0, 2}, {2, 2}, {4, 2}, {6, 2}},
    {{0, 4}, {4, 3}, {7, 1}}, {{0, 1}, {1, 2}, {3, 3}, {6, 2}},
    {{0, 6}, {6, 2}},
};
const std::vector<std::vector<std::pair<int, int>>> WaltzRhythms{
    {{0, 4}, {4, 2}},
    {{0, 2}, {2, 2}, {4, 2}},
    {{0, 3}, {3, 1}, {4, 2}},
    {{0, 6}},
};

// Nearest scale note to a pitch, searched upward and downward.
int snapToScale(const PieceSpec& spec, int pitch) {
    for (int distance = 0; distance < 12; ++distance)
        for (int candidate : {pitch - distance, pitch + distance})
            for (int degree : spec.scale)
                if (((candidate - degree) % 12 + 12) % 12 == 0) return candidate;
    return pitch;
}

// One bar of melody: the phrase (A, or B on every third four-bar group) picks the rhythm
// and the walk; strong beats land on chord tones.
// With a form, each section has its own phrase, played again wherever the section returns.
void melodyBar(AudioBuffer& out, const PieceSpec& spec, const BarClock& clock, int bar) {
    const int phrase = spec.form.empty() ? ((bar / 4) % 4 == 2 ? 1 : 0) : sectionOf(spec, bar);
    const int place = spec.form.empty() ? bar % 4 : bar % spec.sectionBars;
    AudioRandom choice(spec.seed * 7919u + phrase * 104729u + place * 31u + 1u);
    const auto& rhythms = spec.beatsPerBar == 3 ? WaltzRhythms : MelodyRhythms;
    const auto& rhythm = rhythms[choice.below(static_cast<int>(rhythms.size()))];
    const auto& chord = chordOf(spec, bar);
    int pitch = 12 + chordTone(chord, choice.below(static_cast<int>(chord.size())));
    for (const auto& [start, length] : rhythm) {
        if (start != 0) pitch = snapToScale(spec, pitch + choice.below(5) - 2);
        if (start % 4 == 0) pitch = 12 + chordTone(chord, choice.below(static_cast<int>(chord.size())));
        const NoteEvent note{clock.barStart + start * clock.beat * 0.5, float(length * clock.beat * 0.5 * 0.9),
                             float(spec.keyNote + pitch), spec.melodyGain, 0.1f};
        playVoice(out, spec.leadVoice, note, spec);
    }
}

void renderBar(AudioBuffer& out, const PieceSpec& spec, int bar) {
    const double beat = 60.0 / spec.bpm;
    const BarClock clock{bar * beat * spec.beatsPerBar, beat};
    if (isActive(spec, Layer::Pad, bar)) padBar(out, spec, clock, bar);
    if (isActive(spec, Layer::Bass, bar)) bassBar(out, spec, clock, bar);
    if (isActive(spec, Layer::Arp, bar)) arpBar(out, spec, clock, bar);
    if (isActive(spec, Layer::Bell, bar)) bellBar(out, spec, clock, bar);
    if (isActive(spec, Layer::Lead, bar)) melodyBar(out, spec, clock, bar);
    if (isActive(spec, Layer::Comp, bar)) compBar(out, spec, clock, bar);
    drumBar(out, spec, clock, bar);
}

}  // namespace

double pieceSeconds(const PieceSpec& spec) { return spec.bars * spec.beatsPerBar * 60.0 / spec.bpm; }

AudioBuffer renderPiece(const PieceSpec& spec) {
    const size_t loopFrames = secondsToFrames(pieceSeconds(spec));
    AudioBuffer piece(loopFrames + secondsToFrames(6.0));  // room for the last notes to ring
    for (int bar = 0; bar < spec.bars; ++bar) renderBar(piece, spec, bar);
    wrapTail(piece, loopFrames);
    if (spec.echoWet > 0.0f) {
        Echo echo(static_cast<float>(spec.echoBeats * 60.0 / spec.bpm), 0.4f, spec.echoWet);
        applyEffectLooped(piece, echo, secondsToFrames(6.0));
    }
    Reverb room(spec.roomSize, 0.45f, spec.reverbWet);
    applyEffectLooped(piece, room, secondsToFrames(6.0));
    finishLoop(piece, MusicRmsDb);
    return piece;
}
