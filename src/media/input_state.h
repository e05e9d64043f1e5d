#pragma once
// Keys and mouse as the game sees them, fed from events.

#include <array>
#include <cstdint>

// The keys the game reads, numbered as the classic virtual keys. The machine layer turns
// its own key events into these and drops every other key. A game pad's Start button is a
// key of its own (the virtual key of a pad's menu button).
enum class Key : uint8_t { Enter = 13, Escape = 27, Space = 32, PadStart = 207 };

enum class MouseButton : uint8_t { Left = 1, Right = 2, Middle = 3 };

struct InputState {
    std::array<bool, 256> keyDown{};  // indexed by the key's number
    std::array<int, 256> keyHits{};
    std::array<bool, 4> mouseDown{};  // indexed by the button's number
    std::array<int, 4> mouseHits{};
    int pointerX = 0, pointerY = 0;

    // A press counts once: automatic repeat of a held key or button changes nothing.
    void keyPressed(Key key);
    void keyReleased(Key key);
    void mousePressed(MouseButton button);
    void mouseReleased(MouseButton button);
    void pointerMoved(int x, int y);
    // Losing or regaining the focus clears every flag and counter.
    void focusChanged();
    void flushKeys();

    bool& down(Key key) { return keyDown[static_cast<int>(key)]; }
    int& hits(Key key) { return keyHits[static_cast<int>(key)]; }
    bool& down(MouseButton button) { return mouseDown[static_cast<int>(button)]; }
    int& hits(MouseButton button) { return mouseHits[static_cast<int>(button)]; }
};
