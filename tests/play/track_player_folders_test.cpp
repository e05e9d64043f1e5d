// The TrackPlayer over folders that players really have: empty and non-audio files, fifty
// tracks, huge files, fast presses.

#include <gtest/gtest.h>

#include <filesystem>

#include "media/scripted/scripted_media.h"
#include "media/sound_test_files.h"
#include "play/track_player.h"
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
        writeBytes(folder.file(name),
                   i % 2 ? levelWav(static_cast<int16_t>(100 * i)) : encodeTone(1, 22050, 2000, 100.0f + i));
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
    stepMusicVolume(player, media);                     // on a channel that is gone: nothing
    nextTrack(player, media);
    EXPECT_EQ(nextMusicSample(media, player.musicChannel), 2222);
}
