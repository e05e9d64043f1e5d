#pragma once
// Listening to music by numbers, for the checks on the game's own pieces: how much of it
// lies above a frequency, and which key it is in.

#include <array>
#include <string>
#include <vector>

// Mean power (dB) of what lies above `hz`, through two second-order high-pass stages.
double powerAboveDb(const std::vector<double>& signal, int rate, double hz);

// How strongly each pitch class (C = 0 .. B = 11) sounds between about 70 Hz and 2.5 kHz,
// summed over the whole signal.
std::array<double, 12> pitchClassProfile(const std::vector<double>& signal, int rate);

struct MusicalKey {
    int tonic = 0;  // pitch class, C = 0
    bool minor = false;
    std::string name() const;  // "E minor", "Eb major"
    bool operator==(const MusicalKey&) const = default;
};
// The major or minor key whose Krumhansl-Kessler profile the pitch classes follow best.
MusicalKey estimateKey(const std::array<double, 12>& profile);
