// The finishing stage of generated sounds and the differences between the pieces of
// music, checked on small buffers and on the piece descriptions.

#include <gtest/gtest.h>

#include <cmath>
#include <set>

#include "common/audio_finish.h"
#include "common/audio_synth.h"
#include "sounds/music_pieces.h"

namespace {

double meanOf(const std::vector<float>& side) {
    double sum = 0;
    for (float value : side) sum += value;
    return sum / static_cast<double>(side.size());
}

// A 0.3 s tone of 220 Hz riding on an offset of 0.2, starting and ending abruptly.
AudioBuffer offsetTone(float level) {
    AudioBuffer buffer(secondsToFrames(0.3));
    for (size_t i = 0; i < buffer.frames(); ++i) {
        const float value = 0.2f + level * std::sin(TwoPi * 220.0f * static_cast<float>(i) / AudioRate);
        buffer.left[i] = value;
        buffer.right[i] = value;
    }
    return buffer;
}

std::set<Voice> voicesOf(const PieceSpec& spec) {
    std::set<Voice> voices;
    for (const LayerSpan& span : spec.layers) {
        if (span.layer == Layer::Arp) voices.insert(spec.arpVoice);
        if (span.layer == Layer::Lead) voices.insert(spec.leadVoice);
        if (span.layer == Layer::Comp) voices.insert(spec.compVoice);
    }
    return voices;
}

}  // namespace

TEST(AudioFinish, AOneShotLosesItsOffsetAndStartsAndEndsAtZero) {
    AudioBuffer sound = offsetTone(0.3f);
    finishOneShot(sound, -16.0f, -1.5f);
    EXPECT_LT(std::fabs(meanOf(sound.left)), 0.001);
    EXPECT_LT(std::fabs(meanOf(sound.right)), 0.001);
    EXPECT_EQ(sound.left.front(), 0.0f);
    EXPECT_EQ(sound.left.back(), 0.0f);
    EXPECT_NEAR(loudnessDb(sound), -16.0f, 0.5f);
}

TEST(AudioFinish, ALoudOneShotIsLimitedUnderTheCeilingAndStillReachesItsLoudness) {
    AudioBuffer sound = offsetTone(0.9f);
    // A short spike the loudness target alone would push past full scale.
    sound.left[5000] = sound.right[5000] = 3.0f;
    finishOneShot(sound, -10.0f, -1.5f);
    EXPECT_LE(peakLevel(sound), std::pow(10.0f, -1.5f / 20.0f) + 1e-4f);
    EXPECT_NEAR(loudnessDb(sound), -10.0f, 0.5f);
}

TEST(AudioFinish, ALoopLosesItsOffsetStartsQuietlyAndStaysARotationOfItself) {
    // Two whole periods of a 441 Hz tone over an offset: a seamless loop of 200 frames.
    AudioBuffer loop(200);
    for (size_t i = 0; i < loop.frames(); ++i) {
        loop.left[i] = 0.3f + 0.5f * std::cos(TwoPi * static_cast<float>(i) / 100.0f);
        loop.right[i] = loop.left[i];
    }
    finishLoop(loop, -12.0f);
    EXPECT_LT(std::fabs(meanOf(loop.left)), 0.001);
    EXPECT_NEAR(rmsDb(loop), -12.0f, 0.1f);
    // It starts near a zero crossing, rising or falling, not on the crest where it began.
    EXPECT_LT(std::fabs(loop.left.front()), 0.05f);
    // Still one smooth wave across the loop point.
    EXPECT_LT(std::fabs(loop.left.front() - loop.left.back()), 0.1f);
}

TEST(AudioFinish, LoudnessIsTheLoudestStretchNotTheAverage) {
    AudioBuffer sound(secondsToFrames(2.0));
    for (size_t i = 0; i < secondsToFrames(0.3); ++i) sound.left[i] = sound.right[i] = (i % 2 ? 0.5f : -0.5f);
    EXPECT_NEAR(loudnessDb(sound), 20.0f * std::log10(0.5f), 0.1f);
    EXPECT_LT(rmsDb(sound), loudnessDb(sound) - 6.0f);
}

TEST(MusicPieces, TheThreeTracksDifferInTempoKeyFormAndInstruments) {
    const std::vector<PieceSpec> tracks = {circuitSpec(), nightShiftSpec(), uplinkSpec()};
    for (size_t a = 0; a < tracks.size(); ++a) {
        EXPECT_EQ(tracks[a].bars, static_cast<int>(tracks[a].form.size()) * tracks[a].sectionBars) << a;
        for (size_t b = a + 1; b < tracks.size(); ++b) {
            EXPECT_NE(tracks[a].bpm, tracks[b].bpm) << a << " " << b;
            EXPECT_NE(tracks[a].keyNote % 12, tracks[b].keyNote % 12) << a << " " << b;
            EXPECT_NE(tracks[a].form, tracks[b].form) << a << " " << b;
            EXPECT_NE(voicesOf(tracks[a]), voicesOf(tracks[b])) << a << " " << b;
        }
    }
}
