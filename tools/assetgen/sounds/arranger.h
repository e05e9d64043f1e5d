#pragma once
// A small pattern arranger: a piece is a chord cycle (or a form of sections, each with
// its own chords), layers switched on over ranges of bars, drum and bass patterns, an
// arpeggio, chords comped on a rhythm and a generated melody that repeats with its
// section. Rendering gives a seamless loop: notes and echoes that ring past the end
// continue at the start.

#include <cstdint>
#include <string>
#include <vector>

#include "common/audio_buffer.h"

enum class Layer { Pad, Bass, Arp, Lead, Bell, Comp, Kick, Snare, Hat, Rim };
// The instrument that plays a melodic layer.
enum class Voice { Pluck, Bell, Marimba, EPiano, Nylon, Lead, Flute };

struct LayerSpan {
    Layer layer;
    int firstBar;
    int lastBar;  // included
};

struct PieceSpec {
    float bpm = 120.0f;
    int beatsPerBar = 4;  // 4, or 3 for a waltz
    int bars = 16;
    int keyNote = 57;                      // MIDI note of the key's tonic (pads sit here)
    std::vector<std::vector<int>> chords;  // one per bar, cycled; semitones from keyNote, root first
    // A form such as "AABA": sections of sectionBars bars, each cycling its own chords
    // (sectionChords[letter - 'A']); when empty, the chords above cycle over the piece.
    std::string form;
    int sectionBars = 8;
    std::vector<std::vector<std::vector<int>>> sectionChords;
    std::vector<int> scale;  // melody scale, semitones from keyNote
    std::vector<LayerSpan> layers;
    std::string kick, snare, hat, rim;  // 4 steps a beat: 'x' hit, 'o' open hat, '.' rest
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
};

// Seconds in one loop of the piece.
double pieceSeconds(const PieceSpec& spec);
// The whole piece as one seamless loop of pieceSeconds.
AudioBuffer renderPiece(const PieceSpec& spec);
