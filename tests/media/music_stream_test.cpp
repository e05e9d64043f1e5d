// Streamed music through the mixer and the decoding thread.

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <thread>

#include "media/scripted/scripted_media.h"
#include "media/sound_test_files.h"
#include "support/test_support.h"

// ---- The mixer over a feed --------------------------------------------------------------

TEST(StreamedChannel, PlaysTheFeedAtItsVolumeAndEndsWhenTheFeedHasEndedAndRunDry) {
    Mixer mixer;
    auto feed = std::make_shared<StreamFeed>();
    const Channel channel = mixer.playStream(feed, false);
    const std::vector<int16_t> frames = {1000, -1000, 2000, -2000, 3000, -3000};
    feed->push(frames.data(), 3);
    mixer.setVolume(channel, 0.5f);
    std::vector<int16_t> out(8);
    mixer.mixInto(out.data(), 4);  // one frame short: the decoder is behind
    EXPECT_EQ(out, (std::vector<int16_t>{500, -500, 1000, -1000, 1500, -1500, 0, 0}));
    EXPECT_EQ(feed->shortfall(), 1u);
    EXPECT_TRUE(mixer.isPlaying(channel));  // still there, waiting for samples
    EXPECT_EQ(mixer.channelPosition(channel), 3u);
    feed->push(frames.data(), 1);
    feed->markEnded();
    mixer.mixInto(out.data(), 4);
    EXPECT_EQ(out[0], 500);
    EXPECT_EQ(mixer.activeChannels(), 0);
    EXPECT_TRUE(feed->abandoned());  // the decoder may free the stream
}

TEST(StreamedChannel, APausedChannelTakesNothingAndAStoppedOneIsAbandoned) {
    Mixer mixer;
    auto feed = std::make_shared<StreamFeed>();
    const std::vector<int16_t> frames(200, 7);
    feed->push(frames.data(), 100);
    const Channel channel = mixer.playStream(feed, true);
    std::vector<int16_t> out(20);
    mixer.mixInto(out.data(), 10);
    EXPECT_EQ(feed->availableFrames(), 100u);
    mixer.resume(channel);
    mixer.mixInto(out.data(), 10);
    EXPECT_EQ(feed->availableFrames(), 90u);
    EXPECT_FALSE(feed->abandoned());
    mixer.stop(channel);
    EXPECT_EQ(mixer.activeChannels(), 0);
    mixer.mixInto(out.data(), 10);
    EXPECT_EQ(out[0], 0);  // nothing starts after it: silent at once
    EXPECT_TRUE(feed->abandoned());
}

TEST(StreamedChannel, AStoppedTrackBridgesTheWaitForTheNextTracksFirstSamples) {
    Mixer mixer;
    auto oldFeed = std::make_shared<StreamFeed>();
    const std::vector<int16_t> oldFrames(2 * 1000, 100);
    oldFeed->push(oldFrames.data(), 1000);
    const Channel oldChannel = mixer.playStream(oldFeed, false);
    std::vector<int16_t> out(2 * 10);
    mixer.mixInto(out.data(), 10);
    mixer.stop(oldChannel);
    auto newFeed = std::make_shared<StreamFeed>();
    const Channel newChannel = mixer.playStream(newFeed, false);
    EXPECT_EQ(mixer.activeChannels(), 1);
    mixer.mixInto(out.data(), 10);  // the decoder has not delivered yet: the old track goes on
    EXPECT_EQ(out[0], 100);
    EXPECT_EQ(out[19], 100);
    EXPECT_FALSE(oldFeed->abandoned());
    const std::vector<int16_t> newFrames(2 * StreamFeed::StartFrames, 200);
    newFeed->push(newFrames.data(), StreamFeed::StartFrames - 1);
    mixer.mixInto(out.data(), 10);  // not yet a stretch it could play on from
    EXPECT_EQ(out[0], 100);
    EXPECT_EQ(mixer.channelPosition(newChannel), 0u);
    newFeed->push(newFrames.data(), 1);
    mixer.mixInto(out.data(), 10);
    EXPECT_EQ(out[0], 200);
    EXPECT_EQ(out[19], 200);
    EXPECT_TRUE(oldFeed->abandoned());
    EXPECT_TRUE(mixer.isPlaying(newChannel));
}

TEST(StreamedChannel, TheRingWrapsAroundWithoutLosingOrReorderingFrames) {
    StreamFeed feed;
    std::vector<int16_t> block(2 * 5000);
    int next = 0;
    int expected = 0;
    for (int round = 0; round < 40; ++round) {
        const size_t count = std::min<size_t>(5000, feed.freeFrames());
        for (size_t i = 0; i < count; ++i) block[2 * i] = block[2 * i + 1] = static_cast<int16_t>(next++);
        feed.push(block.data(), count);
        feed.consume(3777, [&](const int16_t* samples, size_t frames, size_t) {
            for (size_t i = 0; i < frames; ++i) ASSERT_EQ(samples[2 * i], static_cast<int16_t>(expected++));
        });
    }
    EXPECT_GT(expected, 40 * 3000);
}

// ---- The decoding thread ------------------------------------------------------------------

TEST(MusicDecoderThread, FeedsTheMixerTheSameSamplesAsTheWholeSound) {
    const std::vector<uint8_t> bytes = encodeTone(2, 48000, 30000, 440.0f);
    const Sound whole = convertForMixing(*decodeOgg(bytes), true);
    MusicDecoder decoder(MusicDecoder::Mode::OwnThread);
    Mixer mixer;
    const auto feed = decoder.start(TrackStream::open(std::make_unique<MemorySource>(bytes), true));
    mixer.playStream(feed, false);
    std::vector<int16_t> heard;
    std::vector<int16_t> out(2 * 1024);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    // Mixed only once the thread has delivered a block, so the comparison is about the samples.
    while (heard.size() < 3 * whole.samples.size() && std::chrono::steady_clock::now() < deadline) {
        if (feed->availableFrames() < 1024) {
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
            continue;
        }
        mixer.mixInto(out.data(), 1024);
        heard.insert(heard.end(), out.begin(), out.end());
    }
    ASSERT_GE(heard.size(), 3 * whole.samples.size());
    for (size_t i = 0; i < heard.size(); ++i) ASSERT_EQ(heard[i], whole.samples[i % whole.samples.size()]) << i;
}

TEST(MusicDecoderThread, ManyStreamsStartedAndStoppedQuicklyAreAllFreed) {
    const std::vector<uint8_t> bytes = encodeTone(2, 44100, 44100, 440.0f);
    MusicDecoder decoder(MusicDecoder::Mode::OwnThread);
    Mixer mixer;
    std::vector<std::weak_ptr<StreamFeed>> feeds;
    Channel channel = 0;
    for (int press = 0; press < 200; ++press) {
        mixer.stop(channel);
        const auto feed = decoder.start(TrackStream::open(std::make_unique<MemorySource>(bytes), true));
        feeds.push_back(feed);
        channel = mixer.playStream(feed, false);
    }
    EXPECT_EQ(mixer.activeChannels(), 1);
    mixer.stop(channel);
    // The thread lets go of every stream (and its decoder) soon after its channel is gone.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    auto anyHeld = [&] {
        return std::any_of(feeds.begin(), feeds.end(), [](const auto& feed) { return !feed.expired(); });
    };
    while (anyHeld() && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    EXPECT_FALSE(anyHeld());
}
