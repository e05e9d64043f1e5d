#include "media/random_generator.h"

namespace {
constexpr int Modulus = 2147483647;  // 2^31 - 1
constexpr int Unseeded = 4660;
}  // namespace

void RandomGenerator::seed(int seed) {
    value = seed & 0x7FFFFFFF;
    if (value == 0 || value == Modulus) value = Unseeded;
}

int RandomGenerator::step() {
    // Schrage's method: no overflow in 32 bits.
    value = (value % 44488) * 48271 - (value / 44488) * 3399;
    if (value < 0) value += Modulus;
    return value;
}

double RandomGenerator::unit() {
    const int s1 = step();
    const int s2 = step();
    return ((s1 & 0x1FFFFFFC) + (s2 & 0x1FFFFFF8) / 134217728.0) / 536870912.0;
}

int RandomGenerator::integer(int a, int b) {
    const double r = unit();
    if (b > a) return static_cast<int>(a + r * (static_cast<double>(b) - a + 1));
    return static_cast<int>(b + r * (static_cast<double>(a) - b + 1));
}
