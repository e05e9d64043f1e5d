#pragma once
// Keys and mouse as the game sees them, fed from events.

#include <array>

struct InputState {
    std::array<bool, 256> keyDown{};
    std::array<int, 256> keyHits{};
    std::array<bool, 4> mouseDown{};  // index 1 left, 2 right, 3 middle
    std::array<int, 4> mouseHits{};
    int pointerX = 0, pointerY = 0;

    // A press counts once: automatic repeat of a held key or button changes nothing.
    void keyPressed(int key);
    void keyReleased(int key);
    void mousePressed(int button);
    void mouseReleased(int button);
    void pointerMoved(int x, int y);
    // Losing or regaining the focus clears every flag and counter.
    void focusChanged();
    void flushKeys();
};
