// Streamed music through the mixer and the decoding thread, and the TrackPlayer over folders
// that players really have: empty and non-audio files, fifty tracks, huge files, fast presses.

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <thread>

#include "media/scripted_media.h"
#include "media/sound_test_files.h"
#include "media/track_player.h"
#include "support/test_support.h"

namespace {

// A 44100 Hz 16-bit mono WAV whose every sample is value: tells tracks apart by ear.
std::vector<uint8_t> levelWav(int16_t value, uint32_t frames = 4410) {
    return makePcmWav(1, 44100, 16, frames, [value](uint32_t, int) { return value; });
}

// The first sample the music channel sounds next, at full volume, after the decoding
// the game does on its own thread.
int16_t nextMusicSample(ScriptedMedia& media, Channel channel) {
    media.musicDecoder().decodeAhead();
    media.setChannelVolume(channel, 1.0f);
    std::vector<int16_t> out(2);
    media.soundMixer().mixInto(out.data(), 1);
    return out[0];
}

}  // namespace

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
    while (anyHeld() && std::chrono::steady_clock::now() < deadline) std::this_thread::sleep_for(std::chrono::milliseconds(5));
    EXPECT_FALSE(anyHeld());
}

// ---- The TrackPlayer over real folders -------------------------------------------------------

TEST(StreamedTracks, ZeroByteAndNonAudioFilesAreSkippedForTheNextTrack) {
    ScratchFolder folder("tracks-odd-files");
    writeBytes(folder.file("tracks/a.wav"), {});
    writeBytes(folder.file("tracks/b.ogg"), std::vector<uint8_t>(3000, 'x'));  // text named like music
    writeBytes(folder.file("tracks/c.wav"), levelWav(1234));
    writeBytes(folder.file("tracks/d.ogg"), {});
    WorkingFolder here(folder.path());
    ScriptedMedia media;
    TrackPlayer player;
    buildTrackList(player, media);
    ASSERT_EQ(player.trackCount, 4);
    startMusic(player, media);
    EXPECT_EQ(player.currentTrack, 2);
    EXPECT_EQ(nextMusicSample(media, player.musicChannel), 1234);
    ASSERT_EQ(media.warnings.size(), 2u);
    EXPECT_EQ(media.warnings[0], "cannot play music file tracks/a.wav; skipping it");
    nextTrack(player, media);  // past d.ogg, a.wav and b.ogg, round to c.wav
    EXPECT_EQ(player.currentTrack, 2);
    EXPECT_EQ(media.soundMixer().activeChannels(), 1);
}

TEST(StreamedTracks, AFolderOfFiftyTracksPlaysEachInTurnAndWrapsRound) {
    ScratchFolder folder("tracks-fifty");
    for (int i = 0; i < 50; ++i) {
        const std::string name = "tracks/song" + std::to_string(100 + i) + (i % 2 ? ".wav" : ".ogg");
        writeBytes(folder.file(name), i % 2 ? levelWav(static_cast<int16_t>(100 * i)) : encodeTone(1, 22050, 2000, 100.0f + i));
    }
    WorkingFolder here(folder.path());
    ScriptedMedia media;
    TrackPlayer player;
    buildTrackList(player, media);
    ASSERT_EQ(player.trackCount, 50);
    startMusic(player, media);
    for (int press = 1; press <= 50; ++press) {
        nextTrack(player, media);
        ASSERT_EQ(player.currentTrack, press % 50);
        const int16_t sample = nextMusicSample(media, player.musicChannel);
        if (player.currentTrack % 2) {
            ASSERT_EQ(sample, 100 * player.currentTrack);
        }
        ASSERT_EQ(media.soundMixer().activeChannels(), 1);
        // The track before it may still be held until the mixer has heard the new one.
        ASSERT_LE(media.musicDecoder().streamCount(), 2u);
    }
    EXPECT_TRUE(media.warnings.empty());
}

TEST(StreamedTracks, NextPressedManyTimesQuicklyLeavesOneTrackPlayingAndNoStreamBehind) {
    ScratchFolder folder("tracks-fast");
    writeBytes(folder.file("tracks/a.ogg"), encodeTone(2, 48000, 48000, 300.0f));
    writeBytes(folder.file("tracks/b.wav"), levelWav(2222));
    writeBytes(folder.file("tracks/c.wav"), levelWav(3333));
    WorkingFolder here(folder.path());
    ScriptedMedia media;
    TrackPlayer player;
    buildTrackList(player, media);
    startMusic(player, media);
    for (int press = 0; press < 301; ++press) nextTrack(player, media);  // no decoding in between
    EXPECT_EQ(player.currentTrack, 301 % 3);
    EXPECT_EQ(media.soundMixer().activeChannels(), 1);
    EXPECT_EQ(nextMusicSample(media, player.musicChannel), 2222);
    EXPECT_EQ(media.musicDecoder().streamCount(), 1u);
}

TEST(StreamedTracks, AHugeWavStreamsFromItsHeaderAndIsNeverReadWhole) {
    ScratchFolder folder("tracks-huge");
    // A 1 GB file with a valid header; the rest is a hole that takes no disk space.
    std::vector<uint8_t> head = levelWav(0, 1);
    const uint32_t dataSize = (1u << 30) - 44;
    for (int i = 0; i < 4; ++i) head[40 + i] = static_cast<uint8_t>(dataSize >> (8 * i));
    writeBytes(folder.file("tracks/huge.wav"), head);
    std::filesystem::resize_file(folder.file("tracks/huge.wav"), uint64_t{1} << 30);
    WorkingFolder here(folder.path());
    ScriptedMedia media;
    EXPECT_FALSE(media.loadSound("tracks/huge.wav", 1));  // whole: over the length limit, refused from the header
    TrackPlayer player;
    buildTrackList(player, media);
    startMusic(player, media);
    EXPECT_NE(player.musicChannel, 0);
    EXPECT_EQ(nextMusicSample(media, player.musicChannel), 0);
}

TEST(StreamedTracks, ATrackWhoseFileIsEmptiedWhilePlayingEndsAndNextStillWorks) {
    ScratchFolder folder("tracks-emptied");
    writeBytes(folder.file("tracks/a.wav"), levelWav(1111, 100));
    writeBytes(folder.file("tracks/b.wav"), levelWav(2222));
    WorkingFolder here(folder.path());
    ScriptedMedia media;
    TrackPlayer player;
    buildTrackList(player, media);
    startMusic(player, media);
    EXPECT_EQ(nextMusicSample(media, player.musicChannel), 1111);
    std::filesystem::resize_file(folder.file("tracks/a.wav"), 0);
    std::vector<int16_t> out(2 * 1000);
    for (int block = 0; block < 400 && media.soundMixer().activeChannels() > 0; ++block) {  // past what was read ahead
        media.musicDecoder().decodeAhead();
        media.soundMixer().mixInto(out.data(), 1000);
    }
    EXPECT_EQ(media.soundMixer().activeChannels(), 0);  // ended cleanly, silent
    stepMusicVolume(player, media);                      // on a channel that is gone: nothing
    nextTrack(player, media);
    EXPECT_EQ(nextMusicSample(media, player.musicChannel), 2222);
}
