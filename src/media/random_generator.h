#pragma once
// The minimal-standard generator (multiplier 48271, modulus 2^31 - 1), 4660 until seeded.

class RandomGenerator {
public:
    void seed(int seed);
    // A double in [0, 1) built from two steps.
    double unit();
    // Both bounds included, in either order; truncated toward zero.
    int integer(int a, int b);
    int state() const { return value; }

private:
    int step();
    int value = 4660;
};
