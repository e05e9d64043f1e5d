// What the generator writes, the game reads: every WAV layout and the Ogg Vorbis files go
// through the game's own decoders and come back with their rate, channels, length and samples.
// And the oscillators stay in their range however long they run.

#include <gtest/gtest.h>

#include <cmath>

#include "common/audio_synth.h"
#include "common/audio_writers.h"
#include "media/sound/sound_decoders.h"

namespace {

constexpr size_t Frames = 1000;

// Left a rising ramp to 0.5, right half of it, so mono (their mean) tells them apart.
AudioBuffer ramp() {
    AudioBuffer buffer(Frames);
    for (size_t i = 0; i < Frames; ++i) {
        buffer.left[i] = 0.5f * static_cast<float>(i) / Frames;
        buffer.right[i] = 0.5f * buffer.left[i];
    }
    return buffer;
}

uint32_t littleU32(const std::vector<uint8_t>& bytes, size_t at) {
    return bytes[at] | bytes[at + 1] << 8 | bytes[at + 2] << 16 | static_cast<uint32_t>(bytes[at + 3]) << 24;
}

// The granule position of each Ogg page, in order.
std::vector<int64_t> pageGranules(const std::vector<uint8_t>& bytes) {
    std::vector<int64_t> granules;
    size_t at = 0;
    while (at + 27 <= bytes.size() && std::equal(bytes.begin() + at, bytes.begin() + at + 4, "OggS")) {
        int64_t granule = 0;
        for (int i = 7; i >= 0; --i) granule = granule << 8 | bytes[at + 6 + i];
        granules.push_back(granule);
        const size_t segments = bytes[at + 26];
        size_t body = 0;
        for (size_t i = 0; i < segments; ++i) body += bytes[at + 27 + i];
        at += 27 + segments + body;
    }
    EXPECT_EQ(at, bytes.size()) << "pages end where the file does";
    return granules;
}

}  // namespace

TEST(AudioWriters, EveryWavLayoutReadsBackInTheGame) {
    const AudioBuffer buffer = ramp();
    struct Case {
        WavLayout layout;
        int tolerance;  // in 16-bit steps
    };
    const Case cases[] = {{{16, 2, false, "", {}}, 1},
                          {{16, 1, false, "", {}}, 1},
                          {{8, 1, false, "", {}}, 256},
                          {{8, 2, true, "LIST", {1, 2, 3}}, 256}};
    for (const Case& c : cases) {
        const WavLayout& layout = c.layout;
        SCOPED_TRACE(testing::Message() << layout.bits << " bits, " << layout.channels << " channels");
        const std::vector<uint8_t> bytes = encodeWav(buffer, layout);
        ASSERT_GE(bytes.size(), 44u);
        EXPECT_EQ(std::string(bytes.begin(), bytes.begin() + 4), "RIFF");
        EXPECT_EQ(littleU32(bytes, 4), bytes.size() - 8);
        EXPECT_EQ(std::string(bytes.begin() + 8, bytes.begin() + 12), "WAVE");
        const uint32_t blockAlign = static_cast<uint32_t>(layout.channels * layout.bits / 8);
        EXPECT_EQ(littleU32(bytes, 24), 44100u);
        EXPECT_EQ(littleU32(bytes, 28), 44100u * blockAlign);
        const std::optional<PcmSound> sound = decodeWav(bytes);
        ASSERT_TRUE(sound);
        EXPECT_EQ(sound->sampleRate, 44100);
        ASSERT_EQ(sound->channels, layout.channels);
        ASSERT_EQ(sound->frameCount(), Frames);
        for (size_t i = 0; i < Frames; i += 97) {
            const float mono = 0.5f * (buffer.left[i] + buffer.right[i]);
            const size_t at = i * static_cast<size_t>(layout.channels);
            EXPECT_NEAR(sound->samples[at], (layout.channels == 1 ? mono : buffer.left[i]) * 32767, c.tolerance) << i;
            if (layout.channels == 2) {
                EXPECT_NEAR(sound->samples[at + 1], buffer.right[i] * 32767, c.tolerance) << i;
            }
        }
    }
}

TEST(AudioWriters, OggVorbisReadsBackInTheGameWithItsHeadersOnPagesOfTheirOwn) {
    const AudioBuffer buffer = ramp();
    std::vector<uint8_t> bytes, again;
    ASSERT_TRUE(encodeOgg(buffer, 0.3f, 7, bytes));
    ASSERT_TRUE(encodeOgg(buffer, 0.3f, 7, again));
    EXPECT_EQ(bytes, again) << "the same samples give the same bytes";
    const std::optional<PcmSound> sound = decodeOgg(bytes);
    ASSERT_TRUE(sound);
    EXPECT_EQ(sound->sampleRate, 44100);
    EXPECT_EQ(sound->channels, 2);
    EXPECT_EQ(sound->frameCount(), Frames);
    // The identification header alone on the first page, the other two on the next; the audio
    // starts on a page of its own, and the last page ends at the last frame.
    const std::vector<int64_t> granules = pageGranules(bytes);
    ASSERT_GE(granules.size(), 3u);
    EXPECT_EQ(granules[0], 0);
    EXPECT_EQ(granules[1], 0);
    EXPECT_GT(granules[2], 0);
    EXPECT_EQ(granules.back(), static_cast<int64_t>(Frames));
}

TEST(AudioSynth, TheSawStaysInRangeAndRepeatsEveryCycle) {
    Oscillator saw;
    saw.hz = 441.0f;  // exactly 100 samples a cycle
    std::vector<float> first;
    for (int i = 0; i < 100; ++i) first.push_back(saw.saw());
    for (int cycle = 1; cycle < 200; ++cycle) {
        for (int i = 0; i < 100; ++i) {
            const float value = saw.saw();
            ASSERT_LE(std::fabs(value), 1.1f) << cycle << " " << i;
            ASSERT_NEAR(value, first[static_cast<size_t>(i)], 0.02f) << cycle << " " << i;
        }
    }
}
