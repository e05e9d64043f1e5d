#pragma once
// A small pattern arranger. A piece is a run of parts, each a section of the same number
// of bars: the section's letter gives its chords and its tune (a section that returns
// plays them again), and the part says which layers play and how the tune is varied.
// Between parts the drummer plays a fill and a crash marks the new section; a riser
// leads out of a part without drums into one with them. Rendering gives a seamless
// loop: notes and echoes that ring past the end continue at the start.

#include <cstdint>
#include <string>
#include <vector>

#include "common/audio_buffer.h"

enum class Layer { Pad, Bass, Arp, Lead, Bell, Comp, Kick, Snare, Hat, Rim, Shaker, Ride };
// The instrument that plays a melodic layer.
enum class Voice { Pluck, Bell, Marimba, EPiano, Nylon, Lead, Flute };

// How a part plays its section's tune.
enum class TuneVariation {
    AsFirstHeard,
    OctaveUp,   // the same tune an octave higher, doubled by a bell
    NewAnswer,  // the first phrase as before, the second answered anew
};

struct Part {
    char section = 'A';  // 'A', 'B', ...: index into sectionChords, and the tune
    std::vector<Layer> layers;
    TuneVariation tune = TuneVariation::AsFirstHeard;
    bool lift = false;  // the arpeggio and the pad open up over the part, as out of a breakdown
};

struct PieceSpec {
    float bpm = 120.0f;
    int beatsPerBar = 4;  // 4, or 3 for a waltz
    int keyNote = 57;     // MIDI note of the key's tonic (pads sit here)
    bool minor = false;   // the key's mode, as a listener would name it
    int sectionBars = 8;
    // Per section letter, chords cycled over its bars; semitones from keyNote, root first.
    std::vector<std::vector<std::vector<int>>> sectionChords;
    std::vector<Part> parts;
    std::vector<int> scale;             // melody scale, semitones from keyNote
    std::string kick, snare, hat, rim;  // 4 steps a beat: 'x' hit, 'o' open hat, '.' rest
    std::string shaker, ride;           // 4 steps a beat: 'x' accented, 'o' soft, '.' rest
    std::string bass;                   // 2 steps a beat: 'r' root, 'f' fifth, 'o' octave, '.' rest
    std::string comp;                   // 4 steps a beat: 'x' the chord struck, '.' rest
    std::vector<int> arpPattern;        // chord-tone indexes (past the end climbs an octave)
    int arpStepsPerBar = 8;
    Voice arpVoice = Voice::Pluck;
    Voice leadVoice = Voice::Lead;
    Voice compVoice = Voice::EPiano;
    float padBrightness = 0.5f;
    float pluckTone = 0.6f;
    float melodyGain = 0.22f;
    uint32_t seed = 1;
    float roomSize = 0.6f;
    float reverbWet = 1.0f;
    float echoWet = 0.0f;
    float echoBeats = 0.75f;

    int bars() const { return static_cast<int>(parts.size()) * sectionBars; }
};

// Seconds in one loop of the piece.
double pieceSeconds(const PieceSpec& spec);
// The whole piece as one seamless loop of pieceSeconds.
AudioBuffer renderPiece(const PieceSpec& spec);
