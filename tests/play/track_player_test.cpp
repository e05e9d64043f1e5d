// The TrackPlayer over a real "tracks" folder, with the mixer run by hand.

#include "play/track_player.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <future>

#include "media/scripted/scripted_media.h"
#include "support/test_support.h"

namespace {

// A 44100 Hz 16-bit mono WAV whose samples count up from start, one per frame.
std::vector<uint8_t> rampWav(int16_t start, uint32_t frames) {
    std::vector<uint8_t> out = {'R',  'I',  'F',  'F', 0, 0, 0,  0, 'W', 'A', 'V',  'E',  'f', 'm',
                                't',  ' ',  16,   0,   0, 0, 1,  0, 1,   0,   0x44, 0xAC, 0,   0,
                                0x88, 0x58, 0x01, 0,   2, 0, 16, 0, 'd', 'a', 't',  'a'};
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>((frames * 2) >> (8 * i)));
    for (uint32_t i = 0; i < frames; ++i) {
        const uint16_t value = static_cast<uint16_t>(start + i);
        out.insert(out.end(), {static_cast<uint8_t>(value & 0xFF), static_cast<uint8_t>(value >> 8)});
    }
    return out;
}

// The first sample heard after startMusic and after each press of Previous (-1) or Next (+1),
// with the first `count` of the tracks a, b and c (first samples 1000, 2000 and 3000).
std::vector<int> firstSamplesHeard(int count, const std::vector<int>& presses) {
    ScratchFolder folder("tracks-" + std::to_string(count));
    for (int i = 0; i < count; ++i)
        writeBytes(folder.file(std::string("tracks/") + char('a' + i) + ".wav"), rampWav(1000 * (i + 1), 4410));
    WorkingFolder here(folder.path());
    ScriptedMedia media;
    TrackPlayer player;
    buildTrackList(player, media);
    startMusic(player, media);
    std::vector<int> heard;
    std::vector<int16_t> out(2 * 100);
    for (size_t press = 0; press <= presses.size(); ++press) {
        if (press > 0) presses[press - 1] < 0 ? previousTrack(player, media) : nextTrack(player, media);
        media.setChannelVolume(player.musicChannel, 1.0f);
        media.musicDecoder().decodeAhead();
        media.soundMixer().mixInto(out.data(), 100);  // plays on, so a track that is not restarted shows
        heard.push_back(out[0]);
        EXPECT_EQ(media.soundMixer().activeChannels(), 1);
    }
    return heard;
}

// A game folder with a "tracks" folder of three short tracks whose first samples tell them apart.
class TrackPlayerTest : public ::testing::Test {
protected:
    TrackPlayerTest() : folder("tracks"), here((makeTracks(), folder.path())) {}

    void makeTracks() {
        writeBytes(folder.file("tracks/a.wav"), rampWav(1000, 44100));
        writeBytes(folder.file("tracks/b.wav"), rampWav(2000, 44100));
        writeBytes(folder.file("tracks/c.wav"), rampWav(3000, 44100));
    }
    // The first sample the music channel will sound next, at full volume.
    int16_t nextSample() {
        media.setChannelVolume(player.musicChannel, 1.0f);
        return mixFrames(1)[0];
    }
    // Tracks stream: the decoding the game does on its own thread comes first here.
    std::vector<int16_t> mixFrames(int frames) {
        std::vector<int16_t> out(2 * frames);
        media.musicDecoder().decodeAhead();
        media.soundMixer().mixInto(out.data(), frames);
        return out;
    }
    void stepFrames(int frames) {
        for (int i = 0; i < frames; ++i) stepMusicVolume(player, media);
    }

    ScratchFolder folder;
    WorkingFolder here;
    ScriptedMedia media;
    TrackPlayer player;
};

}  // namespace

// ---- The track list --------------------------------------------------------------------

TEST(TrackList, KeepsSoundFileNamesInListingOrder) {
    ScratchFolder folder("track-list");
    writeBytes(folder.file("tracks/b.ogg"), {1});
    writeBytes(folder.file("tracks/a.wav"), {1});
    writeBytes(folder.file("tracks/readme.txt"), {1});
    writeBytes(folder.file("tracks/LOUD.OGG"), {1});  // capitals do not match
    std::filesystem::create_directories(folder.path() / "tracks/old");
    WorkingFolder here(folder.path());
    ScriptedMedia media;
    TrackPlayer player;
    buildTrackList(player, media);
    ASSERT_EQ(player.trackCount, 2);
    EXPECT_EQ(player.trackNames[0], "a.wav");
    EXPECT_EQ(player.trackNames[1], "b.ogg");
    EXPECT_EQ(player.trackNames[2], "");
}

// Opening a named pipe waits for a writer that never comes; a folder cannot be played.
TEST(TrackList, APipeOrAFolderWithATracksNameIsLeftOutWithAWordNamingIt) {
    ScratchFolder folder("track-pipe");
    writeBytes(folder.file("tracks/b.wav"), {1});
    ASSERT_EQ(mkfifo(folder.file("tracks/a.ogg").c_str(), 0644), 0);
    std::filesystem::create_directories(folder.path() / "tracks/mix.ogg");
    std::filesystem::create_symlink("b.wav", folder.path() / "tracks/c.wav");  // a link to a file is a file
    WorkingFolder here(folder.path());
    ScriptedMedia media;
    TrackPlayer player;
    buildTrackList(player, media);
    ASSERT_EQ(player.trackCount, 2);
    EXPECT_EQ(player.trackNames[0], "b.wav");
    EXPECT_EQ(player.trackNames[1], "c.wav");
    ASSERT_EQ(media.warnings.size(), 2u);
    EXPECT_EQ(media.warnings[0], "music file tracks/a.ogg is not a regular file; it is left out");
    EXPECT_EQ(media.warnings[1], "music file tracks/mix.ogg is not a regular file; it is left out");
}

TEST(TrackList, StoresAtMostFiftyNames) {
    ScratchFolder folder("track-many");
    for (int i = 0; i < 60; ++i) writeBytes(folder.file("tracks/song" + std::to_string(100 + i) + ".ogg"), {1});
    WorkingFolder here(folder.path());
    ScriptedMedia media;
    TrackPlayer player;
    buildTrackList(player, media);
    EXPECT_EQ(player.trackCount, 50);
    EXPECT_EQ(player.trackNames[49], "song149.ogg");
}

TEST(TrackList, AMissingFolderOrAFileInItsPlaceStopsTheGame) {
    ScratchFolder folder("track-missing");
    WorkingFolder here(folder.path());
    ScriptedMedia media;
    TrackPlayer player;
    try {
        buildTrackList(player, media);
        FAIL() << "expected a fatal error";
    } catch (const FatalError& error) {
        EXPECT_STREQ(error.what(), "failed to read ''Tracks'' directory");
    }
    writeBytes(folder.file("tracks"), {1, 2, 3});
    EXPECT_THROW(buildTrackList(player, media), FatalError);
}

// ---- Switching tracks ------------------------------------------------------------------

TEST(TrackPlayerButtons, PreviousAndNextStartTheTrackTheyLandOnFromItsStart) {
    EXPECT_EQ(firstSamplesHeard(1, {+1, -1, -1}), (std::vector<int>{1000, 1000, 1000, 1000}));
    EXPECT_EQ(firstSamplesHeard(2, {-1, -1, +1, +1}), (std::vector<int>{1000, 2000, 1000, 2000, 1000}));
    EXPECT_EQ(firstSamplesHeard(3, {+1, +1, -1, -1, -1, +1}),
              (std::vector<int>{1000, 2000, 3000, 2000, 1000, 3000, 1000}));
}

TEST_F(TrackPlayerTest, StartMusicFadesInFromSilenceOverFiftyFrames) {
    buildTrackList(player, media);
    startMusic(player, media);
    EXPECT_TRUE(media.soundMixer().isPlaying(player.musicChannel));
    EXPECT_EQ(media.soundMixer().channelVolume(player.musicChannel), 0.0f);
    for (int frame = 1; frame <= 50; ++frame) {
        stepMusicVolume(player, media);
        ASSERT_NEAR(media.soundMixer().channelVolume(player.musicChannel), 0.02f * frame, 1e-5f) << frame;
    }
    // Single-precision steps of 0.02 settle within one step of the target, not on it.
    EXPECT_NEAR(player.musicVolume, 1.0f, 0.0201f);
    EXPECT_EQ(media.soundMixer().channelVolume(player.musicChannel), player.musicVolume);
    stepMusicVolume(player, media);
    const float settled = player.musicVolume;
    stepFrames(10);
    EXPECT_EQ(player.musicVolume, settled);
}

TEST_F(TrackPlayerTest, StopThenPlayResumesWhereTheTrackHadGotTo) {
    buildTrackList(player, media);
    startMusic(player, media);
    stepFrames(60);
    fadeMusicOut(player);
    for (int frame = 1; frame <= 50; ++frame) {
        stepMusicVolume(player, media);
        ASSERT_NEAR(media.soundMixer().channelVolume(player.musicChannel), 1.0f - 0.02f * frame, 1e-5f) << frame;
    }
    stepFrames(60);  // and stays silent
    EXPECT_EQ(media.soundMixer().channelVolume(player.musicChannel), 0.0f);
    EXPECT_EQ(mixFrames(500)[0], 0);  // runs on while silent
    fadeMusicIn(player);
    stepFrames(60);
    EXPECT_NEAR(player.musicVolume, 1.0f, 0.0201f);
    EXPECT_EQ(nextSample(), 1500);
}

TEST_F(TrackPlayerTest, StopThenNextFadesTheNewTrackInFromSilence) {
    buildTrackList(player, media);
    startMusic(player, media);
    stepFrames(60);
    fadeMusicOut(player);
    stepFrames(60);
    nextTrack(player, media);
    EXPECT_EQ(media.soundMixer().channelVolume(player.musicChannel), 1.0f);  // until this frame's step
    stepMusicVolume(player, media);
    EXPECT_NEAR(media.soundMixer().channelVolume(player.musicChannel), 0.02f, 1e-6f);
    EXPECT_EQ(player.musicTarget, 1.0f);
}

TEST_F(TrackPlayerTest, LeavingPlayFadesOutThenTheNextStayStartsTheTrackAfresh) {
    buildTrackList(player, media);
    startMusic(player, media);
    nextTrack(player, media);
    stepFrames(60);
    mixFrames(700);
    for (int frame = 0; frame < 128; ++frame) {  // the fade to black while Escape is held
        fadeMusicOut(player);
        stepMusicVolume(player, media);
    }
    EXPECT_EQ(player.musicVolume, 0.0f);
    stopMusic(player, media);
    EXPECT_EQ(media.soundMixer().activeChannels(), 0);

    startMusic(player, media);
    EXPECT_EQ(player.currentTrack, 1);
    EXPECT_EQ(media.soundMixer().channelPosition(player.musicChannel), 0u);
    EXPECT_EQ(media.soundMixer().channelVolume(player.musicChannel), 0.0f);
    EXPECT_EQ(nextSample(), 2000);
}

TEST_F(TrackPlayerTest, LeavingBeforeTheFadeOutHasRunStillFadesTheNextStayIn) {
    buildTrackList(player, media);
    startMusic(player, media);
    stepFrames(60);
    fadeMusicOut(player);
    stepMusicVolume(player, media);  // Escape on a dark screen: play is left at once
    stopMusic(player, media);
    startMusic(player, media);
    stepMusicVolume(player, media);
    EXPECT_NEAR(player.musicVolume, 0.02f, 1e-6);
}

// ---- Tracks that cannot play -------------------------------------------------------------

TEST(TrackPlayerSilence, AnEmptyListPlaysNothingAndTheButtonsDoNothing) {
    ScratchFolder folder("track-empty");
    std::filesystem::create_directories(folder.path() / "tracks");
    WorkingFolder here(folder.path());
    ScriptedMedia media;
    TrackPlayer player;
    buildTrackList(player, media);
    startMusic(player, media);
    previousTrack(player, media);
    nextTrack(player, media);
    fadeMusicOut(player);
    stepMusicVolume(player, media);
    stopMusic(player, media);
    EXPECT_EQ(player.currentTrack, 0);
    EXPECT_EQ(media.soundMixer().activeChannels(), 0);
}

TEST(TrackPlayerSilence, AnUnreadableTrackIsSkippedForTheNextOne) {
    ScratchFolder folder("track-broken");
    writeBytes(folder.file("tracks/a.ogg"), std::vector<uint8_t>(1000, 0x33));
    writeBytes(folder.file("tracks/b.wav"), rampWav(5, 100));
    writeBytes(folder.file("tracks/c.ogg"), std::vector<uint8_t>(10, 0x44));
    WorkingFolder here(folder.path());
    ScriptedMedia media;
    TrackPlayer player;
    buildTrackList(player, media);
    startMusic(player, media);  // a.ogg is garbage: b.wav plays instead
    EXPECT_EQ(player.currentTrack, 1);
    EXPECT_TRUE(media.soundMixer().isPlaying(player.musicChannel));
    nextTrack(player, media);  // past c.ogg and a.ogg, round to b.wav again
    EXPECT_EQ(player.currentTrack, 1);
    EXPECT_TRUE(media.soundMixer().isPlaying(player.musicChannel));
    previousTrack(player, media);  // back past a.ogg and c.ogg
    EXPECT_EQ(player.currentTrack, 1);
    EXPECT_EQ(media.soundMixer().activeChannels(), 1);
}

// A track that became a named pipe after the list was made: play starts at once with the
// next track, and nothing waits for a writer.
TEST(TrackPlayerSilence, ATrackThatBecameAPipeIsSkippedWithoutWaiting) {
    ScratchFolder folder("track-became-pipe");
    writeBytes(folder.file("tracks/a.wav"), rampWav(5, 100));
    writeBytes(folder.file("tracks/b.wav"), rampWav(7, 100));
    WorkingFolder here(folder.path());
    ScriptedMedia media;
    TrackPlayer player;
    buildTrackList(player, media);
    std::filesystem::remove(folder.file("tracks/a.wav"));
    ASSERT_EQ(mkfifo(folder.file("tracks/a.wav").c_str(), 0644), 0);
    auto started = std::async(std::launch::async, [&] { startMusic(player, media); });
    if (started.wait_for(std::chrono::seconds(10)) != std::future_status::ready) {
        // Let the stuck open go before failing, or the test program would hang with it.
        const int writer = open(folder.file("tracks/a.wav").c_str(), O_RDWR);
        started.wait();
        close(writer);
        FAIL() << "starting the music waited on the pipe";
    }
    EXPECT_EQ(player.currentTrack, 1);
    EXPECT_TRUE(media.soundMixer().isPlaying(player.musicChannel));
    ASSERT_EQ(media.warnings.size(), 1u);
    EXPECT_NE(media.warnings[0].find("tracks/a.wav"), std::string::npos) << media.warnings[0];
}

TEST(TrackPlayerSilence, WhenNoTrackCanBeReadTheMusicIsSilent) {
    ScratchFolder folder("track-all-broken");
    writeBytes(folder.file("tracks/a.ogg"), std::vector<uint8_t>(1000, 0x33));
    writeBytes(folder.file("tracks/b.wav"), std::vector<uint8_t>(20, 0x01));
    WorkingFolder here(folder.path());
    ScriptedMedia media;
    TrackPlayer player;
    buildTrackList(player, media);
    startMusic(player, media);
    EXPECT_EQ(player.musicChannel, 0);
    EXPECT_EQ(media.warnings.size(), 2u) << "each track tried once";
    nextTrack(player, media);
    stepMusicVolume(player, media);
    EXPECT_EQ(player.musicChannel, 0);
    EXPECT_EQ(media.soundMixer().activeChannels(), 0);
}
