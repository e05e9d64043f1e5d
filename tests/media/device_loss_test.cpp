// Faults of the machine rather than of files: the sound device failing in the middle of
// a run, and the window losing the focus while a mouse button is held.

#include <SDL.h>
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <thread>

#include "media/desktop/sdl_media.h"
#include "media/sound/sdl_audio.h"

namespace {

SoundPtr longSound() {
    auto sound = std::make_shared<Sound>();
    sound->samples.assign(2 * MixRate * 10, 1000);
    return sound;
}

// SDL's disk driver treats a failed write as the device going away: writing into
// /dev/full makes the device disappear a block after it starts.
TEST(DeviceLoss, SoundCallsKeepWorkingAfterTheDeviceDisappears) {
    setenv("SDL_AUDIODRIVER", "disk", 1);
    setenv("SDL_DISKAUDIOFILE", "/dev/full", 1);
    Mixer mixer;
    {
        SdlAudio audio(mixer);
        ASSERT_TRUE(audio.open());
        const Channel first = mixer.play(longSound(), false);
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        // Nothing blocks and nothing fails; the sound just is not heard.
        const auto start = std::chrono::steady_clock::now();
        mixer.setVolume(first, 0.5f);
        const Channel second = mixer.play(longSound(), true);
        mixer.resume(second);
        EXPECT_TRUE(mixer.isPlaying(second));
        mixer.stop(first);
        mixer.stop(second);
        EXPECT_EQ(mixer.activeChannels(), 0);
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1));
    }
    unsetenv("SDL_DISKAUDIOFILE");
    setenv("SDL_AUDIODRIVER", "dummy", 1);
}

class FocusLoss : public ::testing::Test {
protected:
    void SetUp() override {
        setenv("SDL_VIDEODRIVER", "offscreen", 1);
        setenv("SDL_AUDIODRIVER", "dummy", 1);
        ASSERT_TRUE(media.openScreen(800, 600, 0, 60, 0));
    }
    void push(Uint32 type, Uint8 windowEvent = 0) {
        SDL_Event event{};
        event.type = type;
        if (type == SDL_WINDOWEVENT) event.window.event = windowEvent;
        if (type == SDL_MOUSEBUTTONDOWN || type == SDL_MOUSEBUTTONUP) {
            event.button.button = SDL_BUTTON_LEFT;
            event.button.state = type == SDL_MOUSEBUTTONDOWN ? SDL_PRESSED : SDL_RELEASED;
        }
        SDL_PushEvent(&event);
        media.presentFrame();  // the game takes in its events once a frame
    }
    SdlMedia media;
};

// The release happens while another window has the focus and never reaches the game. Each
// event is pushed in a frame of its own.
TEST_F(FocusLoss, AButtonHeldWhenTheFocusGoesIsNotLeftDown) {
    push(SDL_MOUSEBUTTONDOWN);
    EXPECT_EQ(media.mouseDown(MouseButton::Left), 1);
    push(SDL_WINDOWEVENT, SDL_WINDOWEVENT_FOCUS_LOST);
    EXPECT_EQ(media.mouseDown(MouseButton::Left), 0);
    EXPECT_EQ(media.mouseHits(MouseButton::Left), 0);  // a press cut short by the focus is no click
    push(SDL_WINDOWEVENT, SDL_WINDOWEVENT_FOCUS_GAINED);
    // The next press is a press: a button left down would have swallowed it.
    push(SDL_MOUSEBUTTONDOWN);
    EXPECT_EQ(media.mouseHits(MouseButton::Left), 1);
    push(SDL_MOUSEBUTTONUP);
    EXPECT_EQ(media.mouseDown(MouseButton::Left), 0);
}

TEST_F(FocusLoss, AKeyHeldWhenTheFocusGoesIsNotLeftDown) {
    SDL_Event key{};
    key.type = SDL_KEYDOWN;
    key.key.keysym.sym = SDLK_ESCAPE;
    SDL_PushEvent(&key);
    media.presentFrame();
    EXPECT_EQ(media.keyDown(Key::Escape), 1);
    push(SDL_WINDOWEVENT, SDL_WINDOWEVENT_FOCUS_LOST);
    EXPECT_EQ(media.keyDown(Key::Escape), 0);
    EXPECT_EQ(media.keyHits(Key::Escape), 0);
}

}  // namespace
