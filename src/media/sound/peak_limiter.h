#pragma once
// Keeps the mixed sound below full scale. Below its ceiling (1 dB under full scale) every
// sample passes exactly as summed; a sum above it turns the gain down at once, so no sample
// ever reaches full scale, and the gain comes back up over about a tenth of a second.
// Both sides share the one gain, so the stereo image stays where it is.

#include <cstdint>

class PeakLimiter {
public:
    // 1 dB under full scale: a click on quiet music stays under it.
    static constexpr int32_t Ceiling = 29204;

    // Turns frames of summed stereo samples (interleaved, 32 bits) into 16-bit samples.
    void apply(const int32_t* sum, int16_t* out, int frames);
    // 1 while nothing is being held down.
    double gain() const { return currentGain; }

private:
    double currentGain = 1.0;  // double: near 1, a float's last bit is coarser than a frame's release
};
