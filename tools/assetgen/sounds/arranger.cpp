// Rendering a PieceSpec: layers bar by bar, then room effects over the loop.

#include "arranger.h"

#include <algorithm>
#include <cmath>

#include "common/audio_finish.h"
#include "common/audio_synth.h"
#include "mix_levels.h"
#include "note_cache.h"

namespace {

// One bar in its place: the part it belongs to and the parts around it (the piece
// loops, so the part before the first is the last), its chord and its time.
struct Bar {
    const PieceSpec& spec;
    const Part& part;
    const Part& previous;
    const Part& next;
    int place;  // bar within the part, 0 .. sectionBars - 1
    const std::vector<int>& chord;
    double start;  // seconds
    double beat;   // seconds

    bool plays(Layer layer) const { return has(part, layer); }
    bool lastOfPart() const { return place == spec.sectionBars - 1; }
    // How far the arpeggio's filter and the pad have opened: 1 outside a lift; in a lift
    // from 0.3 at the part's first bar to 1 at its last.
    float lift() const { return part.lift ? 0.3f + 0.7f * float(place) / float(spec.sectionBars - 1) : 1.0f; }
    int steps() const { return spec.beatsPerBar * 4; }
    static bool has(const Part& part, Layer layer) {
        return std::find(part.layers.begin(), part.layers.end(), layer) != part.layers.end();
    }
};

bool hasDrums(const Part& part) { return Bar::has(part, Layer::Kick); }

// The drummer marks a change of section, or of the groove, with a fill and a crash.
bool changesAfter(const Part& part, const Part& next) {
    return part.section != next.section || hasDrums(part) != hasDrums(next) ||
           Bar::has(part, Layer::Snare) != Bar::has(next, Layer::Snare);
}

bool patternHit(const std::string& pattern, int step) { return step < int(pattern.size()) && pattern[step] != '.'; }

// Where a piece is rendered: the buffer and the notes already rendered once.
struct Desk {
    AudioBuffer& out;
    NoteCache& notes;
    void play(Instrument instrument, const NoteEvent& note, float setting = 0.0f) {
        notes.play(out, instrument, note, setting);
    }
};

void playVoice(Desk& desk, Voice voice, const NoteEvent& note, float pluckTone) {
    switch (voice) {
        case Voice::Pluck: desk.play(Instrument::Pluck, note, pluckTone); break;
        case Voice::Bell: desk.play(Instrument::Bell, note, 0.7f); break;
        case Voice::Marimba: desk.play(Instrument::Marimba, note); break;
        case Voice::EPiano: desk.play(Instrument::EPiano, note); break;
        case Voice::Nylon: desk.play(Instrument::Nylon, note); break;
        case Voice::Lead: desk.play(Instrument::Lead, note); break;
        case Voice::Flute: desk.play(Instrument::Flute, note); break;
    }
}

// Drum hits take turns among a few renderings, as a drummer never hits twice the same.
float variant(const Bar& bar, int step) { return float((bar.place * 5 + step) % 4); }

// Chord tone by index; indexes past the chord's size climb by octaves.
int chordTone(const std::vector<int>& chord, int index) {
    const int size = static_cast<int>(chord.size());
    return chord[index % size] + 12 * (index / size);
}

// ---- Harmony layers -----------------------------------------------------------------

void padBar(Desk& desk, const Bar& bar) {
    const PieceSpec& spec = bar.spec;
    for (int tone : bar.chord) {
        const NoteEvent note{bar.start, static_cast<float>(bar.beat * spec.beatsPerBar), float(spec.keyNote + tone),
                             0.16f, 0.0f};
        desk.play(Instrument::Pad, note, spec.padBrightness * bar.lift());
    }
}

void bassBar(Desk& desk, const Bar& bar) {
    const PieceSpec& spec = bar.spec;
    const int root = spec.keyNote - 12 + bar.chord[0];
    for (int step = 0; step < spec.beatsPerBar * 2 && step < static_cast<int>(spec.bass.size()); ++step) {
        const char c = spec.bass[step];
        if (c == '.') continue;
        const int note = root + (c == 'f' ? 7 : c == 'o' ? 12 : 0);
        desk.play(Instrument::Bass,
                  {bar.start + step * bar.beat * 0.5, float(bar.beat * 0.4), float(note), 0.42f, 0.0f});
    }
}

void arpBar(Desk& desk, const Bar& bar) {
    const PieceSpec& spec = bar.spec;
    const double step = bar.beat * spec.beatsPerBar / spec.arpStepsPerBar;
    const float gain = (spec.arpVoice == Voice::Bell ? 0.1f : 0.16f) * (0.5f + 0.5f * bar.lift());
    for (int i = 0; i < spec.arpStepsPerBar; ++i) {
        const int index = spec.arpPattern[i % spec.arpPattern.size()];
        const float pan = (i % 2 ? 0.35f : -0.35f);
        const NoteEvent note{bar.start + i * step, float(step * 0.8),
                             float(spec.keyNote + 12 + chordTone(bar.chord, index)), gain, pan};
        playVoice(desk, spec.arpVoice, note, spec.pluckTone * bar.lift());
    }
}

// The chord struck on the comp rhythm, a little spread as a player's hand would.
void compBar(Desk& desk, const Bar& bar) {
    const PieceSpec& spec = bar.spec;
    const double step = bar.beat / 4.0;
    const int steps = std::min(bar.steps(), static_cast<int>(spec.comp.size()));
    for (int i = 0; i < steps; ++i) {
        if (spec.comp[i] != 'x') continue;
        int length = 1;
        while (i + length < steps && spec.comp[i + length] == '.') ++length;
        for (size_t k = 0; k < bar.chord.size(); ++k) {
            const NoteEvent note{bar.start + i * step + 0.012 * k, float(length * step * 0.9),
                                 float(spec.keyNote + bar.chord[k]), 0.1f, -0.4f + 0.8f * k / bar.chord.size()};
            playVoice(desk, spec.compVoice, note, spec.pluckTone);
        }
    }
}

void bellBar(Desk& desk, const Bar& bar) {
    const PieceSpec& spec = bar.spec;
    for (int beat = 0; beat < spec.beatsPerBar; beat += 2) {
        const int tone = chordTone(bar.chord, (bar.place + beat) % static_cast<int>(bar.chord.size()) + 1);
        desk.play(Instrument::Bell,
                  {bar.start + beat * bar.beat, 0.1f, float(spec.keyNote + 24 + tone), 0.09f, beat ? 0.5f : -0.5f},
                  1.0f);
    }
}

// ---- Drums ---------------------------------------------------------------------------

// The last beat of a part that leads into a change: toms falling from high to low.
void fill(Desk& desk, const Bar& bar) {
    const double step = bar.beat / 4.0;
    const int firstStep = bar.steps() - 4;
    const float toms[] = {57.0f, 53.0f, 50.0f, 45.0f};
    for (int i = 0; i < 4; ++i)
        desk.play(Instrument::Tom,
                  {bar.start + (firstStep + i) * step, 0.1f, toms[i], 0.35f + 0.05f * i, 0.3f - 0.2f * i});
}

void drumBar(Desk& desk, const Bar& bar) {
    const PieceSpec& spec = bar.spec;
    const double step = bar.beat / 4.0;
    const bool filling = hasDrums(bar.part) && bar.lastOfPart() && changesAfter(bar.part, bar.next);
    const int fillFrom = filling ? bar.steps() - 4 : bar.steps();
    if (bar.place == 0 && hasDrums(bar.part) && changesAfter(bar.previous, bar.part))
        desk.play(Instrument::Crash, {bar.start, 0.1f, 0, 0.3f, -0.3f});
    for (int i = 0; i < bar.steps(); ++i) {
        const double at = bar.start + i * step;
        const bool groove = i < fillFrom;
        if (bar.plays(Layer::Rim) && groove && patternHit(spec.rim, i))
            desk.play(Instrument::Rim, {at, 0.1f, 0, 0.3f, -0.25f});
        if (bar.plays(Layer::Kick) && patternHit(spec.kick, i)) desk.play(Instrument::Kick, {at, 0.1f, 0, 0.8f, 0});
        if (bar.plays(Layer::Snare) && groove && patternHit(spec.snare, i))
            desk.play(Instrument::Snare, {at, 0.1f, variant(bar, i), 0.4f, 0.1f});
        if (bar.plays(Layer::Hat) && groove && patternHit(spec.hat, i))
            desk.play(spec.hat[i] == 'o' ? Instrument::OpenHat : Instrument::ClosedHat,
                      {at, 0.1f, variant(bar, i), spec.hat[i] == 'o' ? 0.12f : 0.09f, 0.3f});
        if (bar.plays(Layer::Shaker) && patternHit(spec.shaker, i))
            desk.play(Instrument::Shaker, {at, 0.1f, variant(bar, i), spec.shaker[i] == 'x' ? 0.16f : 0.09f, -0.45f});
        if (bar.plays(Layer::Ride) && groove && patternHit(spec.ride, i))
            desk.play(Instrument::Ride, {at, 0.1f, 0, spec.ride[i] == 'x' ? 0.13f : 0.08f, 0.4f});
    }
    if (filling) fill(desk, bar);
    // Out of a part without drums into one with them, the noise rises over the last two bars.
    if (!hasDrums(bar.part) && hasDrums(bar.next) && bar.place == spec.sectionBars - 2)
        desk.play(Instrument::Riser, {bar.start, float(bar.beat * bar.spec.beatsPerBar * 2), 0, 0.22f, 0.0f});
}

// ---- Melody ------------------------------------------------------------------------

// Rhythms of one bar in eighth notes: (start, length); four beats, then three. The
// closing rhythms end a phrase on a long note.
const std::vector<std::vector<std::pair<int, int>>> MelodyRhythms{
    {{0, 3}, {3, 1}, {4, 4}},         {{0, 2}, {2, 2}, {4, 2}, {6, 2}},         {{0, 4}, {4, 3}, {7, 1}},
    {{0, 1}, {1, 2}, {3, 3}, {6, 2}}, {{0, 2}, {2, 1}, {3, 1}, {4, 2}, {6, 2}},
};
const std::vector<std::vector<std::pair<int, int>>> ClosingRhythms{
    {{0, 2}, {2, 2}, {4, 4}},
    {{0, 3}, {3, 1}, {4, 4}},
    {{0, 8}},
};
const std::vector<std::vector<std::pair<int, int>>> WaltzRhythms{
    {{0, 4}, {4, 2}},
    {{0, 2}, {2, 2}, {4, 2}},
    {{0, 3}, {3, 1}, {4, 2}},
    {{0, 2}, {2, 1}, {3, 1}, {4, 2}},
};
const std::vector<std::vector<std::pair<int, int>>> WaltzClosingRhythms{
    {{0, 2}, {2, 4}},
    {{0, 6}},
};

// The scale as it sounds over a chord: a degree a semitone from one of the chord's own
// notes gives way to it (over B7 in E minor the melody takes D sharp, not D).
std::vector<int> scaleOver(const PieceSpec& spec, const std::vector<int>& chord) {
    std::vector<int> degrees;
    for (int degree : spec.scale) {
        int heard = degree;
        for (int tone : chord) {
            const int distance = ((tone - degree) % 12 + 12) % 12;
            if (distance == 1 || distance == 11) heard = tone;
        }
        degrees.push_back(heard);
    }
    return degrees;
}

// Nearest note of the degrees to a pitch, searched upward and downward.
int snapToScale(const std::vector<int>& degrees, int pitch) {
    for (int distance = 0; distance < 12; ++distance)
        for (int candidate : {pitch - distance, pitch + distance})
            for (int degree : degrees)
                if (((candidate - degree) % 12 + 12) % 12 == 0) return candidate;
    return pitch;
}

// One bar of the section's tune. A section is two phrases: the second echoes the first
// bar for bar and only its closing bar differs, landing on the chord's root; a part that
// answers anew draws the second phrase afresh. Strong beats land on chord tones.
void melodyBar(Desk& desk, const Bar& bar) {
    const PieceSpec& spec = bar.spec;
    const int half = spec.sectionBars / 2;
    const bool closing = bar.place % half == half - 1;
    const bool answer = bar.part.tune == TuneVariation::NewAnswer && bar.place >= half;
    const int motif = (closing ? bar.place : bar.place % half) + (answer ? 100 : 0);
    AudioRandom choice(spec.seed * 7919u + uint32_t(bar.part.section - 'A') * 104729u + uint32_t(motif) * 31u + 1u);
    const bool waltz = spec.beatsPerBar == 3;
    const auto& rhythms =
        closing ? (waltz ? WaltzClosingRhythms : ClosingRhythms) : (waltz ? WaltzRhythms : MelodyRhythms);
    const auto& rhythm = rhythms[choice.below(static_cast<int>(rhythms.size()))];
    const int chordSize = static_cast<int>(bar.chord.size());
    int pitch = 12 + chordTone(bar.chord, choice.below(chordSize));
    const bool octaveUp = bar.part.tune == TuneVariation::OctaveUp;
    const std::vector<int> degrees = scaleOver(spec, bar.chord);
    for (size_t n = 0; n < rhythm.size(); ++n) {
        const auto [start, length] = rhythm[n];
        if (start != 0) pitch = snapToScale(degrees, pitch + choice.below(5) - 2);
        if (start % 4 == 0) pitch = 12 + chordTone(bar.chord, choice.below(chordSize));
        if (closing && n + 1 == rhythm.size())
            pitch = 12 + chordTone(bar.chord, bar.place == spec.sectionBars - 1 ? 0 : 1 + choice.below(2));
        const float note = float(spec.keyNote + pitch + (octaveUp ? 12 : 0));
        const NoteEvent event{bar.start + start * bar.beat * 0.5, float(length * bar.beat * 0.5 * 0.9), note,
                              spec.melodyGain * (octaveUp ? 0.8f : 1.0f), 0.1f};
        playVoice(desk, spec.leadVoice, event, spec.pluckTone);
        if (octaveUp) desk.play(Instrument::Bell, {event.start, 0.1f, note + 12, spec.melodyGain * 0.35f, -0.3f}, 0.6f);
    }
}

void renderBar(Desk& desk, const Bar& bar) {
    if (bar.plays(Layer::Pad)) padBar(desk, bar);
    if (bar.plays(Layer::Bass)) bassBar(desk, bar);
    if (bar.plays(Layer::Arp)) arpBar(desk, bar);
    if (bar.plays(Layer::Bell)) bellBar(desk, bar);
    if (bar.plays(Layer::Lead)) melodyBar(desk, bar);
    if (bar.plays(Layer::Comp)) compBar(desk, bar);
    drumBar(desk, bar);
}

}  // namespace

double pieceSeconds(const PieceSpec& spec) { return spec.bars() * spec.beatsPerBar * 60.0 / spec.bpm; }

AudioBuffer renderPiece(const PieceSpec& spec) {
    const size_t loopFrames = secondsToFrames(pieceSeconds(spec));
    AudioBuffer piece(loopFrames + secondsToFrames(6.0));  // room for the last notes to ring
    const double beat = 60.0 / spec.bpm;
    const size_t parts = spec.parts.size();
    NoteCache notes;
    Desk desk{piece, notes};
    for (size_t p = 0; p < parts; ++p) {
        const Part& part = spec.parts[p];
        const auto& chords = spec.sectionChords[part.section - 'A'];
        for (int place = 0; place < spec.sectionBars; ++place) {
            const int index = int(p) * spec.sectionBars + place;
            const Bar bar{spec,
                          part,
                          spec.parts[(p + parts - 1) % parts],
                          spec.parts[(p + 1) % parts],
                          place,
                          chords[place % chords.size()],
                          index * beat * spec.beatsPerBar,
                          beat};
            renderBar(desk, bar);
        }
    }
    wrapTail(piece, loopFrames);
    if (spec.echoWet > 0.0f) {
        Echo echo(static_cast<float>(spec.echoBeats * 60.0 / spec.bpm), 0.4f, spec.echoWet);
        applyEffectLooped(piece, echo, secondsToFrames(6.0));
    }
    Reverb room(spec.roomSize, 0.45f, spec.reverbWet);
    applyEffectLooped(piece, room, secondsToFrames(6.0));
    TopCut top(MusicTopHz);
    applyEffectLooped(piece, top, secondsToFrames(0.1));
    finishLoop(piece, MusicRmsDb);
    return piece;
}
