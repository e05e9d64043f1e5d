// Streamed music through the mixer and the decoding thread.

#include <gtest/gtest.h>

#include <atomic>
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

// A switch of track as the track player makes it: the next track started, then the playing
// one stopped, while the decoder delivers the next track's first blocks; the device may mix
// a block between any two of those steps. Whatever the order, every frame heard is the old
// track's next or, once the new one has taken over, the new track's next from its first:
// never both at once, never a silent gap, never a frame twice or skipped.
TEST(StreamedChannel, ASwitchOfTrackWithABlockMixedAtEveryStepNeitherOverlapsNorLeavesAGap) {
    constexpr size_t Delivery = 2048, Block = 441;
    constexpr int Deliveries = StreamFeed::StartFrames / Delivery + 1;
    // Frames of track `tag`: the left sample tells the track, the right one the frame's index.
    auto frames = [](int tag, size_t first, size_t count) {
        std::vector<int16_t> out;
        for (size_t i = first; i < first + count; ++i)
            out.insert(out.end(), {static_cast<int16_t>(1000 * tag), static_cast<int16_t>(i)});
        return out;
    };
    for (int startAt = 0; startAt <= Deliveries; ++startAt)
        for (int stopAt = startAt; stopAt <= Deliveries; ++stopAt) {
            SCOPED_TRACE(testing::Message() << "started after " << startAt << " deliveries, stopped after " << stopAt);
            Mixer mixer;
            auto oldFeed = std::make_shared<StreamFeed>(), newFeed = std::make_shared<StreamFeed>();
            oldFeed->push(frames(1, 0, 20000).data(), 20000);
            const Channel oldChannel = mixer.playStream(oldFeed, false);
            std::vector<int16_t> heard, block(2 * Block);
            auto mixBlock = [&] {
                mixer.mixInto(block.data(), Block);
                heard.insert(heard.end(), block.begin(), block.end());
            };
            mixBlock();
            for (int step = 0; step <= Deliveries; ++step) {
                if (step == startAt) mixer.playStream(newFeed, false), mixBlock();
                if (step == stopAt) mixer.stop(oldChannel), mixBlock();
                if (step < Deliveries) newFeed->push(frames(2, step * Delivery, Delivery).data(), Delivery), mixBlock();
            }
            size_t at = 0;
            for (int16_t next = 0; at < heard.size() && heard[at] == 1000; at += 2, ++next)
                ASSERT_EQ(heard[at + 1], next) << "old track, frame " << at / 2;
            ASSERT_LT(at, heard.size()) << "the new track never took over";
            for (int16_t next = 0; at < heard.size(); at += 2, ++next) {
                ASSERT_EQ(heard[at], 2000) << "frame " << at / 2 << " is not the new track's alone";
                ASSERT_EQ(heard[at + 1], next) << "new track, frame " << at / 2;
            }
            EXPECT_EQ(newFeed->shortfall(), 0u);
        }
}

// Music heard for longer than the ring holds, many times round, the decoder's side on a
// thread of its own as in the game: it tops up in blocks of 4099 frames and the device takes
// 441 (10 ms), neither of which divides the ring, so its wrap falls anywhere inside a push and
// inside a mixed block. Every frame is heard once, in order: none repeated, none dropped.
TEST(StreamedChannel, MusicHeardAcrossManyWrapsOfTheRingHasNoRepeatedOrDroppedFrames) {
    Mixer mixer;
    auto feed = std::make_shared<StreamFeed>();
    const Channel channel = mixer.playStream(feed, false);
    // A frame's two samples name it (up to 2^30 frames): its place in a 29191-frame cycle (a
    // prime under the limiter's ceiling, so every sample passes exactly) and the count of
    // 32768-frame spans before it.
    auto sample = [](uint32_t frame, int side) {
        return static_cast<int16_t>(side == 0 ? frame % 29191 : (frame >> 15) & 0x7fff);
    };
    constexpr size_t Push = 4099, Mix = 441;
    std::atomic<bool> done{false};
    std::thread decoder([&] {
        std::vector<int16_t> block(2 * Push);
        for (uint32_t pushed = 0; !done;) {
            if (feed->freeFrames() < Push) {
                std::this_thread::yield();
                continue;
            }
            for (size_t i = 0; i < Push; ++i, ++pushed)
                block[2 * i] = sample(pushed, 0), block[2 * i + 1] = sample(pushed, 1);
            feed->push(block.data(), Push);
        }
    });
    // Only the feed's own positions order the two threads: the frames a block took are told by
    // the channel's position, which the mixer keeps under its lock.
    std::vector<int16_t> out(2 * Mix);
    uint32_t heard = 0;
    bool inOrder = true;
    while (heard < 3 * StreamFeed::CapacityFrames && inOrder) {
        const size_t before = mixer.channelPosition(channel);
        mixer.mixInto(out.data(), Mix);
        const size_t took = mixer.channelPosition(channel) - before;
        if (took == 0) std::this_thread::yield();
        for (size_t i = 0; i < took && inOrder; ++i, ++heard)
            inOrder = out[2 * i] == sample(heard, 0) && out[2 * i + 1] == sample(heard, 1);
    }
    done = true;
    decoder.join();
    EXPECT_TRUE(inOrder) << "frame " << heard - 1;
}

// ---- The decoding thread ------------------------------------------------------------------

// Each time the decoder wakes it fills every feed to the brim, not a block each: a thread
// scheduled late still finds seconds of sound ahead of the mixer.
TEST(MusicDecoderThread, OneRoundFillsEveryFeed) {
    const std::vector<uint8_t> bytes = makePcmWav(2, 44100, 16, 44100, wobble);
    MusicDecoder decoder(MusicDecoder::Mode::ByHand);
    const auto first = decoder.start(TrackStream::open(std::make_unique<MemorySource>(bytes), true));
    const auto second = decoder.start(TrackStream::open(std::make_unique<MemorySource>(bytes), true));
    decoder.decodeAhead();
    EXPECT_LT(first->freeFrames(), 2048u);
    EXPECT_LT(second->freeFrames(), 2048u);
}

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

// A track that does not loop, through the decoder and the mixer to its last sample: every
// frame of the whole converted sound once and in order, silence after it, and the channel
// and the decoder's stream gone. Blocks of three sizes end the track on a block's last
// frame, on its first and inside it.
TEST(MusicDecoderThread, ATrackThatDoesNotLoopIsHeardToItsLastSampleAndThenEnds) {
    const std::vector<uint8_t> wav = makePcmWav(2, 22050, 16, 3001, wobble), ogg = encodeTone(1, 48000, 5000, 440.0f);
    for (const auto& [bytes, whole] :
         {std::pair{wav, convertForMixing(*decodeWav(wav), false)}, {ogg, convertForMixing(*decodeOgg(ogg), false)}}) {
        const size_t length = whole.frameCount();
        for (const size_t block : {length, length - 1, size_t{441}}) {
            SCOPED_TRACE(testing::Message() << length << " frames in blocks of " << block);
            MusicDecoder decoder(MusicDecoder::Mode::ByHand);
            Mixer mixer;
            const auto feed = decoder.start(TrackStream::open(std::make_unique<MemorySource>(bytes), false));
            const Channel channel = mixer.playStream(feed, false);
            std::vector<int16_t> heard, out(2 * block);
            while (mixer.isPlaying(channel) && heard.size() < 4 * whole.samples.size()) {
                decoder.decodeAhead();
                mixer.mixInto(out.data(), static_cast<int>(block));
                heard.insert(heard.end(), out.begin(), out.end());
            }
            ASSERT_GE(heard.size(), whole.samples.size());
            EXPECT_LE(heard.size(), whole.samples.size() + 2 * 2 * block) << "the channel outlasted its track";
            EXPECT_TRUE(std::equal(whole.samples.begin(), whole.samples.end(), heard.begin()));
            EXPECT_TRUE(
                std::all_of(heard.begin() + whole.samples.size(), heard.end(), [](int16_t v) { return v == 0; }));
            EXPECT_EQ(feed->shortfall(), 0u);
            decoder.decodeAhead();
            EXPECT_EQ(decoder.streamCount(), 0u);
        }
    }
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
