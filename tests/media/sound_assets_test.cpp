// The game's own generated sounds, read back through the game's own loaders.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <set>

#include "media/scripted/scripted_media.h"
#include "media/sound/sound_decoders.h"
#include "sound_analysis.h"
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
    for (size_t i = 2; i < sound.samples.size(); i += 2)
        inside = std::max(inside, std::abs(sound.samples[i] - sound.samples[i - 2]));
    return {inside, std::abs(sound.samples[0] - sound.samples[sound.samples.size() - 2])};
}

double seconds(const Sound& sound) { return static_cast<double>(sound.frameCount()) / MixRate; }

uint32_t fmtChunkSize(const std::vector<uint8_t>& wav) { return wav[16] | (wav[17] << 8); }

// ---- The mix, measured on the files as the game decodes them --------------------------

// Effects are heard at one loudness (RMS of their loudest 300 ms, within 1 dB of
// -16 dBFS) with peaks under -1 dBFS; music loops sit 6 dB under them (RMS of the whole
// loop within 1 dB of -22 dBFS) with peaks under -3 dBFS.
constexpr double EffectLoudnessTarget = -16.0;
constexpr double MusicLoudnessTarget = -22.0;
constexpr double LoudnessTolerance = 1.0;
constexpr double EffectPeakLimit = -1.0;
constexpr double MusicPeakLimit = -3.0;
// 0.1 % of full scale.
constexpr double DcLimit = 0.001;
// An 8-bit sample's step is 1/128: an edge within about one step counts as silent.
constexpr double EdgeLimit = 0.01;
// Ogg Vorbis moves samples by its coding noise: a loop's edge within -34 dBFS is quiet.
constexpr double LoopEdgeLimit = 0.02;
// A step at the loop point below -46 dBFS is lost in the same coding noise.
constexpr double JoinFloor = 0.005;

const std::vector<std::string> EffectFiles = {"sfx/click.wav", "sfx/start.wav",   "sfx/complete.wav",
                                              "sfx/virus.wav", "sfx/staruse.wav", "sfx/rankup.wav"};
const std::vector<std::string> LoopFiles = {"sfx/menutheme.ogg", "tracks/circuit.ogg", "tracks/night_shift.ogg",
                                            "tracks/uplink.wav"};

// Both sides as -1..1; a mono file gives the same samples to both.
struct Sides {
    std::vector<double> left, right;
    size_t frames() const { return left.size(); }
};

Sides decodeFile(const std::string& path) {
    const std::vector<uint8_t> bytes = readBytes(path);
    std::optional<PcmSound> pcm = decodeWav(bytes);
    if (!pcm) pcm = decodeOgg(bytes);
    Sides sides;
    if (!pcm) return sides;
    for (size_t frame = 0; frame < pcm->frameCount(); ++frame) {
        const size_t at = frame * pcm->channels;
        sides.left.push_back(pcm->samples[at] / 32768.0);
        sides.right.push_back(pcm->samples[at + pcm->channels - 1] / 32768.0);
    }
    return sides;
}

// Decoding a minute of Ogg Vorbis takes a while: each file once for the whole program.
const Sides& decodeSides(const std::string& path) {
    static std::map<std::string, Sides> decoded;
    const std::string key = (std::filesystem::current_path() / path).string();
    auto found = decoded.find(key);
    if (found == decoded.end()) found = decoded.emplace(key, decodeFile(path)).first;
    return found->second;
}

double meanOf(const std::vector<double>& side) {
    double sum = 0;
    for (double value : side) sum += value;
    return sum / static_cast<double>(side.size());
}

double decibels(double power) { return 10.0 * std::log10(std::max(power, 1e-12)); }

// Mean power of both sides over frames [from, from + count).
double powerOver(const Sides& sides, size_t from, size_t count) {
    double sum = 0;
    for (size_t i = from; i < from + count; ++i) sum += sides.left[i] * sides.left[i] + sides.right[i] * sides.right[i];
    return sum / (2.0 * static_cast<double>(count));
}

double rmsDbOf(const Sides& sides) { return decibels(powerOver(sides, 0, sides.frames())); }

// RMS (dBFS) of the loudest 300 ms, or of the whole sound when shorter.
double loudestWindowDbOf(const Sides& sides) {
    const size_t window = std::min<size_t>(sides.frames(), MixRate * 3 / 10);
    double loudest = 0;
    for (size_t from = 0; from + window <= sides.frames(); from += 441)
        loudest = std::max(loudest, powerOver(sides, from, window));
    return decibels(loudest);
}

double peakDbOf(const Sides& sides) {
    double peak = 0;
    for (size_t i = 0; i < sides.frames(); ++i)
        peak = std::max({peak, std::fabs(sides.left[i]), std::fabs(sides.right[i])});
    return 20.0 * std::log10(std::max(peak, 1e-9));
}

// The largest magnitude among `count` frames from `from`.
double largestIn(const std::vector<double>& side, size_t from, size_t count) {
    double largest = 0;
    for (size_t i = from; i < from + count; ++i) largest = std::max(largest, std::fabs(side[i]));
    return largest;
}

// The largest step between neighbouring frames among `count` frames from `from`, both sides.
double largestStep(const std::vector<double>& side, size_t from, size_t count) {
    double step = 0;
    for (size_t i = from + 1; i < from + count; ++i) step = std::max(step, std::fabs(side[i] - side[i - 1]));
    return step;
}

// Power (dB) of what lies above `hz`, both sides together.
double powerAboveDbOf(const Sides& sides, double hz) {
    const double left = powerAboveDb(sides.left, MixRate, hz), right = powerAboveDb(sides.right, MixRate, hz);
    return decibels((std::pow(10.0, left / 10.0) + std::pow(10.0, right / 10.0)) / 2.0);
}

std::vector<double> monoOf(const Sides& sides) {
    std::vector<double> mono(sides.frames());
    for (size_t i = 0; i < mono.size(); ++i) mono[i] = (sides.left[i] + sides.right[i]) / 2.0;
    return mono;
}

// RMS (dB) of each whole stretch of `seconds`, in order.
std::vector<double> stretchLevels(const Sides& sides, double seconds) {
    const size_t length = static_cast<size_t>(seconds * MixRate);
    std::vector<double> levels;
    for (size_t from = 0; from + length <= sides.frames(); from += length)
        levels.push_back(decibels(powerOver(sides, from, length)));
    return levels;
}

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

// Every effect is 16-bit (an 8-bit click hisses at its own noise floor); between them
// they still use the other layouts the reader accepts.
TEST_F(GameSounds, EveryEffectIsSixteenBitInTheLayoutsTheReaderAccepts) {
    auto format = [](const std::string& path) { return decodeWav(readBytes(path)); };
    for (const std::string& path : EffectFiles) EXPECT_EQ(readBytes(path)[34], 16) << path;  // bits per sample
    EXPECT_EQ(format("sfx/click.wav")->channels, 1);
    EXPECT_EQ(format("sfx/start.wav")->channels, 1);
    EXPECT_EQ(format("sfx/complete.wav")->channels, 2);
    EXPECT_EQ(fmtChunkSize(readBytes("sfx/staruse.wav")), 18u);
    const std::vector<uint8_t> virus = readBytes("sfx/virus.wav");
    EXPECT_NE(std::string(virus.begin() + 36, virus.begin() + 40), "data");  // another chunk comes first
    EXPECT_TRUE(format("sfx/virus.wav"));
}

// Heard over and over in the menu: long enough not to tire (1.5 to 2.5 minutes), and
// still small once decoded whole (44.1 kHz 16-bit stereo: about 10 MB a minute).
TEST_F(GameSounds, TheMenuThemeIsAnOggLoopOfTwoMinutesOrSoWithoutAClick) {
    const std::vector<uint8_t> bytes = readBytes("sfx/menutheme.ogg");
    EXPECT_FALSE(decodeWav(bytes));
    const SoundPtr theme = media.loadSound("sfx/menutheme.ogg", 1);
    ASSERT_TRUE(theme);
    EXPECT_TRUE(theme->looping);
    EXPECT_GE(seconds(*theme), 90.0);
    EXPECT_LE(seconds(*theme), 150.0);
    EXPECT_LT(peakOf(*theme), PeakLimit);
    const auto [inside, across] = stepsInsideAndAcrossLoop(*theme);
    EXPECT_LE(across, inside);
}

// A track is heard for an hour at a time: each runs 3 to 4 minutes before it repeats.
TEST_F(GameSounds, TheTracksFolderHoldsThreeLoopsOfThreeToFourMinutesInBothFormats) {
    std::vector<std::string> paths;
    for (const auto& entry : std::filesystem::directory_iterator(gameFolder() / "tracks"))
        paths.push_back("tracks/" + entry.path().filename().string());
    ASSERT_EQ(paths.size(), 3u);
    int oggCount = 0, wavCount = 0;
    for (const std::string& path : paths) {
        (decodeWav(readBytes(path)) ? wavCount : oggCount) += 1;
        const SoundPtr track = media.loadSound(path, 1);
        ASSERT_TRUE(track) << path;
        EXPECT_GE(seconds(*track), 180.0) << path;
        EXPECT_LE(seconds(*track), 240.0) << path;
        EXPECT_LT(peakOf(*track), PeakLimit) << path;
        const auto [inside, across] = stepsInsideAndAcrossLoop(*track);
        EXPECT_LE(across, inside) << path;
    }
    EXPECT_GE(oggCount, 1);
    EXPECT_GE(wavCount, 1);
}

TEST_F(GameSounds, NoSoundCarriesADcOffset) {
    std::vector<std::string> all = EffectFiles;
    all.insert(all.end(), LoopFiles.begin(), LoopFiles.end());
    for (const std::string& path : all) {
        const Sides& sides = decodeSides(path);
        ASSERT_GT(sides.frames(), 0u) << path;
        EXPECT_LT(std::fabs(meanOf(sides.left)), DcLimit) << path;
        EXPECT_LT(std::fabs(meanOf(sides.right)), DcLimit) << path;
    }
}

TEST_F(GameSounds, EffectsStartAndEndInSilence) {
    for (const std::string& path : EffectFiles) {
        const Sides& sides = decodeSides(path);
        ASSERT_GT(sides.frames(), 0u) << path;
        for (const auto* side : {&sides.left, &sides.right}) {
            EXPECT_LE(std::fabs(side->front()), EdgeLimit) << path;
            EXPECT_LE(std::fabs(side->back()), EdgeLimit) << path;
            // Faded over a few milliseconds, not cut: the first half millisecond stays
            // under a third of the sound's peak, the last 2 ms under -34 dBFS.
            EXPECT_LE(largestIn(*side, 0, MixRate / 2000), largestIn(*side, 0, side->size()) / 3) << path;
            EXPECT_LE(largestIn(*side, side->size() - MixRate / 500, MixRate / 500), EdgeLimit * 2) << path;
        }
    }
}

// A loop starts near zero, so its first pass does not click, and its last frame leads
// into its first no more steeply than the music moves around the loop point.
TEST_F(GameSounds, LoopsStartNearZeroAndJoinWithoutAClick) {
    for (const std::string& path : LoopFiles) {
        const Sides& sides = decodeSides(path);
        ASSERT_GT(sides.frames(), 1000u) << path;
        for (const auto* side : {&sides.left, &sides.right}) {
            EXPECT_LE(std::fabs(side->front()), LoopEdgeLimit) << path;
            EXPECT_LE(std::fabs(side->back()), LoopEdgeLimit) << path;
            const double around = std::max(largestStep(*side, 0, 200), largestStep(*side, side->size() - 200, 200));
            EXPECT_LE(std::fabs(side->front() - side->back()), std::max(around, JoinFloor)) << path;
        }
    }
}

TEST_F(GameSounds, EffectsShareOneLoudnessAndTheMusicSitsSixDecibelsUnder) {
    double effects = 0, music = 0;
    std::printf("%-24s %8s %12s %8s\n", "file", "RMS dB", "loudest dB", "peak dB");
    for (const std::string& path : EffectFiles) {
        const Sides& sides = decodeSides(path);
        const double loudness = loudestWindowDbOf(sides), peak = peakDbOf(sides);
        std::printf("%-24s %8.1f %12.1f %8.1f\n", path.c_str(), rmsDbOf(sides), loudness, peak);
        EXPECT_NEAR(loudness, EffectLoudnessTarget, LoudnessTolerance) << path;
        EXPECT_LE(peak, EffectPeakLimit) << path;
        effects += loudness / static_cast<double>(EffectFiles.size());
    }
    for (const std::string& path : LoopFiles) {
        const Sides& sides = decodeSides(path);
        const double rms = rmsDbOf(sides), peak = peakDbOf(sides);
        std::printf("%-24s %8.1f %12.1f %8.1f\n", path.c_str(), rms, loudestWindowDbOf(sides), peak);
        EXPECT_NEAR(rms, MusicLoudnessTarget, LoudnessTolerance) << path;
        EXPECT_LE(peak, MusicPeakLimit) << path;
        music += rms / static_cast<double>(LoopFiles.size());
    }
    EXPECT_NEAR(effects - music, 6.0, 1.0);
}

// Bells, shakers and cymbals reach up to 12 kHz, but no piece carries a hiss above
// them: what lies above 14 kHz stays 40 dB under the whole piece.
TEST_F(GameSounds, MusicCarriesNoBroadbandHiss) {
    for (const std::string& path : LoopFiles) {
        const Sides& sides = decodeSides(path);
        ASSERT_GT(sides.frames(), 0u) << path;
        EXPECT_LT(powerAboveDbOf(sides, 14000.0), rmsDbOf(sides) - 40.0) << path;
    }
}

// No piece sounds muffled: each has as much above 5 kHz as the first track, within 12 dB,
// and that is real content (bells, shakers, cymbals), not a trace.
TEST_F(GameSounds, EveryPieceIsBrightAsTheFirstTrackWithinTwelveDecibels) {
    const double first = powerAboveDbOf(decodeSides("tracks/circuit.ogg"), 5000.0);
    EXPECT_GT(first, MusicLoudnessTarget - 30.0);
    for (const std::string& path : LoopFiles) {
        const double above = powerAboveDbOf(decodeSides(path), 5000.0);
        std::printf("%-24s above 5 kHz %6.1f dB, %+5.1f dB from the first track\n", path.c_str(), above, above - first);
        EXPECT_GT(above, first - 12.0) << path;
    }
}

// Each piece is in a key of its own, as a listener would name it: the pitch classes it
// sounds, matched against the 24 major and minor key profiles.
TEST_F(GameSounds, EachPieceIsInAKeyOfItsOwn) {
    const std::map<std::string, std::string> keys = {{"sfx/menutheme.ogg", "D major"},
                                                     {"tracks/circuit.ogg", "E minor"},
                                                     {"tracks/night_shift.ogg", "G minor"},
                                                     {"tracks/uplink.wav", "Eb major"}};
    std::set<std::string> heard;
    for (const std::string& path : LoopFiles) {
        const MusicalKey key = estimateKey(pitchClassProfile(monoOf(decodeSides(path)), MixRate));
        std::printf("%-24s %s\n", path.c_str(), key.name().c_str());
        EXPECT_EQ(key.name(), keys.at(path)) << path;
        heard.insert(key.name());
    }
    EXPECT_EQ(heard.size(), LoopFiles.size());
}

// A track's sections change as it goes: the band drops out for a breakdown at least 4 dB
// under its loudest stretch, and comes back after it; the top end comes and goes with
// the drums. Measured over 8-second stretches.
TEST_F(GameSounds, EachTrackBreaksDownAndReturns) {
    for (const std::string& path : LoopFiles) {
        if (path.rfind("tracks/", 0) != 0) continue;
        const std::vector<double> levels = stretchLevels(decodeSides(path), 8.0);
        ASSERT_GT(levels.size(), 20u) << path;
        const auto quietest = std::min_element(levels.begin(), levels.end());
        const double loudest = *std::max_element(levels.begin(), levels.end());
        const double afterwards = *std::max_element(quietest, levels.end());
        std::printf("%-24s stretches from %.1f to %.1f dB; %.1f dB after the quietest\n", path.c_str(), *quietest,
                    loudest, afterwards);
        EXPECT_LT(*quietest, loudest - 4.0) << path;
        EXPECT_GT(afterwards, loudest - 1.5) << path;
    }
}

// ---- The mix of the game's own effects over music ------------------------------------

namespace {

// A looping square wave at full scale: louder than any track can be.
SoundPtr fullScaleTrack() {
    auto track = std::make_shared<Sound>();
    track->looping = true;
    for (int i = 0; i < MixRate; ++i) {
        const int16_t value = (i / 50) % 2 ? INT16_MAX : INT16_MIN;
        track->samples.insert(track->samples.end(), {value, value});
    }
    return track;
}

// A quiet sine, -30 dBFS.
SoundPtr quietTrack() {
    auto track = std::make_shared<Sound>();
    track->looping = true;
    for (int i = 0; i < MixRate; ++i) {
        const auto value = static_cast<int16_t>(std::lround(1036.0 * std::sin(2 * M_PI * 220.0 * i / MixRate)));
        track->samples.insert(track->samples.end(), {value, value});
    }
    return track;
}

}  // namespace

// Twenty cleaning clicks in one second, each with its click, over the loudest track there
// could be: the mix never reaches full scale.
TEST_F(GameSounds, ABurstOfCleaningClicksOverAFullScaleTrackNeverReachesFullScale) {
    Mixer& mixer = media.soundMixer();
    mixer.play(fullScaleTrack(), false, SoundGroup::Music);
    const SoundPtr click = media.loadSound("sfx/click.wav", 0), starUse = media.loadSound("sfx/staruse.wav", 0);
    ASSERT_TRUE(click && starUse);
    constexpr int Block = MixRate / 20;  // a click every 50 ms
    std::vector<int16_t> out(2 * Block);
    int peak = 0;
    for (int block = 0; block < 40; ++block) {
        if (block < 20) {
            mixer.play(click, false);
            mixer.play(starUse, false);
        }
        mixer.mixInto(out.data(), Block);
        for (const int16_t sample : out) peak = std::max(peak, std::abs(int{sample}));
    }
    EXPECT_LT(peak, INT16_MAX);
    EXPECT_GT(peak, PeakLimit * 9 / 10) << "limited, not silenced";
}

// One click over quiet music is heard exactly as the two summed: the limiter never touches it.
TEST_F(GameSounds, OneClickOverQuietMusicIsTheExactSum) {
    const SoundPtr click = media.loadSound("sfx/click.wav", 0), music = quietTrack();
    Mixer& mixer = media.soundMixer();
    mixer.play(music, false, SoundGroup::Music);
    mixer.play(click, false);
    std::vector<int16_t> out(2 * click->frameCount());
    mixer.mixInto(out.data(), static_cast<int>(click->frameCount()));
    for (size_t i = 0; i < out.size(); ++i) ASSERT_EQ(out[i], click->samples[i] + music->samples[i]) << "sample " << i;
}
