#pragma once
// Game pads through SDL's game controller API: every pad plugged in, at the start or later,
// is opened and fed to the input as a GamePad; one pulled out lets go of what it held.

#include <cstdint>
#include <map>

#include "media/game_pad.h"

union SDL_Event;
struct _SDL_GameController;

class SdlGamePads {
public:
    SdlGamePads() = default;
    ~SdlGamePads();
    SdlGamePads(const SdlGamePads&) = delete;
    SdlGamePads& operator=(const SdlGamePads&) = delete;

    // Starts SDL's game controller support, after its video; false, with SDL's error set,
    // when it cannot (the game is then played with the mouse alone).
    bool start();
    // Takes in a pad's event (plugged, pulled out, a button); false for any other event.
    bool handleEvent(const SDL_Event& event, InputState& input);
    // Moves the pointer by one frame of every pad's stick and d-pad.
    void stepFrame(const PadGrid& grid, InputState& input, int screenWidth, int screenHeight);
    // Every pad lets go of what it holds (the window lost or regained the focus).
    void letGo(InputState& input);
    int count() const { return static_cast<int>(pads.size()); }

private:
    struct OpenPad {
        _SDL_GameController* controller = nullptr;
        GamePad pad;
    };
    void plugged(int deviceIndex);
    void pulledOut(int32_t instance, InputState& input);

    std::map<int32_t, OpenPad> pads;  // by SDL's instance number of the pad
};
