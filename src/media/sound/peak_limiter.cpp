#include "media/sound/peak_limiter.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace {

// Each frame the gain closes this share of its distance to 1: a time constant of 0.1 s at
// 44100 frames a second, slow enough that a held-down loud passage does not pump.
constexpr double ReleaseShare = 1.0 / 4410.0;
// Within this of 1 the gain is 1 again, and samples pass exactly.
constexpr double UnityMargin = 1.0e-4;

int16_t toSample(int32_t value) { return static_cast<int16_t>(std::clamp<int32_t>(value, INT16_MIN, INT16_MAX)); }

}  // namespace

void PeakLimiter::apply(const int32_t* sum, int16_t* out, int frames) {
    for (int frame = 0; frame < frames; ++frame) {
        const int32_t left = sum[2 * frame], right = sum[2 * frame + 1];
        const int32_t peak = std::max(std::abs(left), std::abs(right));
        const double room = peak > Ceiling ? static_cast<double>(Ceiling) / peak : 1.0;
        if (currentGain < 1.0) {
            currentGain += (1.0 - currentGain) * ReleaseShare;
            if (1.0 - currentGain < UnityMargin) currentGain = 1.0;
        }
        currentGain = std::min(currentGain, room);
        if (currentGain == 1.0) {
            out[2 * frame] = toSample(left);
            out[2 * frame + 1] = toSample(right);
            continue;
        }
        // Truncated toward zero, so the product never rounds up past the ceiling.
        out[2 * frame] = toSample(static_cast<int32_t>(left * currentGain));
        out[2 * frame + 1] = toSample(static_cast<int32_t>(right * currentGain));
    }
}
