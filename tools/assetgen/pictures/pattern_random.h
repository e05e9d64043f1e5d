#pragma once
// A small seeded generator for scattering decoration, so every build draws the same pattern.

#include <cstdint>

class PatternRandom {
public:
    explicit PatternRandom(uint32_t seed) : state(seed * 2654435761u + 1u) {}
    // Next value in 0..1.
    double unit() {
        state = state * 1664525u + 1013904223u;
        return static_cast<double>(state >> 8) / static_cast<double>(1u << 24);
    }
    double between(double low, double high) { return low + (high - low) * unit(); }
    int below(int count) { return static_cast<int>(unit() * count) % count; }

private:
    uint32_t state;
};
