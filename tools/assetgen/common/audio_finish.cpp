// Finishing generated sounds: DC, edges, loop point and loudness.

#include "audio_finish.h"

#include <algorithm>
#include <cmath>
#include <deque>
#include <vector>

#include "audio_synth.h"

namespace {

constexpr float DcCutoffHz = 20.0f;
constexpr float ButterworthQ = 0.7071f;

float toDb(float power) { return 10.0f * std::log10(std::max(power, 1e-12f)); }

float gainOfDb(float db) { return std::pow(10.0f, db / 20.0f); }

void scale(AudioBuffer& buffer, float gain) {
    for (size_t i = 0; i < buffer.frames(); ++i) {
        buffer.left[i] *= gain;
        buffer.right[i] *= gain;
    }
}

// Cumulative power of both sides, so any window's mean power is one subtraction.
std::vector<double> cumulativePower(const AudioBuffer& buffer) {
    std::vector<double> sums(buffer.frames() + 1, 0.0);
    for (size_t i = 0; i < buffer.frames(); ++i) {
        const double power =
            0.5 * (double(buffer.left[i]) * buffer.left[i] + double(buffer.right[i]) * buffer.right[i]);
        sums[i + 1] = sums[i] + power;
    }
    return sums;
}

// The gain each frame needs so that it stays under the ceiling.
std::vector<float> neededGains(const AudioBuffer& buffer, float ceiling) {
    std::vector<float> gains(buffer.frames(), 1.0f);
    for (size_t i = 0; i < buffer.frames(); ++i) {
        const float peak = std::max(std::fabs(buffer.left[i]), std::fabs(buffer.right[i]));
        if (peak > ceiling) gains[i] = ceiling / peak;
    }
    return gains;
}

// Minimum over a window of `radius` frames on either side, in one pass: the queue holds
// the indexes that can still be a window's minimum, their values rising.
std::vector<float> windowMinimum(const std::vector<float>& values, size_t radius) {
    std::vector<float> result(values.size());
    std::deque<size_t> candidates;
    size_t next = 0;  // the next index to enter a window
    for (size_t i = 0; i < values.size(); ++i) {
        for (; next < values.size() && next <= i + radius; ++next) {
            while (!candidates.empty() && values[candidates.back()] >= values[next]) candidates.pop_back();
            candidates.push_back(next);
        }
        while (candidates.front() + radius < i) candidates.pop_front();
        result[i] = values[candidates.front()];
    }
    return result;
}

// Mean over a window of `radius` frames on either side, from a running sum.
std::vector<float> windowMean(const std::vector<float>& values, size_t radius) {
    std::vector<double> sums(values.size() + 1, 0.0);
    for (size_t i = 0; i < values.size(); ++i) sums[i + 1] = sums[i] + values[i];
    std::vector<float> result(values.size());
    for (size_t i = 0; i < values.size(); ++i) {
        const size_t from = i > radius ? i - radius : 0;
        const size_t to = std::min(values.size(), i + radius + 1);
        result[i] = float((sums[to] - sums[from]) / double(to - from));
    }
    return result;
}

float quietness(const AudioBuffer& loop, size_t i) {
    const size_t before = (i + loop.frames() - 1) % loop.frames();
    // Both sides near zero, and moving slowly there, so the cut sits on a gentle crossing.
    return std::max(std::fabs(loop.left[i]), std::fabs(loop.right[i])) +
           0.5f * std::max(std::fabs(loop.left[i] - loop.left[before]), std::fabs(loop.right[i] - loop.right[before]));
}

// What offset a short sound keeps after the high-pass (its filter tail is cut off at
// the end) goes out along a raised-cosine window, so the edges stay at exactly 0.
void removeResidualMean(AudioBuffer& buffer) {
    const size_t frames = buffer.frames();
    if (frames < 2) return;
    double sumLeft = 0.0, sumRight = 0.0;
    for (size_t i = 0; i < frames; ++i) {
        sumLeft += buffer.left[i];
        sumRight += buffer.right[i];
    }
    // The window's mean is one half, so it takes out twice the mean at its centre.
    const double scaleLeft = 2.0 * sumLeft / double(frames), scaleRight = 2.0 * sumRight / double(frames);
    for (size_t i = 0; i < frames; ++i) {
        const double window = 0.5 - 0.5 * std::cos(2.0 * 3.14159265358979 * double(i) / double(frames - 1));
        buffer.left[i] -= float(scaleLeft * window);
        buffer.right[i] -= float(scaleRight * window);
    }
}

}  // namespace

float rmsDb(const AudioBuffer& buffer) {
    if (buffer.frames() == 0) return toDb(0.0f);
    return toDb(float(cumulativePower(buffer).back() / double(buffer.frames())));
}

float loudnessDb(const AudioBuffer& buffer) {
    const size_t window = std::min(buffer.frames(), secondsToFrames(0.3));
    if (window == 0) return toDb(0.0f);
    const std::vector<double> sums = cumulativePower(buffer);
    double loudest = 0.0;
    for (size_t start = 0; start + window <= buffer.frames(); start += 64) {
        loudest = std::max(loudest, sums[start + window] - sums[start]);
    }
    return toDb(float(loudest / double(window)));
}

void removeDc(AudioBuffer& buffer) {
    Svf left, right;
    for (size_t i = 0; i < buffer.frames(); ++i) {
        buffer.left[i] = left.highpass(buffer.left[i], DcCutoffHz, ButterworthQ);
        buffer.right[i] = right.highpass(buffer.right[i], DcCutoffHz, ButterworthQ);
    }
}

void removeDcLooped(AudioBuffer& loop) {
    Svf left, right;
    // One whole pass first settles the filter into the loop's steady state.
    for (int pass = 0; pass < 2; ++pass) {
        for (size_t i = 0; i < loop.frames(); ++i) {
            const float l = left.highpass(loop.left[i], DcCutoffHz, ButterworthQ);
            const float r = right.highpass(loop.right[i], DcCutoffHz, ButterworthQ);
            if (pass == 1) {
                loop.left[i] = l;
                loop.right[i] = r;
            }
        }
    }
    double sumLeft = 0.0, sumRight = 0.0;
    for (size_t i = 0; i < loop.frames(); ++i) {
        sumLeft += loop.left[i];
        sumRight += loop.right[i];
    }
    const float meanLeft = float(sumLeft / double(loop.frames())), meanRight = float(sumRight / double(loop.frames()));
    for (size_t i = 0; i < loop.frames(); ++i) {
        loop.left[i] -= meanLeft;
        loop.right[i] -= meanRight;
    }
}

void limitPeaks(AudioBuffer& buffer, float ceilingDb) {
    const size_t lookahead = secondsToFrames(0.0015);
    const std::vector<float> smooth =
        windowMean(windowMinimum(neededGains(buffer, gainOfDb(ceilingDb)), 2 * lookahead), lookahead);
    // Every mean covers windows that all hold the frame's own need, so no frame passes the ceiling.
    const float release = 1.0f / float(secondsToFrames(0.02));
    float gain = 1.0f;
    for (size_t i = 0; i < buffer.frames(); ++i) {
        gain = std::min(smooth[i], gain + (1.0f - gain) * release);
        buffer.left[i] *= gain;
        buffer.right[i] *= gain;
    }
}

void startAtQuietZeroCrossing(AudioBuffer& loop, size_t searchFrames) {
    const size_t frames = loop.frames();
    if (frames == 0) return;
    size_t best = 0;
    for (size_t back = 0; back <= std::min(searchFrames, frames - 1); ++back) {
        const size_t i = (frames - back) % frames;
        if (quietness(loop, i) < quietness(loop, best)) best = i;
    }
    std::rotate(loop.left.begin(), loop.left.begin() + long(best), loop.left.end());
    std::rotate(loop.right.begin(), loop.right.begin() + long(best), loop.right.end());
}

void finishOneShot(AudioBuffer& buffer, float targetLoudnessDb, float ceilingDb) {
    removeDc(buffer);
    fadeEdges(buffer, secondsToFrames(0.002), secondsToFrames(0.04));
    removeResidualMean(buffer);
    // Limiting lowers the loudness a little; more rounds bring it back to the target.
    // The limiter comes last, so nothing passes the ceiling afterwards.
    for (int round = 0; round < 6; ++round) {
        scale(buffer, gainOfDb(targetLoudnessDb - loudnessDb(buffer)));
        limitPeaks(buffer, ceilingDb);
    }
}

void finishLoop(AudioBuffer& loop, float targetRmsDb) {
    removeDcLooped(loop);
    startAtQuietZeroCrossing(loop, secondsToFrames(0.03));
    scale(loop, gainOfDb(targetRmsDb - rmsDb(loop)));
}
