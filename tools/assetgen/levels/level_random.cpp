#include "levels/level_random.h"

uint64_t LevelRandom::next()
{
    state += 0x9E3779B97F4A7C15ull;
    uint64_t z = state;
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
}

int LevelRandom::below(int count)
{
    return count <= 1 ? 0 : static_cast<int>(next() % static_cast<uint64_t>(count));
}

int LevelRandom::between(int low, int high)
{
    return high <= low ? low : low + below(high - low + 1);
}
