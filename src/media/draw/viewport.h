#pragma once
// The game's logical screen (800 x 600) placed in a window of any size: scaled by one factor
// both ways so its shape is kept, centred, with black bars where the shapes differ. Every
// drawing path draws at the window's own pixels through it, and pointer positions come back
// through it.

#include "media/pictures/picture_sets.h"

struct Viewport {
    int windowWidth = 800, windowHeight = 600;
    int x = 0, y = 0;               // the screen's top-left corner in the window
    int width = 800, height = 600;  // the screen's size in window pixels
    float scale = 1.0f;             // window pixels per logical pixel, each way

    bool operator==(const Viewport&) const = default;
};

// The largest screen of that shape that fits the window, centred. A window too small for
// anything gets a screen of one pixel.
Viewport fitScreen(int screenWidth, int screenHeight, int windowWidth, int windowHeight);

// A logical point in window pixels, and a window point back in logical pixels (rounded
// down: window pixels that share a logical pixel give the same one; points in the bars
// fall outside the screen).
struct PointInWindow {
    int x = 0, y = 0;
};
PointInWindow toWindow(const Viewport& viewport, int x, int y);
PointInWindow toScreen(const Viewport& viewport, int windowX, int windowY);

// The picture set for drawing at that scale: the nearest at or above it, the largest set
// when none is.
int pictureScaleFor(float scale);

// How many times the screen fits each way into an area, whole times and at least once: a
// window of that multiple keeps every logical pixel the same square of window pixels.
int wholeMultipleThatFits(int screenWidth, int screenHeight, int areaWidth, int areaHeight);
