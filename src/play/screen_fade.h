#pragma once
// The screen fade shared by every screen.

class MediaLayer;

struct ScreenFade {
    int brightness = 0;  // 0 black .. 255 full colour
    int fadeTarget = 0;  // 255 fade in, 0 fade out
};

// Two steps per frame toward the target: 128 frames for a whole fade either way.
void stepFade(ScreenFade& fade);
// Sets the draw colour to (brightness, brightness, brightness).
void setFadeColour(MediaLayer& media, const ScreenFade& fade);
