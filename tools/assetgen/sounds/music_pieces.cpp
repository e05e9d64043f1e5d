// The parameters of each piece. Chords are semitones from the key note, root first.

#include "music_pieces.h"

PieceSpec menuThemeSpec() {
    PieceSpec spec;
    spec.bpm = 84.0f;
    spec.bars = 16;
    spec.keyNote = 53;  // F3
    spec.chords = {{0, 4, 7, 11}, {-3, 0, 4, 7}, {-7, -3, 0, 4}, {-5, -1, 2, 9}};  // Fmaj7 Dm7 Bbmaj7 Cadd9
    spec.scale = {0, 2, 4, 5, 7, 9, 11};
    spec.layers = {{Layer::Pad, 0, 15}, {Layer::Arp, 0, 15}, {Layer::Bass, 4, 15}, {Layer::Lead, 8, 15}};
    spec.bass = "r...f...";
    spec.arpPattern = {0, 1, 2, 3, 4, 3, 2, 1};
    spec.arpStepsPerBar = 8;
    spec.arpAsBells = true;
    spec.padBrightness = 0.35f;
    spec.melodyGain = 0.12f;
    spec.seed = 11;
    spec.roomSize = 0.85f;
    spec.reverbWet = 1.6f;
    spec.echoWet = 0.25f;
    spec.echoBeats = 1.5f;
    return spec;
}

PieceSpec circuitSpec() {
    PieceSpec spec;
    spec.bpm = 120.0f;
    spec.bars = 48;
    spec.keyNote = 57;  // A3
    spec.chords = {{0, 3, 7, 12}, {-4, 0, 3, 8}, {3, 7, 10, 15}, {-2, 2, 5, 10}};  // Am F C G
    spec.scale = {0, 2, 3, 5, 7, 8, 10};
    spec.layers = {{Layer::Pad, 0, 47},   {Layer::Arp, 0, 47},   {Layer::Hat, 4, 47},
                   {Layer::Kick, 8, 31},  {Layer::Kick, 36, 47}, {Layer::Bass, 8, 47},
                   {Layer::Snare, 16, 31}, {Layer::Snare, 36, 47}, {Layer::Lead, 16, 31},
                   {Layer::Lead, 40, 47}, {Layer::Bell, 32, 39}};
    spec.kick = "x.......x.......";
    spec.snare = "....x.......x...";
    spec.hat = "..x...x...x...xx";
    spec.bass = "r.rrr.rf";
    spec.arpPattern = {0, 1, 2, 1, 3, 2, 1, 2, 0, 1, 2, 1, 3, 2, 4, 2};
    spec.arpStepsPerBar = 16;
    spec.padBrightness = 0.5f;
    spec.pluckTone = 0.55f;
    spec.melodyGain = 0.16f;
    spec.seed = 23;
    spec.roomSize = 0.5f;
    spec.reverbWet = 0.8f;
    spec.echoWet = 0.18f;
    spec.echoBeats = 0.75f;
    return spec;
}

PieceSpec nightShiftSpec() {
    PieceSpec spec;
    spec.bpm = 90.0f;
    spec.bars = 32;
    spec.keyNote = 50;  // D3
    spec.chords = {{0, 3, 7, 10, 14}, {5, 9, 12, 15}, {-4, 0, 3, 7}, {-5, -2, 2, 5}};  // Dm9 G7 Bbmaj7 Am7
    spec.scale = {0, 2, 3, 5, 7, 9, 10};
    spec.layers = {{Layer::Pad, 0, 31},  {Layer::Arp, 4, 31},   {Layer::Bass, 8, 31}, {Layer::Kick, 8, 31},
                   {Layer::Hat, 12, 31}, {Layer::Snare, 16, 31}, {Layer::Bell, 0, 7},  {Layer::Bell, 24, 31},
                   {Layer::Lead, 16, 27}};
    spec.kick = "x.....x...x.....";
    spec.snare = "....x.......x...";
    spec.hat = "..x...x...x...x.";
    spec.bass = "r..r..f.";
    spec.arpPattern = {0, 2, 4, 1, 3, 2};
    spec.arpStepsPerBar = 8;
    spec.padBrightness = 0.3f;
    spec.pluckTone = 0.35f;
    spec.melodyGain = 0.13f;
    spec.seed = 37;
    spec.roomSize = 0.8f;
    spec.reverbWet = 1.3f;
    spec.echoWet = 0.35f;
    spec.echoBeats = 0.75f;
    return spec;
}

PieceSpec uplinkSpec() {
    PieceSpec spec;
    spec.bpm = 128.0f;
    spec.bars = 32;
    spec.keyNote = 60;  // C4
    spec.chords = {{0, 4, 7, 12}, {-5, -1, 2, 7}, {-3, 0, 4, 9}, {-7, -3, 0, 5}};  // C G Am F
    spec.scale = {0, 2, 4, 7, 9};
    spec.layers = {{Layer::Pad, 0, 31},  {Layer::Arp, 0, 31},   {Layer::Kick, 4, 31},  {Layer::Hat, 4, 31},
                   {Layer::Bass, 4, 31}, {Layer::Snare, 8, 31}, {Layer::Lead, 12, 27}, {Layer::Bell, 0, 11}};
    spec.kick = "x...x...x...x...";
    spec.snare = "....x.......x...";
    spec.hat = "x.o.x.o.x.o.x.ox";
    spec.bass = "r.ro.rfo";
    spec.arpPattern = {0, 1, 2, 3, 2, 1, 2, 4};
    spec.arpStepsPerBar = 16;
    spec.padBrightness = 0.6f;
    spec.pluckTone = 0.7f;
    spec.melodyGain = 0.15f;
    spec.seed = 41;
    spec.roomSize = 0.45f;
    spec.reverbWet = 0.7f;
    return spec;
}
