// The real audio device: an effect played through SDL reaches its output, and a machine
// without a device stays silent without failing.

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <string>
#include <thread>

#include "media/sound/sdl_audio.h"
#include "support/test_support.h"

namespace {

SoundPtr markerSound(size_t frames) {
    auto sound = std::make_shared<Sound>();
    for (size_t i = 0; i < frames; ++i) sound->samples.insert(sound->samples.end(), {12345, -12345});
    return sound;
}

}  // namespace

TEST(SoundDevice, APlayedEffectReachesTheDiskDriversOutput) {
    ScratchFolder folder("sound-device");
    const std::string output = folder.file("out.raw");
    ScopedEnv driver("SDL_AUDIODRIVER", "disk");
    ScopedEnv file("SDL_DISKAUDIOFILE", output.c_str());
    Mixer mixer;
    {
        SdlAudio audio(mixer);
        ASSERT_TRUE(audio.open());
        const Channel channel = mixer.play(markerSound(4410), false);
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
        while (mixer.isPlaying(channel) && std::chrono::steady_clock::now() < deadline)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        EXPECT_FALSE(mixer.isPlaying(channel));
    }
    const std::vector<uint8_t> bytes = readBytes(output);
    size_t markedFrames = 0;
    for (size_t i = 0; i + 4 <= bytes.size(); i += 4) {
        const int16_t left = static_cast<int16_t>(bytes[i] | (bytes[i + 1] << 8));
        const int16_t right = static_cast<int16_t>(bytes[i + 2] | (bytes[i + 3] << 8));
        if (left == 12345 && right == -12345) ++markedFrames;
    }
    EXPECT_EQ(markedFrames, 4410u);
}

TEST(SoundDevice, WithoutADeviceEverySoundCallStillWorksSilently) {
    ScopedEnv driver("SDL_AUDIODRIVER", "no-such-device");
    Mixer mixer;
    SdlAudio audio(mixer);
    EXPECT_FALSE(audio.open());
    EXPECT_FALSE(audio.isOpen());
    const Channel channel = mixer.play(markerSound(10), true);
    mixer.setVolume(channel, 0.5f);
    mixer.resume(channel);
    EXPECT_TRUE(mixer.isPlaying(channel));
    mixer.stop(channel);
    EXPECT_EQ(mixer.activeChannels(), 0);
}
