#pragma once
// A small pattern arranger: a piece is a chord cycle, layers switched on over ranges of
// bars, drum and bass patterns, an arpeggio and a generated melody. Rendering gives a
// seamless loop: notes and echoes that ring past the end continue at the start.

#include <cstdint>
#include <string>
#include <vector>

#include "common/audio_buffer.h"

enum class Layer { Pad, Bass, Arp, Lead, Bell, Kick, Snare, Hat };

struct LayerSpan {
    Layer layer;
    int firstBar;
    int lastBar;  // included
};

struct PieceSpec {
    float bpm = 120.0f;
    int bars = 16;
    int keyNote = 57;                     // MIDI note of the key's tonic (pads sit here)
    std::vector<std::vector<int>> chords; // one per bar, cycled; semitones from keyNote, root first
    std::vector<int> scale;               // melody scale, semitones from keyNote
    std::vector<LayerSpan> layers;
    std::string kick, snare, hat;         // 16 steps a bar: 'x' hit, 'o' open hat, '.' rest
    std::string bass;                     // 8 steps a bar: 'r' root, 'f' fifth, 'o' octave, '.' rest
    std::vector<int> arpPattern;          // chord-tone indexes (past the end climbs an octave)
    int arpStepsPerBar = 8;
    bool arpAsBells = false;
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
