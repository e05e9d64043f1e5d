#pragma once
// What a frame reads of the pointer and the mouse buttons, once, before it draws.

class MediaLayer;

struct InputSample {
    int x = 0, y = 0;
    int previousX = 0, previousY = 0;
    int leftHits = 0, rightHits = 0;
    int middleHits = 0;  // read for the options that use it; no part of inputChanged
    bool inputChanged = false;
    // A click is a frame with exactly one left press.
    bool clicked() const { return leftHits == 1; }
};

// Reads the pointer and the read-and-clear button counts; remembers the position for next time.
void sampleInput(MediaLayer& media, InputSample& input);

// The hovered control of a frame whose pointer is over none.
constexpr int NoControl = 99;
