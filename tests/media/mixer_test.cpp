// The mixer without any device: summing, volume, clamping, loops and channel states.

#include "media/sound/mixer.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <cstdlib>
#include <functional>
#include <thread>
#include <vector>

namespace {

// A stereo sound whose every sample is value (left) and -value (right).
SoundPtr constantSound(int16_t value, size_t frames, bool looping = false) {
    auto sound = std::make_shared<Sound>();
    sound->looping = looping;
    for (size_t i = 0; i < frames; ++i) sound->samples.insert(sound->samples.end(), {value, int16_t(-value)});
    return sound;
}

// A mono ramp 0, 1, 2, ... as a stereo sound.
SoundPtr rampSound(size_t frames, bool looping) {
    auto sound = std::make_shared<Sound>();
    sound->looping = looping;
    for (size_t i = 0; i < frames; ++i) sound->samples.insert(sound->samples.end(), {int16_t(i), int16_t(i)});
    return sound;
}

std::vector<int16_t> mix(Mixer& mixer, int frames) {
    std::vector<int16_t> out(frames * 2, 777);
    mixer.mixInto(out.data(), frames);
    return out;
}

}  // namespace

TEST(Mixer, SumsEveryPlayingChannelAndScalesByVolume) {
    Mixer mixer;
    mixer.play(constantSound(1000, 100), false);
    const Channel second = mixer.play(constantSound(300, 100), false);
    EXPECT_EQ(mix(mixer, 1)[0], 1300);
    mixer.setVolume(second, 0.5f);
    const auto out = mix(mixer, 1);
    EXPECT_EQ(out[0], 1150);
    EXPECT_EQ(out[1], -1150);
    mixer.setVolume(second, 0.0f);
    EXPECT_EQ(mix(mixer, 1)[0], 1000);
    mixer.setVolume(second, 7.0f);  // clamped to full
    EXPECT_EQ(mix(mixer, 1)[0], 1300);
}

// Three sounds near full scale sum to 90000: held under the limiter's ceiling, neither
// wrapped round nor clipped at full scale.
TEST(Mixer, LimitsTheSumBelowFullScaleInsteadOfWrappingAround) {
    Mixer mixer;
    for (int i = 0; i < 3; ++i) mixer.play(constantSound(30000, 10), false);
    const auto out = mix(mixer, 4);
    EXPECT_GT(out[0], PeakLimiter::Ceiling - 2);
    EXPECT_LE(out[0], PeakLimiter::Ceiling);
    EXPECT_LT(out[1], -(PeakLimiter::Ceiling - 2));
    EXPECT_GE(out[1], -PeakLimiter::Ceiling);
}

TEST(Mixer, SilenceWhenNothingPlaysAndOneShotsEndAndVanish) {
    Mixer mixer;
    EXPECT_EQ(mix(mixer, 3), std::vector<int16_t>(6, 0));
    const Channel shot = mixer.play(constantSound(500, 3), false);
    const auto out = mix(mixer, 5);
    EXPECT_EQ(out[4], 500);
    EXPECT_EQ(out[6], 0);  // frame 3: the sound has ended
    EXPECT_FALSE(mixer.isPlaying(shot));
    EXPECT_EQ(mixer.activeChannels(), 0);
}

TEST(Mixer, LoopingSoundsWrapSeamlesslyInsideAndAcrossBlocks) {
    Mixer mixer;
    const Channel loop = mixer.play(rampSound(5, true), false);
    std::vector<int16_t> heard;
    for (int block = 0; block < 4; ++block) {
        const auto out = mix(mixer, 3);
        for (int f = 0; f < 3; ++f) {
            heard.push_back(out[2 * f]);
            EXPECT_EQ(out[2 * f + 1], out[2 * f]) << "both channels in step, block " << block << " frame " << f;
        }
    }
    EXPECT_EQ(heard, (std::vector<int16_t>{0, 1, 2, 3, 4, 0, 1, 2, 3, 4, 0, 1}));
    EXPECT_TRUE(mixer.isPlaying(loop));
    EXPECT_EQ(mixer.channelPosition(loop), 2u);
}

TEST(Mixer, StoppedChannelsAreSilentForGoodAndPausedOnesWait) {
    Mixer mixer;
    const Channel stopped = mixer.play(constantSound(100, 50), false);
    mixer.stop(stopped);
    mixer.resume(stopped);  // a stopped channel never starts again
    EXPECT_EQ(mix(mixer, 2)[0], 0);

    const Channel cued = mixer.play(rampSound(50, false), true);
    EXPECT_FALSE(mixer.isPlaying(cued));
    EXPECT_EQ(mix(mixer, 10)[0], 0);
    EXPECT_EQ(mixer.channelPosition(cued), 0u);
    mixer.resume(cued);
    const auto out = mix(mixer, 3);
    EXPECT_EQ(out[0], 0);  // starts from the beginning after waiting
    EXPECT_EQ(out[4], 2);
}

TEST(Mixer, ASilentChannelKeepsRunning) {
    Mixer mixer;
    const Channel track = mixer.play(rampSound(100, true), false);
    mixer.setVolume(track, 0.0f);
    mix(mixer, 40);
    EXPECT_EQ(mixer.channelPosition(track), 40u);
    mixer.setVolume(track, 1.0f);
    EXPECT_EQ(mix(mixer, 1)[0], 40);
}

TEST(Mixer, AChannelKeepsItsSoundAliveAfterTheGameDropsIt) {
    Mixer mixer;
    std::weak_ptr<const Sound> watch;
    {
        SoundPtr sound = constantSound(250, 4);
        watch = sound;
        mixer.play(sound, false);
    }
    EXPECT_FALSE(watch.expired());
    EXPECT_EQ(mix(mixer, 2)[0], 250);
    mix(mixer, 4);  // the sound ends and its channel lets go of it
    EXPECT_TRUE(watch.expired());
}

TEST(Mixer, NullOrEmptySoundsGiveChannelZeroOnWhichEveryCallDoesNothing) {
    Mixer mixer;
    EXPECT_EQ(mixer.play(nullptr, false), 0);
    EXPECT_EQ(mixer.play(std::make_shared<Sound>(), false), 0);
    EXPECT_EQ(mixer.playStream(nullptr, false), 0) << "nor a stream without a feed";
    mixer.setVolume(0, 1.0f);
    mixer.resume(0);
    mixer.stop(0);
    mixer.stop(12345);
    EXPECT_EQ(mixer.activeChannels(), 0);
    EXPECT_EQ(mix(mixer, 2), std::vector<int16_t>(4, 0));
}

// Each call on its own, over and over, while another thread mixes and short effects end and
// are forgotten under it (the queries ask after such an effect): a call that skipped the lock
// would meet the mixing with nothing between them to order the two, as the thread build's
// ThreadSanitizer sees.
TEST(Mixer, EveryCallOnItsOwnWhileAnotherThreadMixesAndEffectsEnd) {
    Mixer mixer;
    std::atomic<bool> running{true};
    std::atomic<uint64_t> blocks{0};  // read relaxed: it orders nothing between the threads
    std::thread device([&] {
        std::vector<int16_t> block(2 * 32);
        while (running) mixer.mixInto(block.data(), 32), blocks.fetch_add(1, std::memory_order_relaxed);
    });
    const SoundPtr blip = constantSound(10, 40);
    const auto feed = std::make_shared<StreamFeed>();
    const Channel kept = mixer.play(constantSound(20, 100, true), false);
    Channel effect = 0;
    size_t seen = 0;
    const std::function<void()> calls[] = {[&] { effect = mixer.play(blip, false); },
                                           [&] { mixer.stop(mixer.playStream(feed, false)); },
                                           [&] { mixer.stop(effect); },
                                           [&] { mixer.setVolume(kept, 0.5f); },
                                           [&] { mixer.setGroupGain(SoundGroup::Effects, 0.9f); },
                                           [&] { mixer.resume(kept); },
                                           [&] { seen += mixer.isPlaying(effect); },
                                           [&] { seen += mixer.channelPosition(effect); },
                                           [&] { seen += mixer.channelVolume(effect) > 0.0f; },
                                           [&] { seen += static_cast<size_t>(mixer.activeChannels()); }};
    // Each call repeated while an effect plays out and is forgotten, two blocks on.
    for (const auto& call : calls)
        for (int round = 0; round < 8; ++round) {
            effect = mixer.play(blip, false);
            for (const uint64_t until = blocks.load(std::memory_order_relaxed) + 2;
                 blocks.load(std::memory_order_relaxed) < until;)
                call();
        }
    running = false;
    device.join();
    mix(mixer, 64);  // the last effects end
    EXPECT_GT(seen, 0u);
    EXPECT_EQ(mixer.activeChannels(), 1) << "every effect and stream gone, the loop kept";
    EXPECT_FLOAT_EQ(mixer.channelVolume(kept), 0.5f);
}

// The player's volume steps: an effect at step 10 is as it is, at step 5 scaled by the 16.16
// factor of -15 dB, at step 0 silent; music keeps its own volume meanwhile, and the other way.
TEST(Mixer, EachGroupTakesThePlayersVolumeAndLeavesTheOtherAlone) {
    const float stepFive = 0.177828f;  // -15 dB: five steps of 3 dB below full
    const int32_t factor = static_cast<int32_t>(std::lround(stepFive * 65536.0f));
    for (const auto& [gain, expected] : {std::pair{1.0f, 20000}, {stepFive, (20000 * factor) >> 16}, {0.0f, 0}}) {
        Mixer mixer;
        mixer.play(constantSound(20000, 100), false);
        mixer.setGroupGain(SoundGroup::Effects, gain);
        const auto out = mix(mixer, 1);
        EXPECT_EQ(out[0], expected) << gain;
        EXPECT_EQ(out[1], (-20000 * static_cast<int32_t>(std::lround(gain * 65536.0f))) >> 16) << gain;
    }
    Mixer mixer;
    const Channel theme = mixer.play(constantSound(1000, 100, true), false, SoundGroup::Music);
    mixer.play(constantSound(300, 100), false);
    mixer.setGroupGain(SoundGroup::Effects, 0.0f);
    EXPECT_EQ(mix(mixer, 1)[0], 1000);
    mixer.setGroupGain(SoundGroup::Effects, 1.0f);
    mixer.setGroupGain(SoundGroup::Music, 0.5f);
    mixer.setVolume(theme, 0.5f);
    EXPECT_EQ(mix(mixer, 1)[0], 250 + 300) << "the player's volume on top of the channel's own";
    EXPECT_FLOAT_EQ(mixer.channelVolume(theme), 0.5f) << "a channel reports its own volume";
    // A streamed track is music.
    auto feed = std::make_shared<StreamFeed>();
    std::vector<int16_t> block(2 * 64, 8000);
    feed->push(block.data(), 64);
    Mixer streaming;
    streaming.playStream(feed, false);
    streaming.setGroupGain(SoundGroup::Effects, 0.0f);
    EXPECT_EQ(mix(streaming, 1)[0], 8000);
    streaming.setGroupGain(SoundGroup::Music, 0.0f);
    EXPECT_EQ(mix(streaming, 1)[0], 0);
}

// Below the ceiling every sample passes exactly, also right after a loud stretch has been
// held down and the gain has come back; above it nothing reaches full scale, on either side.
TEST(PeakLimiterTest, PassesQuietSamplesExactlyAndHoldsLoudOnesUnderTheCeiling) {
    PeakLimiter limiter;
    std::vector<int32_t> sum = {PeakLimiter::Ceiling, -PeakLimiter::Ceiling, 123, -4567};
    std::vector<int16_t> out(sum.size());
    limiter.apply(sum.data(), out.data(), 2);
    EXPECT_EQ(out, (std::vector<int16_t>{int16_t(PeakLimiter::Ceiling), int16_t(-PeakLimiter::Ceiling), 123, -4567}));
    EXPECT_EQ(limiter.gain(), 1.0);

    // Ten thousand frames far past full scale, the loud side left then right.
    std::vector<int32_t> loud;
    for (int i = 0; i < 10000; ++i) loud.insert(loud.end(), {i % 2 ? 200000 : -5000, i % 2 ? 1000 : -150000});
    std::vector<int16_t> limited(loud.size());
    limiter.apply(loud.data(), limited.data(), 10000);
    for (size_t i = 0; i < limited.size(); ++i) ASSERT_LE(std::abs(limited[i]), PeakLimiter::Ceiling) << i;
    EXPECT_LT(limiter.gain(), 0.2f);
    // Both sides share the gain: the quiet side is turned down with the loud one.
    EXPECT_NEAR(limited[3], 1000 * double(limited[2]) / 200000, 1.0);

    // Back up within a second of quiet, and exact again.
    std::vector<int32_t> quiet(2 * 44100, 1000);
    std::vector<int16_t> after(quiet.size());
    limiter.apply(quiet.data(), after.data(), 44100);
    EXPECT_EQ(limiter.gain(), 1.0);
    EXPECT_EQ(after.back(), 1000);
    EXPECT_LT(after.front(), 1000) << "it comes back gradually, not at once";
}
