#include "media/game_pad.h"

#include <algorithm>
#include <cmath>
#include <variant>

namespace {

// ---- What each button does --------------------------------------------------------

using PadAction = std::variant<std::monostate, MouseButton, Key>;

PadAction actionOf(PadButton button) {
    switch (button) {
        case PadButton::A: return MouseButton::Left;
        case PadButton::X: return MouseButton::Right;
        case PadButton::Y: return MouseButton::Middle;
        case PadButton::B:
        case PadButton::Back: return Key::Escape;
        case PadButton::Start: return Key::PadStart;
        default: return std::monostate{};  // the d-pad moves the pointer
    }
}

void press(const PadAction& action, InputState& input) {
    if (const auto* button = std::get_if<MouseButton>(&action)) input.mousePressed(*button);
    if (const auto* key = std::get_if<Key>(&action)) input.keyPressed(*key);
}

void release(const PadAction& action, InputState& input) {
    if (const auto* button = std::get_if<MouseButton>(&action)) input.mouseReleased(*button);
    if (const auto* key = std::get_if<Key>(&action)) input.keyReleased(*key);
}

// ---- The stick ------------------------------------------------------------------------
// Pushed a little, the pointer creeps a pixel at a time, so it stops exactly where the
// player wants; pushed all the way, it speeds up over a third of a second and crosses the
// screen in under a second.

constexpr float StickRange = 32767.0f;
constexpr float DeadZone = 8000.0f;      // a stick at rest seldom reads 0
constexpr float PushedAllTheWay = 0.9f;  // of the range beyond the dead zone
constexpr float SlowTopSpeed = 4.0f;     // pixels per frame at full push, before speeding up
constexpr float FastTopSpeed = 18.0f;
constexpr int RampFrames = 20;

// ---- The d-pad: a press steps at once; held, it steps again after a pause, then
// ten times a second.

constexpr int RepeatDelayFrames = 18;
constexpr int RepeatEveryFrames = 6;

int floorDiv(int value, int divisor) {
    const int quotient = value / divisor;
    return value % divisor != 0 && (value < 0) != (divisor < 0) ? quotient - 1 : quotient;
}

// The centre of the neighbouring cell `offset` cells away along one axis.
int neighbourCentre(int position, int origin, int pitch, int offset) {
    return origin + (floorDiv(position - origin, pitch) + offset) * pitch + pitch / 2;
}

int directionIndex(PadButton button) { return static_cast<int>(button) - static_cast<int>(PadButton::Up); }

bool isDirection(PadButton button) { return button >= PadButton::Up; }

}  // namespace

void GamePad::pressed(PadButton button, InputState& input) {
    bool& down = held[static_cast<size_t>(button)];
    if (down) return;
    down = true;
    if (isDirection(button)) {
        ++stepsDue[static_cast<size_t>(directionIndex(button))];
        heldFrames[static_cast<size_t>(directionIndex(button))] = 0;
        return;
    }
    press(actionOf(button), input);
}

void GamePad::released(PadButton button, InputState& input) {
    bool& down = held[static_cast<size_t>(button)];
    if (!down) return;
    down = false;
    if (isDirection(button)) return;
    // B and Back both hold Escape: it is up only when both are.
    const PadAction action = actionOf(button);
    for (int other = 0; other < PadButtonCount; ++other)
        if (held[static_cast<size_t>(other)] && actionOf(static_cast<PadButton>(other)) == action) return;
    release(action, input);
}

void GamePad::letGo(InputState& input) {
    for (int button = 0; button < PadButtonCount; ++button) released(static_cast<PadButton>(button), input);
    stepsDue.fill(0);
    pushedFrames = 0;
    carryX = carryY = 0.0f;
}

void GamePad::stepFrame(StickPosition stick, const PadGrid& grid, InputState& input, int screenWidth,
                        int screenHeight) {
    for (int direction = 0; direction < DirectionCount; ++direction) {
        const auto d = static_cast<size_t>(direction);
        for (; stepsDue[d] > 0; --stepsDue[d]) stepToNeighbour(direction, grid, input, screenWidth, screenHeight);
        if (!held[static_cast<size_t>(PadButton::Up) + d]) continue;
        const int frames = ++heldFrames[d];
        if (frames >= RepeatDelayFrames && (frames - RepeatDelayFrames) % RepeatEveryFrames == 0)
            stepToNeighbour(direction, grid, input, screenWidth, screenHeight);
    }
    moveByStick(stick, input, screenWidth, screenHeight);
}

void GamePad::stepToNeighbour(int direction, const PadGrid& grid, InputState& input, int screenWidth,
                              int screenHeight) {
    // Up, down, left, right; the other axis goes to the centre of the cell it is in.
    static constexpr int StepX[DirectionCount] = {0, 0, -1, 1};
    static constexpr int StepY[DirectionCount] = {-1, 1, 0, 0};
    const int x = neighbourCentre(input.pointerX, grid.originX, grid.pitch, StepX[direction]);
    const int y = neighbourCentre(input.pointerY, grid.originY, grid.pitch, StepY[direction]);
    input.pointerMoved(std::clamp(x, 0, screenWidth - 1), std::clamp(y, 0, screenHeight - 1));
    carryX = carryY = 0.0f;
}

void GamePad::moveByStick(StickPosition stick, InputState& input, int screenWidth, int screenHeight) {
    const float x = static_cast<float>(stick.x), y = static_cast<float>(stick.y);
    const float length = std::hypot(x, y);
    const float push = std::min(1.0f, (length - DeadZone) / (StickRange - DeadZone));
    if (push <= 0.0f) {
        pushedFrames = 0;
        return;
    }
    pushedFrames = push >= PushedAllTheWay ? pushedFrames + 1 : 0;
    const float ramp = static_cast<float>(std::min(pushedFrames, RampFrames)) / RampFrames;
    const float speed = push * push * (SlowTopSpeed + (FastTopSpeed - SlowTopSpeed) * ramp);
    const float moveX = carryX + x / length * speed, moveY = carryY + y / length * speed;
    const float wholeX = std::trunc(moveX), wholeY = std::trunc(moveY);
    carryX = moveX - wholeX;
    carryY = moveY - wholeY;
    const int newX = input.pointerX + static_cast<int>(wholeX), newY = input.pointerY + static_cast<int>(wholeY);
    // Against an edge the push is spent: nothing is kept for the way back.
    if (newX < 0 || newX >= screenWidth) carryX = 0.0f;
    if (newY < 0 || newY >= screenHeight) carryY = 0.0f;
    input.pointerMoved(std::clamp(newX, 0, screenWidth - 1), std::clamp(newY, 0, screenHeight - 1));
}
