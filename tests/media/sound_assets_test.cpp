// The game's own generated sounds, read back through the game's own loaders.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>

#include "media/scripted_media.h"
#include "media/sound_decoders.h"
#include "media/track_player.h"
#include "support/test_support.h"

namespace {

// -1 dBFS: every generated sound stays below it, so nothing clips after decoding.
constexpr int PeakLimit = 29204;

class GameSounds : public ::testing::Test {
protected:
    void SetUp() override {
        if (!std::filesystem::exists(gameFolder() / "sfx/click.wav")) GTEST_SKIP() << "sounds not generated";
        here = std::make_unique<WorkingFolder>(gameFolder());
    }
    std::unique_ptr<WorkingFolder> here;
    ScriptedMedia media;
};

int peakOf(const Sound& sound) {
    int peak = 0;
    for (int16_t s : sound.samples) peak = std::max(peak, std::abs(int{s}));
    return peak;
}

// The largest step between neighbouring samples (left side) inside the sound, and across its loop point.
std::pair<int, int> stepsInsideAndAcrossLoop(const Sound& sound) {
    int inside = 0;
    for (size_t i = 2; i < sound.samples.size(); i += 2) inside = std::max(inside, std::abs(sound.samples[i] - sound.samples[i - 2]));
    return {inside, std::abs(sound.samples[0] - sound.samples[sound.samples.size() - 2])};
}

double seconds(const Sound& sound) { return static_cast<double>(sound.frameCount()) / MixRate; }

uint32_t fmtChunkSize(const std::vector<uint8_t>& wav) { return wav[16] | (wav[17] << 8); }

}  // namespace

TEST_F(GameSounds, EveryEffectLoadsShortAndUnclipped) {
    for (const char* name : {"click", "start", "complete", "virus", "staruse", "rankup"}) {
        const SoundPtr sound = media.loadSound(std::string("sfx/") + name + ".wav", 0);
        ASSERT_TRUE(sound) << name;
        EXPECT_FALSE(sound->looping);
        EXPECT_GT(seconds(*sound), 0.05) << name;
        EXPECT_LT(seconds(*sound), 4.0) << name;
        EXPECT_LT(peakOf(*sound), PeakLimit) << name;
        EXPECT_GT(peakOf(*sound), PeakLimit / 2) << name;
    }
    EXPECT_LT(seconds(*media.loadSound("sfx/click.wav", 0)), 0.2);
}

TEST_F(GameSounds, TheEffectsExerciseEveryKindOfWavTheReaderAccepts) {
    auto format = [](const char* path) { return decodeWav(readBytes(path)); };
    EXPECT_EQ(readBytes("sfx/click.wav")[34], 8);  // bits per sample
    EXPECT_EQ(format("sfx/click.wav")->channels, 1);
    EXPECT_EQ(readBytes("sfx/start.wav")[34], 16);
    EXPECT_EQ(format("sfx/start.wav")->channels, 1);
    EXPECT_EQ(format("sfx/complete.wav")->channels, 2);
    EXPECT_EQ(fmtChunkSize(readBytes("sfx/staruse.wav")), 18u);
    const std::vector<uint8_t> virus = readBytes("sfx/virus.wav");
    EXPECT_NE(std::string(virus.begin() + 36, virus.begin() + 40), "data");  // another chunk comes first
    EXPECT_TRUE(format("sfx/virus.wav"));
}

TEST_F(GameSounds, TheMenuThemeIsAnOggLoopOfHalfAMinuteToAMinuteWithoutAClick) {
    const std::vector<uint8_t> bytes = readBytes("sfx/menutheme.ogg");
    EXPECT_FALSE(decodeWav(bytes));
    const SoundPtr theme = media.loadSound("sfx/menutheme.ogg", 1);
    ASSERT_TRUE(theme);
    EXPECT_TRUE(theme->looping);
    EXPECT_GE(seconds(*theme), 30.0);
    EXPECT_LE(seconds(*theme), 60.0);
    EXPECT_LT(peakOf(*theme), PeakLimit);
    const auto [inside, across] = stepsInsideAndAcrossLoop(*theme);
    EXPECT_LE(across, inside);
}

TEST_F(GameSounds, TheTracksFolderHoldsThreeLoopsInBothFormats) {
    TrackPlayer player;
    buildTrackList(player, media);
    ASSERT_EQ(player.trackCount, 3);
    int oggCount = 0, wavCount = 0;
    for (int i = 0; i < player.trackCount; ++i) {
        const std::string path = "tracks/" + player.trackNames[i];
        (decodeWav(readBytes(path)) ? wavCount : oggCount) += 1;
        const SoundPtr track = media.loadSound(path, 1);
        ASSERT_TRUE(track) << path;
        EXPECT_GE(seconds(*track), 60.0) << path;
        EXPECT_LE(seconds(*track), 180.0) << path;
        EXPECT_LT(peakOf(*track), PeakLimit) << path;
        const auto [inside, across] = stepsInsideAndAcrossLoop(*track);
        EXPECT_LE(across, inside) << path;
    }
    EXPECT_GE(oggCount, 1);
    EXPECT_GE(wavCount, 1);
}
