#include "media/input_state.h"

namespace {
bool validKey(int key) { return key >= 0 && key < 256; }
bool validButton(int button) { return button >= 1 && button <= 3; }
}  // namespace

void InputState::keyPressed(int key) {
    if (!validKey(key) || keyDown[key]) return;
    keyDown[key] = true;
    ++keyHits[key];
}

void InputState::keyReleased(int key) {
    if (validKey(key)) keyDown[key] = false;
}

void InputState::mousePressed(int button) {
    if (!validButton(button) || mouseDown[button]) return;
    mouseDown[button] = true;
    ++mouseHits[button];
}

void InputState::mouseReleased(int button) {
    if (validButton(button)) mouseDown[button] = false;
}

void InputState::pointerMoved(int x, int y) {
    pointerX = x;
    pointerY = y;
}

void InputState::focusChanged() {
    flushKeys();
    mouseDown.fill(false);
    mouseHits.fill(0);
}

void InputState::flushKeys() {
    keyDown.fill(false);
    keyHits.fill(0);
}
