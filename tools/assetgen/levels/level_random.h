#pragma once
// The generator's own random numbers (splitmix64): the same seed gives the same
// levels on every machine and compiler, which library distributions do not promise.

#include <cstdint>

class LevelRandom {
public:
    explicit LevelRandom(uint64_t seed) : state(seed) {}
    uint64_t next();
    // 0 .. count - 1 (count >= 1).
    int below(int count);
    // Both bounds included.
    int between(int low, int high);
    // True with the given chance in percent.
    bool chance(int percent)
    {
        return below(100) < percent;
    }

private:
    uint64_t state;
};
