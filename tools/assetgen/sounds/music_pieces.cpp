// The parameters of each piece. Chords are semitones from the key note, root first.

#include "music_pieces.h"

PieceSpec menuThemeSpec() {
    PieceSpec spec;
    spec.bpm = 84.0f;
    spec.bars = 16;
    spec.keyNote = 53;                                                             // F3
    spec.chords = {{0, 4, 7, 11}, {-3, 0, 4, 7}, {-7, -3, 0, 4}, {-5, -1, 2, 9}};  // Fmaj7 Dm7 Bbmaj7 Cadd9
    spec.scale = {0, 2, 4, 5, 7, 9, 11};
    spec.layers = {{Layer::Pad, 0, 15}, {Layer::Arp, 0, 15}, {Layer::Bass, 4, 15}, {Layer::Lead, 8, 15}};
    spec.bass = "r...f...";
    spec.arpPattern = {0, 1, 2, 3, 4, 3, 2, 1};
    spec.arpStepsPerBar = 8;
    spec.arpVoice = Voice::Bell;
    spec.padBrightness = 0.35f;
    spec.melodyGain = 0.12f;
    spec.seed = 11;
    spec.roomSize = 0.85f;
    spec.reverbWet = 1.6f;
    spec.echoWet = 0.25f;
    spec.echoBeats = 1.5f;
    return spec;
}

// Form A B A C, eight bars each: the plucked arpeggio and the beat carry A, B lifts
// with a melody and the only hi-hats of the piece, C drops the drums for bells.
PieceSpec circuitSpec() {
    PieceSpec spec;
    spec.bpm = 116.0f;
    spec.keyNote = 57;  // A3
    spec.form = "ABAC";
    spec.sectionBars = 8;
    spec.bars = 32;
    spec.sectionChords = {
        {{0, 3, 7, 12}, {-4, 0, 3, 8}, {3, 7, 10, 15}, {-2, 2, 5, 10}},    // Am F C G
        {{-4, 0, 3, 8}, {-2, 2, 5, 10}, {-5, -2, 2, 7}, {0, 3, 7, 12}},    // F G Em Am
        {{5, 8, 12, 15}, {7, 10, 14, 17}, {-4, 0, 3, 7}, {-5, -1, 2, 7}},  // Dm7 Em7 Fmaj7 E
    };
    spec.scale = {0, 2, 3, 5, 7, 8, 10};
    spec.layers = {{Layer::Pad, 0, 31},  {Layer::Arp, 0, 7},   {Layer::Arp, 16, 31},
                   {Layer::Bass, 0, 23}, {Layer::Kick, 0, 23}, {Layer::Snare, 8, 23},
                   {Layer::Hat, 8, 15},  {Layer::Lead, 8, 23}, {Layer::Bell, 24, 31}};
    spec.kick = "x.......x.......";
    spec.snare = "....x.......x...";
    spec.hat = "..x...x...x...x.";
    spec.bass = "r.rrr.rf";
    spec.arpPattern = {0, 1, 2, 1, 3, 2, 1, 2, 0, 1, 2, 1, 3, 2, 4, 2};
    spec.arpStepsPerBar = 16;
    spec.padBrightness = 0.45f;
    spec.pluckTone = 0.5f;
    spec.melodyGain = 0.16f;
    spec.seed = 23;
    spec.roomSize = 0.5f;
    spec.reverbWet = 0.8f;
    spec.echoWet = 0.18f;
    spec.echoBeats = 0.75f;
    return spec;
}

// A slow waltz, form A A B A: electric piano comping on one and three, a soft bass, a
// rim knock for a drummer, the flute singing the A tune, a nylon string in the bridge.
PieceSpec nightShiftSpec() {
    PieceSpec spec;
    spec.bpm = 84.0f;
    spec.beatsPerBar = 3;
    spec.keyNote = 50;  // D3
    spec.form = "AABA";
    spec.sectionBars = 8;
    spec.bars = 32;
    spec.sectionChords = {
        {{0, 3, 7, 10, 14}, {5, 9, 12, 15}, {0, 3, 7, 10, 14}, {-5, -2, 2, 5}},  // Dm9 G7 Dm9 Am7
        {{-4, 0, 3, 7}, {-5, -2, 2, 5}, {-7, -4, 0, 3}, {-5, -1, 2, 7}},         // Bbmaj7 Am7 Gm7 A
    };
    spec.scale = {0, 2, 3, 5, 7, 9, 10};
    spec.layers = {{Layer::Comp, 0, 31}, {Layer::Bass, 0, 31},  {Layer::Rim, 8, 31},  {Layer::Kick, 8, 31},
                   {Layer::Lead, 8, 15}, {Layer::Lead, 24, 31}, {Layer::Arp, 16, 23}, {Layer::Pad, 16, 23}};
    spec.comp = "x.......x...";
    spec.bass = "r...f.";
    spec.kick = "x...........";
    spec.rim = "....x...x...";
    spec.arpPattern = {0, 2, 1, 3, 2, 4};
    spec.arpStepsPerBar = 6;
    spec.arpVoice = Voice::Nylon;
    spec.leadVoice = Voice::Flute;
    spec.compVoice = Voice::EPiano;
    spec.padBrightness = 0.25f;
    spec.melodyGain = 0.2f;
    spec.seed = 37;
    spec.roomSize = 0.8f;
    spec.reverbWet = 1.2f;
    spec.echoWet = 0.2f;
    spec.echoBeats = 1.5f;
    return spec;
}

// Bright and steady, form A B C B: a marimba ostinato over a bouncing bass, a rim on the
// backbeat instead of a snare and no cymbals at all; the tune comes in B, bells in C.
PieceSpec uplinkSpec() {
    PieceSpec spec;
    spec.bpm = 120.0f;
    spec.keyNote = 51;  // E flat 3
    spec.form = "ABCB";
    spec.sectionBars = 8;
    spec.bars = 32;
    spec.sectionChords = {
        {{0, 4, 7, 12}, {5, 9, 12, 17}, {-3, 0, 4, 9}, {-5, -1, 2, 7}},    // Eb Ab Cm Bb
        {{5, 9, 12, 17}, {7, 11, 14, 19}, {4, 7, 11, 16}, {-3, 0, 4, 9}},  // Ab Bb Gm Cm
        {{2, 5, 9, 12}, {-5, -1, 2, 7}, {-8, -5, 0, 4}, {-7, -3, 0, 5}},   // Fm7 Bb Eb/G Ab
    };
    spec.scale = {0, 2, 4, 5, 7, 9, 11};
    spec.layers = {{Layer::Arp, 0, 31},   {Layer::Bass, 0, 31}, {Layer::Kick, 0, 15}, {Layer::Kick, 24, 31},
                   {Layer::Rim, 0, 15},   {Layer::Rim, 24, 31}, {Layer::Lead, 8, 15}, {Layer::Lead, 24, 31},
                   {Layer::Bell, 16, 23}, {Layer::Pad, 16, 23}};
    spec.kick = "x.....x...x.....";
    spec.rim = "....x.......x...";
    spec.bass = "r..r.fo.";
    spec.arpPattern = {0, 2, 1, 3, 2, 1, 3, 4};
    spec.arpStepsPerBar = 8;
    spec.arpVoice = Voice::Marimba;
    spec.leadVoice = Voice::Lead;
    spec.padBrightness = 0.4f;
    spec.melodyGain = 0.14f;
    spec.seed = 41;
    spec.roomSize = 0.45f;
    spec.reverbWet = 0.7f;
    return spec;
}
