// The mixer without any device: summing, volume, clamping, loops and channel states.

#include "media/sound/mixer.h"

#include <gtest/gtest.h>

#include <atomic>
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

TEST(Mixer, ClampsTheSumInsteadOfWrappingAround) {
    Mixer mixer;
    for (int i = 0; i < 3; ++i) mixer.play(constantSound(30000, 10), false);
    const auto out = mix(mixer, 4);
    EXPECT_EQ(out[0], 32767);
    EXPECT_EQ(out[1], -32768);
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
        for (int f = 0; f < 3; ++f) heard.push_back(out[2 * f]);
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
