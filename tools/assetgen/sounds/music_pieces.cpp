// The parameters of each piece. Chords are semitones from the key note, root first.

#include "music_pieces.h"

namespace {

const std::vector<int> MajorScale{0, 2, 4, 5, 7, 9, 11};
const std::vector<int> MinorScale{0, 2, 3, 5, 7, 8, 10};

using enum Layer;

}  // namespace

// A: the pad and the bells alone, then the tune; B lifts; C is the bridge on electric
// piano and shaker; A returns with the tune an octave up.
PieceSpec menuThemeSpec() {
    PieceSpec spec;
    spec.bpm = 80.0f;
    spec.keyNote = 50;  // D3
    spec.sectionChords = {
        {{0, 4, 7, 12}, {0, 5, 9, 12}, {0, 4, 7, 11}, {-5, -1, 2, 7}},   // D G/D Dmaj7 A
        {{-7, -3, 0, 5}, {-5, -1, 2, 7}, {-3, 0, 4, 9}, {0, 4, 7, 12}},  // G A Bm D
        {{2, 5, 9, 12}, {-5, -1, 2, 5}, {-7, -3, 0, 4}, {-5, 0, 2, 7}},  // Em7 A7 Gmaj7 Asus4
    };
    spec.parts = {
        {'A', {Pad, Arp}},
        {'A', {Pad, Arp, Bass, Lead}},
        {'B', {Pad, Arp, Bass, Lead, Bell}},
        {'C', {Pad, Comp, Bass, Lead, Shaker}, TuneVariation::NewAnswer},
        {'A', {Pad, Arp, Bass, Lead, Bell}, TuneVariation::OctaveUp},
    };
    spec.scale = MajorScale;
    spec.bass = "r...f...";
    spec.comp = "x.......x.......";
    spec.shaker = "x.o.o.o.x.o.o.o.";
    spec.arpPattern = {0, 1, 2, 3, 4, 3, 2, 1};
    spec.arpStepsPerBar = 8;
    spec.arpVoice = Voice::Bell;
    spec.padBrightness = 0.5f;
    spec.melodyGain = 0.12f;
    spec.seed = 11;
    spec.roomSize = 0.85f;
    spec.reverbWet = 1.6f;
    spec.echoWet = 0.25f;
    spec.echoBeats = 1.5f;
    return spec;
}

// The arpeggio opens up alone, the beat and then the tune join; B brings the shaker, the
// bridge C swaps the snare and hats for a ride; the breakdown D strips back to pad and
// arpeggio and rises into A an octave up; the end thins out toward the start.
PieceSpec circuitSpec() {
    PieceSpec spec;
    spec.bpm = 126.0f;
    spec.keyNote = 52;  // E3
    spec.minor = true;
    spec.sectionChords = {
        {{0, 3, 7, 12}, {-4, 0, 3, 8}, {5, 8, 12, 17}, {-5, -1, 2, 5}},  // Em C Am B7
        {{5, 8, 12, 17}, {0, 3, 7, 12}, {-4, 0, 3, 8}, {-5, -1, 2, 7}},  // Am Em C B
        {{-4, 0, 3, 7}, {-2, 2, 5, 10}, {0, 3, 7, 12}, {-5, -1, 2, 7}},  // Cmaj7 D Em B
        {{0, 3, 7, 14}, {0, 3, 8, 12}, {0, 5, 8, 12}, {-1, 2, 5, 7}},    // Em(add9) C/E Am/E B7/D#
    };
    const std::vector<Layer> groove{Pad, Arp, Bass, Kick, Snare, Hat};
    auto with = [&](std::vector<Layer> more) {
        more.insert(more.begin(), groove.begin(), groove.end());
        return more;
    };
    spec.parts = {
        {'A', {Pad, Arp}, TuneVariation::AsFirstHeard, true},
        {'A', {Pad, Arp, Bass, Kick, Hat}},
        {'A', with({Lead})},
        {'B', with({Shaker, Lead})},
        {'B', with({Shaker, Lead, Bell}), TuneVariation::NewAnswer},
        {'C', {Pad, Bass, Kick, Ride, Bell, Lead}},
        {'D', {Pad, Arp}, TuneVariation::AsFirstHeard, true},
        {'D', {Pad, Arp, Shaker, Bell}, TuneVariation::AsFirstHeard, true},
        {'A', with({Lead}), TuneVariation::OctaveUp},
        {'B', with({Shaker, Lead})},
        {'B', with({Shaker, Lead, Bell}), TuneVariation::NewAnswer},
        {'C', {Pad, Bass, Kick, Ride, Bell, Lead}, TuneVariation::OctaveUp},
        {'A', groove},
        {'A', {Pad, Arp, Bass, Kick, Hat}},
    };
    spec.scale = MinorScale;
    spec.kick = "x.......x.......";
    spec.snare = "....x.......x...";
    spec.hat = "x.x.x.x.x.x.x.o.";
    spec.shaker = "xoxoxoxoxoxoxoxo";
    spec.ride = "x...o...x...o...";
    spec.bass = "r.rrr.rf";
    spec.arpPattern = {0, 1, 2, 1, 3, 2, 1, 2, 0, 1, 2, 1, 3, 2, 4, 2};
    spec.arpStepsPerBar = 16;
    spec.padBrightness = 0.55f;
    spec.pluckTone = 0.7f;
    spec.melodyGain = 0.16f;
    spec.seed = 23;
    spec.roomSize = 0.5f;
    spec.reverbWet = 0.8f;
    spec.echoWet = 0.18f;
    spec.echoBeats = 0.75f;
    return spec;
}

// Piano and bass alone, then the brushes and the flute; a nylon-string bridge C; a
// breakdown D on pad and strings that rises back into the waltz.
PieceSpec nightShiftSpec() {
    PieceSpec spec;
    spec.bpm = 88.0f;
    spec.beatsPerBar = 3;
    spec.keyNote = 55;  // G3
    spec.minor = true;
    spec.sectionChords = {
        {{0, 3, 7, 10}, {5, 8, 12, 15}, {0, 3, 7, 12}, {-5, -1, 2, 5}},  // Gm7 Cm7 Gm D7
        {{-4, 0, 3, 7}, {-7, -4, 0, 5}, {-5, -1, 2, 5}, {0, 3, 7, 12}},  // Ebmaj7 Cm D7 Gm
        {{3, 7, 10, 15}, {-2, 2, 5, 10}, {-4, 0, 3, 7}, {-5, 0, 2, 5}},  // Bb F Ebmaj7 D7sus4
        {{0, 3, 7, 12}, {0, 3, 8, 12}, {0, 5, 8, 12}, {-1, 2, 7, 11}},   // Gm Eb/G Cm/G D/F#
    };
    const std::vector<Layer> band{Comp, Bass, Rim, Kick, Ride};
    auto with = [&](std::vector<Layer> more) {
        more.insert(more.begin(), band.begin(), band.end());
        return more;
    };
    spec.parts = {
        {'A', {Comp, Bass}},
        {'A', with({Lead})},
        {'B', with({Lead})},
        {'A', with({Shaker, Lead}), TuneVariation::NewAnswer},
        {'C', {Arp, Pad, Bass, Shaker, Bell}},
        {'C', {Arp, Pad, Bass, Kick, Ride, Lead}},
        {'D', {Pad, Arp}, TuneVariation::AsFirstHeard, true},
        {'D', {Pad, Arp, Comp}, TuneVariation::AsFirstHeard, true},
        {'A', with({Shaker, Lead}), TuneVariation::OctaveUp},
        {'B', with({Lead}), TuneVariation::NewAnswer},
        {'C', {Arp, Pad, Bass, Kick, Ride, Bell, Lead}},
        {'A', {Comp, Bass, Ride}},
    };
    spec.scale = MinorScale;
    spec.comp = "x.......x...";
    spec.bass = "r...f.";
    spec.kick = "x...........";
    spec.rim = "....x...x...";
    spec.ride = "x...x.o.x...";
    spec.shaker = "x.o.x.o.x.o.";
    spec.arpPattern = {0, 2, 1, 3, 2, 4};
    spec.arpStepsPerBar = 6;
    spec.arpVoice = Voice::Nylon;
    spec.leadVoice = Voice::Flute;
    spec.compVoice = Voice::EPiano;
    spec.padBrightness = 0.4f;
    spec.melodyGain = 0.2f;
    spec.seed = 37;
    spec.roomSize = 0.8f;
    spec.reverbWet = 1.2f;
    spec.echoWet = 0.2f;
    spec.echoBeats = 1.5f;
    return spec;
}

// A marimba ostinato over a bouncing bass with shaker and rim; the tune comes with B,
// the bridge C lights up with bells over a ride, and after the breakdown D the tune of A
// is heard at last.
PieceSpec uplinkSpec() {
    PieceSpec spec;
    spec.bpm = 110.0f;
    spec.keyNote = 51;  // E flat 3
    spec.sectionChords = {
        {{0, 4, 7, 12}, {5, 9, 12, 17}, {-3, 0, 4, 9}, {-5, -1, 2, 7}},    // Eb Ab Cm Bb
        {{5, 9, 12, 17}, {7, 11, 14, 19}, {4, 7, 11, 16}, {-3, 0, 4, 9}},  // Ab Bb Gm Cm
        {{2, 5, 9, 12}, {-5, -1, 2, 7}, {-8, -5, 0, 4}, {-7, -3, 0, 5}},   // Fm7 Bb Eb/G Ab
        {{5, 9, 12, 16}, {7, 12, 14, 19}, {-3, 0, 4, 7}, {-5, -1, 2, 7}},  // Abmaj7 Bbsus4 Cm7 Bb
    };
    const std::vector<Layer> groove{Arp, Bass, Kick, Rim, Hat};
    auto with = [&](std::vector<Layer> more) {
        more.insert(more.begin(), groove.begin(), groove.end());
        return more;
    };
    spec.parts = {
        {'A', {Arp, Bass, Shaker}},
        {'A', with({Shaker})},
        {'B', with({Lead})},
        {'B', with({Shaker, Lead, Bell}), TuneVariation::NewAnswer},
        {'C', {Pad, Bell, Bass, Kick, Ride, Lead}},
        {'D', {Pad, Arp}, TuneVariation::AsFirstHeard, true},
        {'A', with({Shaker, Lead})},
        {'B', with({Shaker, Lead}), TuneVariation::OctaveUp},
        {'C', {Pad, Bell, Bass, Kick, Ride, Shaker, Lead}, TuneVariation::NewAnswer},
        {'A', groove},
        {'A', {Arp, Bass, Shaker}},
    };
    spec.scale = MajorScale;
    spec.kick = "x.....x...x.....";
    spec.rim = "....x.......x...";
    spec.hat = "..x...x...x...x.";
    spec.shaker = "xoo.xoo.xoo.xoxo";
    spec.ride = "x...o...x...o...";
    spec.bass = "r..r.fo.";
    spec.arpPattern = {0, 2, 1, 3, 2, 1, 3, 4};
    spec.arpStepsPerBar = 8;
    spec.arpVoice = Voice::Marimba;
    spec.leadVoice = Voice::Lead;
    spec.padBrightness = 0.45f;
    spec.melodyGain = 0.14f;
    spec.seed = 41;
    spec.roomSize = 0.45f;
    spec.reverbWet = 0.7f;
    return spec;
}
