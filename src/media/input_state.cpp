#include "media/input_state.h"

void InputState::keyPressed(Key key) {
    if (down(key)) return;
    down(key) = true;
    ++hits(key);
}

void InputState::keyReleased(Key key) { down(key) = false; }

void InputState::mousePressed(MouseButton button) {
    if (down(button)) return;
    down(button) = true;
    ++hits(button);
}

void InputState::mouseReleased(MouseButton button) { down(button) = false; }

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
