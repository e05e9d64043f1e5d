// Game pads in the shipping layer, through SDL's game controller API, played with SDL's
// virtual joystick (no pad needed): plugged in while the game runs, each button reaching the
// game as the mouse's or the keyboard's would, the stick and the d-pad moving the pointer
// beside the mouse, and a pad pulled out in the middle of a press letting go of it.

#include <SDL.h>
#include <gtest/gtest.h>

#include <cstdlib>

#include "media/desktop/sdl_media.h"
#include "support/sdl_virtual_joystick.h"

namespace {

// A pad plugged in for the life of the object, unless pulled out before.
class VirtualPad {
public:
    VirtualPad() : joystick(plugVirtualPad("Virtual test pad")) {}
    ~VirtualPad() { pullOut(); }
    VirtualPad(const VirtualPad&) = delete;
    VirtualPad& operator=(const VirtualPad&) = delete;

    void press(SDL_GameControllerButton button) { SDL_JoystickSetVirtualButton(joystick, button, SDL_PRESSED); }
    void release(SDL_GameControllerButton button) { SDL_JoystickSetVirtualButton(joystick, button, SDL_RELEASED); }
    void stick(Sint16 x, Sint16 y) {
        SDL_JoystickSetVirtualAxis(joystick, SDL_CONTROLLER_AXIS_LEFTX, x);
        SDL_JoystickSetVirtualAxis(joystick, SDL_CONTROLLER_AXIS_LEFTY, y);
    }
    void pullOut() {
        if (joystick) pullOutVirtualPad(joystick);
        joystick = nullptr;
    }

private:
    SDL_Joystick* joystick;
};

class GamePads : public ::testing::Test {
protected:
    void SetUp() override {
        setenv("SDL_VIDEODRIVER", "offscreen", 1);
        setenv("SDL_AUDIODRIVER", "dummy", 1);
        // SDL's offscreen window never has the focus, and SDL keeps pad events from a game in
        // the background.
        setenv("SDL_JOYSTICK_ALLOW_BACKGROUND_EVENTS", "1", 1);
        ASSERT_TRUE(media.openScreen(800, 600, 0, 60, 0));
        frame();
    }
    // Ends the frame; the next input query takes in what came meanwhile.
    void frame() {
        media.presentFrame();
        media.mouseX();
    }
    void frames(int count) {
        for (int i = 0; i < count; ++i) frame();
    }

    SdlMedia media;
};

}  // namespace

TEST_F(GamePads, APadPluggedInDuringTheGameIsTakenIntoPlay) {
    EXPECT_EQ(media.gamePadCount(), 0);
    VirtualPad pad;
    frame();
    EXPECT_EQ(media.gamePadCount(), 1);
}

TEST_F(GamePads, EachButtonReachesTheGameAsTheMousesOrTheKeyboardsWould) {
    VirtualPad pad;
    frame();
    pad.press(SDL_CONTROLLER_BUTTON_A);
    frames(3);  // held: one press
    EXPECT_TRUE(media.mouseDown(MouseButton::Left));
    EXPECT_EQ(media.mouseHits(MouseButton::Left), 1);
    pad.release(SDL_CONTROLLER_BUTTON_A);
    frame();
    EXPECT_FALSE(media.mouseDown(MouseButton::Left));

    const struct {
        SDL_GameControllerButton button;
        MouseButton mouse;
    } mouseButtons[] = {{SDL_CONTROLLER_BUTTON_X, MouseButton::Right}, {SDL_CONTROLLER_BUTTON_Y, MouseButton::Middle}};
    for (const auto& c : mouseButtons) {
        pad.press(c.button);
        frame();
        EXPECT_EQ(media.mouseHits(c.mouse), 1) << c.button;
        pad.release(c.button);
        frame();
    }
    for (const SDL_GameControllerButton button : {SDL_CONTROLLER_BUTTON_B, SDL_CONTROLLER_BUTTON_BACK}) {
        pad.press(button);
        frame();
        EXPECT_TRUE(media.keyDown(Key::Escape)) << button;  // play is left by holding Escape
        EXPECT_EQ(media.keyHits(Key::Escape), 1) << button;
        pad.release(button);
        frame();
        EXPECT_FALSE(media.keyDown(Key::Escape)) << button;
    }
    pad.press(SDL_CONTROLLER_BUTTON_START);
    frame();
    EXPECT_EQ(media.keyHits(Key::PadStart), 1);
    EXPECT_EQ(media.mouseHits(MouseButton::Left), 0);
    EXPECT_EQ(media.keyHits(Key::Enter), 0);
}

TEST_F(GamePads, TheStickAndTheDpadMoveThePointerBesideTheMouse) {
    VirtualPad pad;
    frame();
    const int startX = media.mouseX(), startY = media.mouseY();
    pad.stick(32767, 0);
    frames(10);
    pad.stick(0, 0);
    frame();
    EXPECT_GT(media.mouseX(), startX + 40);
    EXPECT_EQ(media.mouseY(), startY);
    const int stoppedX = media.mouseX();
    frames(3);
    EXPECT_EQ(media.mouseX(), stoppedX);  // the stick at rest moves nothing
    // The mouse moves the pointer, and the d-pad steps on from where it put it.
    SDL_Event motion{};
    motion.type = SDL_MOUSEMOTION;
    motion.motion.x = 100;
    motion.motion.y = 100;
    SDL_PushEvent(&motion);
    frame();
    EXPECT_EQ(media.mouseX(), 100);
    pad.press(SDL_CONTROLLER_BUTTON_DPAD_DOWN);
    frame();
    pad.release(SDL_CONTROLLER_BUTTON_DPAD_DOWN);
    const PadGrid& grid = media.padGrid();
    const auto centre = [&grid](int position, int origin) {
        int cell = (position - origin) / grid.pitch;
        if (position < origin) --cell;
        return origin + cell * grid.pitch + grid.pitch / 2;
    };
    EXPECT_EQ(media.mouseX(), centre(100, grid.originX));
    EXPECT_EQ(media.mouseY(), centre(100, grid.originY) + grid.pitch);
}

TEST_F(GamePads, APadPulledOutMidPressLetsGoAndOnePluggedInAgainPlays) {
    {
        VirtualPad pad;
        frame();
        pad.press(SDL_CONTROLLER_BUTTON_A);
        pad.press(SDL_CONTROLLER_BUTTON_B);
        pad.stick(32767, 0);
        frame();
        ASSERT_TRUE(media.mouseDown(MouseButton::Left));
        ASSERT_TRUE(media.keyDown(Key::Escape));
        pad.pullOut();
        frame();
        EXPECT_EQ(media.gamePadCount(), 0);
        // Escape held for ever would leave play; the pointer would run on to the edge.
        EXPECT_FALSE(media.mouseDown(MouseButton::Left));
        EXPECT_FALSE(media.keyDown(Key::Escape));
        const int x = media.mouseX();
        frames(3);
        EXPECT_EQ(media.mouseX(), x);
    }
    media.mouseHits(MouseButton::Left);
    VirtualPad again;
    frame();
    EXPECT_EQ(media.gamePadCount(), 1);
    again.press(SDL_CONTROLLER_BUTTON_A);
    frame();
    EXPECT_EQ(media.mouseHits(MouseButton::Left), 1);
}
