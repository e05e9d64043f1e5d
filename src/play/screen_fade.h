#pragma once
// The screen fade shared by every screen, and the per-frame input sample.

class MediaLayer;

struct ScreenFade {
    int brightness = 0;  // 0 black .. 255 full colour
    int fadeTarget = 0;  // 255 fade in, 0 fade out
};

// Two steps per frame toward the target: 128 frames for a whole fade either way.
void stepFade(ScreenFade& fade);
// Sets the draw colour to (brightness, brightness, brightness).
void setFadeColour(MediaLayer& media, const ScreenFade& fade);

struct InputSample {
    int x = 0, y = 0;
    int previousX = 0, previousY = 0;
    int leftHits = 0, rightHits = 0;
    bool inputChanged = false;
    // A click is a frame with exactly one left press.
    bool clicked() const { return leftHits == 1; }
};

// Reads the pointer and the read-and-clear button counts; remembers the position for next time.
void sampleInput(MediaLayer& media, InputSample& input);

constexpr int NoControl = 99;
