#pragma once
// A game pad as the game sees it: a second mouse beside the first. Its left stick and d-pad
// move the pointer, A, X and Y press the left, right and middle buttons, B and Back press
// Escape, and Start presses the pad's own key. The machine layer turns its pad events into
// these calls and steps every pad once a frame.

#include <array>
#include <cstdint>

#include "media/input_state.h"

// The pad's buttons the game listens to, named as on the common console pad.
enum class PadButton : uint8_t { A, B, X, Y, Back, Start, Up, Down, Left, Right };
constexpr int PadButtonCount = 10;

// Where the left stick stands, each axis -32768..32767 as pads report it, y down.
struct StickPosition {
    int x = 0, y = 0;
};

// The squares the d-pad steps between: cells of `pitch` logical pixels, one of them with its
// top-left corner at (originX, originY), repeated over the whole screen. A step of the d-pad
// lands on the centre of the neighbouring cell, so a board laid on the same squares is
// crossed one cell per press.
struct PadGrid {
    int originX = 0, originY = 0, pitch = 48;
};

class GamePad {
public:
    void pressed(PadButton button, InputState& input);
    void released(PadButton button, InputState& input);
    // One frame's worth of pointer movement from the stick and the d-pad, the pointer kept
    // on the screen of screenWidth x screenHeight logical pixels.
    void stepFrame(StickPosition stick, const PadGrid& grid, InputState& input, int screenWidth, int screenHeight);
    // Lets go of everything the pad holds down: it was unplugged, or the window lost the focus.
    void letGo(InputState& input);

private:
    static constexpr int DirectionCount = 4;
    void stepToNeighbour(int direction, const PadGrid& grid, InputState& input, int screenWidth, int screenHeight);
    void moveByStick(StickPosition stick, InputState& input, int screenWidth, int screenHeight);

    std::array<bool, PadButtonCount> held{};
    // Per direction: presses not yet stepped, and frames the button has been held.
    std::array<int, DirectionCount> stepsDue{};
    std::array<int, DirectionCount> heldFrames{};
    int pushedFrames = 0;                // frames the stick has been pushed all the way
    float carryX = 0.0f, carryY = 0.0f;  // the stick's movement short of a whole pixel
};
