// Spectra by a plain radix-2 FFT; keys by correlation with the 24 key profiles.

#include "sound_analysis.h"

#include <algorithm>
#include <cmath>
#include <complex>

namespace {

constexpr double Pi = 3.14159265358979;
constexpr size_t FrameSize = 16384;  // 2.7 Hz a bin: a semitone apart even at 70 Hz
constexpr double LowestHz = 70.0, HighestHz = 2500.0;

// In place; the size is a power of two.
void fft(std::vector<std::complex<double>>& values) {
    const size_t n = values.size();
    for (size_t i = 1, j = 0; i < n; ++i) {
        size_t bit = n >> 1;
        for (; j & bit; bit >>= 1) j ^= bit;
        j ^= bit;
        if (i < j) std::swap(values[i], values[j]);
    }
    for (size_t length = 2; length <= n; length <<= 1) {
        const std::complex<double> turn = std::polar(1.0, -2.0 * Pi / double(length));
        for (size_t start = 0; start < n; start += length) {
            std::complex<double> w = 1.0;
            for (size_t k = 0; k < length / 2; ++k) {
                const std::complex<double> a = values[start + k], b = values[start + k + length / 2] * w;
                values[start + k] = a + b;
                values[start + k + length / 2] = a - b;
                w *= turn;
            }
        }
    }
}

// Krumhansl and Kessler's probe-tone ratings, from the tonic up.
constexpr std::array<double, 12> MajorProfile{6.35, 2.23, 3.48, 2.33, 4.38, 4.09, 2.52, 5.19, 2.39, 3.66, 2.29, 2.88};
constexpr std::array<double, 12> MinorProfile{6.33, 2.68, 3.52, 5.38, 2.60, 3.53, 2.54, 4.75, 3.98, 2.69, 3.34, 3.17};

double correlation(const std::array<double, 12>& profile, const std::array<double, 12>& ratings, int tonic) {
    double meanP = 0, meanR = 0;
    for (int i = 0; i < 12; ++i) meanP += profile[i] / 12, meanR += ratings[i] / 12;
    double pr = 0, pp = 0, rr = 0;
    for (int i = 0; i < 12; ++i) {
        const double p = profile[(tonic + i) % 12] - meanP, r = ratings[i] - meanR;
        pr += p * r, pp += p * p, rr += r * r;
    }
    return pr / std::sqrt(pp * rr + 1e-30);
}

}  // namespace

double powerAboveDb(const std::vector<double>& signal, int rate, double hz) {
    const double w = 2.0 * Pi * hz / rate, alpha = std::sin(w) / (2.0 * 0.7071);
    const double a0 = 1 + alpha, b0 = (1 + std::cos(w)) / 2 / a0, b1 = -(1 + std::cos(w)) / a0, b2 = b0;
    const double a1 = -2 * std::cos(w) / a0, a2 = (1 - alpha) / a0;
    std::vector<double> filtered = signal;
    for (int stage = 0; stage < 2; ++stage) {
        double x1 = 0, x2 = 0, y1 = 0, y2 = 0;
        for (double& value : filtered) {
            const double y = b0 * value + b1 * x1 + b2 * x2 - a1 * y1 - a2 * y2;
            x2 = x1, x1 = value, y2 = y1, y1 = y;
            value = y;
        }
    }
    double power = 0;
    for (double value : filtered) power += value * value;
    return 10.0 * std::log10(std::max(power / double(std::max<size_t>(signal.size(), 1)), 1e-20));
}

std::array<double, 12> pitchClassProfile(const std::vector<double>& signal, int rate) {
    std::array<double, 12> profile{};
    std::vector<std::complex<double>> frame(FrameSize);
    const size_t firstBin = size_t(LowestHz * FrameSize / rate), lastBin = size_t(HighestHz * FrameSize / rate);
    for (size_t start = 0; start + FrameSize <= signal.size(); start += FrameSize / 2) {
        for (size_t i = 0; i < FrameSize; ++i) {
            const double window = 0.5 - 0.5 * std::cos(2.0 * Pi * double(i) / double(FrameSize));
            frame[i] = signal[start + i] * window;
        }
        fft(frame);
        for (size_t bin = firstBin; bin <= lastBin; ++bin) {
            const double hz = double(bin) * rate / FrameSize;
            const int note = static_cast<int>(std::lround(12.0 * std::log2(hz / 440.0))) + 69;
            profile[note % 12] += std::abs(frame[bin]);
        }
    }
    return profile;
}

std::string MusicalKey::name() const {
    static const char* names[] = {"C", "C#", "D", "Eb", "E", "F", "F#", "G", "Ab", "A", "Bb", "B"};
    return std::string(names[tonic]) + (minor ? " minor" : " major");
}

MusicalKey estimateKey(const std::array<double, 12>& profile) {
    MusicalKey best;
    double bestFit = -2.0;
    for (int tonic = 0; tonic < 12; ++tonic)
        for (bool minor : {false, true}) {
            const double fit = correlation(profile, minor ? MinorProfile : MajorProfile, tonic);
            if (fit > bestFit) bestFit = fit, best = {tonic, minor};
        }
    return best;
}
