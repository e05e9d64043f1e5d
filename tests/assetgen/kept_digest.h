#pragma once
// The FNV-1a digest the generator's tests keep of a picture's pixels or of a note's samples,
// written as 16 hex digits.

#include <cstdint>
#include <cstdio>
#include <string>

class KeptDigest {
public:
    void add(uint8_t byte) { value = (value ^ byte) * 1099511628211ull; }
    // Lowest byte first.
    void addLittleEndian(uint32_t word, int bytes) {
        for (int i = 0; i < bytes; ++i) add(static_cast<uint8_t>(word >> (8 * i)));
    }
    std::string text() const {
        char digits[17];
        std::snprintf(digits, sizeof digits, "%016llx", static_cast<unsigned long long>(value));
        return digits;
    }

private:
    uint64_t value = 1469598103934665603ull;
};
