// loadSound: by content whatever the name, converted to 44100 Hz stereo, nothing on failure.

#include <gtest/gtest.h>

#include <filesystem>

#include "media/scripted/scripted_media.h"
#include "memory_probe.h"
#include "support/long_track.h"
#include "support/test_support.h"

namespace {

std::vector<uint8_t> monoWav(int rate, int bits, size_t frames, uint8_t fill = 200) {
    const uint32_t bytesPerFrame = bits / 8;
    const uint32_t dataSize = static_cast<uint32_t>(frames * bytesPerFrame);
    std::vector<uint8_t> out = {'R', 'I', 'F', 'F', 0,  0, 0, 0, 'W', 'A', 'V', 'E',
                                'f', 'm', 't', ' ', 16, 0, 0, 0, 1,   0,   1,   0};
    auto put = [&](uint32_t value, int bytes) {
        for (int i = 0; i < bytes; ++i) out.push_back(static_cast<uint8_t>(value >> (8 * i)));
    };
    put(rate, 4);
    put(rate * bytesPerFrame, 4);
    put(bytesPerFrame, 2);
    put(bits, 2);
    out.insert(out.end(), {'d', 'a', 't', 'a'});
    put(dataSize, 4);
    out.resize(out.size() + dataSize, fill);
    return out;
}

}  // namespace

// ---- Conversion for mixing -----------------------------------------------------------

TEST(SoundConversion, LengthIsTheRoundedFrameCountAt44100) {
    EXPECT_EQ(mixedFrameCount(3, 11025), 12);
    EXPECT_EQ(mixedFrameCount(1000, 48000), 919);  // 918.75
    EXPECT_EQ(mixedFrameCount(1, 88200), 1);       // 0.5 rounds up
    EXPECT_EQ(mixedFrameCount(7, 44100), 7);
    const PcmSound pcm{48000, 2, std::vector<int16_t>(2000, 5)};
    EXPECT_EQ(convertForMixing(pcm, false).frameCount(), 919u);
}

TEST(SoundConversion, MonoFeedsBothSidesAndRatesAreInterpolated) {
    const Sound same = convertForMixing({44100, 1, {10, -20}}, false);
    EXPECT_EQ(same.samples, (std::vector<int16_t>{10, 10, -20, -20}));

    // 22050 Hz: every second output frame lies halfway between two source frames.
    const Sound doubled = convertForMixing({22050, 1, {0, 1000, 2000}}, false);
    ASSERT_EQ(doubled.frameCount(), 6u);
    EXPECT_EQ(doubled.samples[2], 500);
    EXPECT_EQ(doubled.samples[4], 1000);
    EXPECT_EQ(doubled.samples[10], 2000);  // one-shot: the last frame holds
    // Looping: the last frame leans toward the first, so the loop point stays smooth.
    const Sound looped = convertForMixing({22050, 1, {0, 1000, 2000}}, true);
    EXPECT_EQ(looped.samples[10], 1000);
}

TEST(SoundConversion, UnusableInputGivesNoSamples) {
    EXPECT_EQ(convertForMixing({0, 1, {1, 2}}, false).frameCount(), 0u);
    EXPECT_EQ(convertForMixing({44100, 3, {1, 2, 3}}, false).frameCount(), 0u);
    EXPECT_EQ(convertForMixing({44100, 1, {}}, false).frameCount(), 0u);
}

// ---- Loading files ---------------------------------------------------------------------

TEST(SoundLoading, RecognisesTheFormatByContentAndKeepsTheLoopFlag) {
    ScratchFolder folder("sound-loading");
    writeBytes(folder.file("sfx/tone.ogg"), monoWav(22050, 8, 100));  // a WAV with the wrong name
    WorkingFolder here(folder.path());
    ScriptedMedia media;
    const SoundPtr sound = media.loadSound("sfx/tone.ogg", 1);
    ASSERT_TRUE(sound);
    EXPECT_TRUE(sound->looping);
    ASSERT_EQ(sound->frameCount(), 200u);
    EXPECT_EQ(sound->samples[0], (200 - 128) * 256);
    EXPECT_EQ(sound->samples[1], sound->samples[0]);
    const SoundPtr once = media.loadSound("sfx\\tone.ogg", 0);
    ASSERT_TRUE(once);
    EXPECT_FALSE(once->looping);
}

TEST(SoundLoading, MissingOrUnreadableFilesGiveNothingThatPlaysSilently) {
    ScratchFolder folder("sound-missing");
    writeBytes(folder.file("sfx/notes.txt"), std::vector<uint8_t>(300, 'x'));
    WorkingFolder here(folder.path());
    ScriptedMedia media;
    EXPECT_FALSE(media.loadSound("sfx/none.wav", 0));
    const SoundPtr garbage = media.loadSound("sfx/notes.txt", 0);
    EXPECT_FALSE(garbage);
    const Channel channel = media.playSound(garbage);
    EXPECT_EQ(channel, 0);
    media.setChannelVolume(channel, 0.5f);
    media.resumeChannel(channel);
    media.stopChannel(channel);
    EXPECT_EQ(media.soundMixer().activeChannels(), 0);
}

TEST(SoundLoading, RefusesAFileThatWouldGrowBeyondTheLengthLimit) {
    // 1.2 MB at 1000 Hz would become over 20 minutes (212 MB) at 44100 Hz.
    ScratchFolder folder("sound-huge");
    const size_t frames = static_cast<size_t>(MaxSoundFrames / 44) + 1000;
    writeBytes(folder.file("slow.wav"), monoWav(1000, 8, frames));
    writeBytes(folder.file("fine.wav"), monoWav(1000, 8, 1000));
    WorkingFolder here(folder.path());
    ScriptedMedia media;
    EXPECT_FALSE(media.loadSound("slow.wav", 0));
    const SoundPtr fine = media.loadSound("fine.wav", 0);
    ASSERT_TRUE(fine);
    EXPECT_EQ(fine->frameCount(), 44100u);
}

// Its last page tells an Ogg Vorbis file's length: one longer than the limit is refused
// having read its headers and its end, not decoded up to the limit (seconds and 200 MB).
TEST(SoundLoading, RefusesAnOggVorbisFileLongerThanTheLimitFromItsLastPage) {
    ScratchFolder folder("sound-long-ogg");
    const double seconds = static_cast<double>(MaxSoundFrames) / MixRate + 60;
    ASSERT_TRUE(writeLongOgg(folder.file("long.ogg"), 2, 44100, seconds));
    WorkingFolder here(folder.path());
    ScriptedMedia media;
    const uint64_t read = bytesRead([&] { EXPECT_FALSE(media.loadSound("long.ogg", 1)); });
    EXPECT_LT(read, 256u * 1024) << "of " << std::filesystem::file_size("long.ogg") << " bytes";
}

TEST(SoundConversion, StereoAtTheMixRateIsTakenOverWhole) {
    PcmSound pcm{44100, 2, {1, 2, 3, 4, 5}};  // a stray half frame at the end
    const Sound sound = convertForMixing(std::move(pcm), true);
    EXPECT_EQ(sound.samples, (std::vector<int16_t>{1, 2, 3, 4}));
    EXPECT_TRUE(sound.looping);
}
