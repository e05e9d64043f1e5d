#include "media/draw/viewport.h"

#include <algorithm>
#include <cmath>

Viewport fitScreen(int screenWidth, int screenHeight, int windowWidth, int windowHeight) {
    Viewport viewport;
    viewport.windowWidth = windowWidth, viewport.windowHeight = windowHeight;
    // The side that fills the window is the whole of it; the other is rounded to a whole pixel.
    const bool widthFills =
        static_cast<long long>(windowWidth) * screenHeight <= static_cast<long long>(windowHeight) * screenWidth;
    if (widthFills) {
        viewport.width = windowWidth;
        viewport.height = static_cast<int>(std::lround(static_cast<double>(windowWidth) * screenHeight / screenWidth));
        viewport.scale = static_cast<float>(windowWidth) / static_cast<float>(screenWidth);
    } else {
        viewport.height = windowHeight;
        viewport.width = static_cast<int>(std::lround(static_cast<double>(windowHeight) * screenWidth / screenHeight));
        viewport.scale = static_cast<float>(windowHeight) / static_cast<float>(screenHeight);
    }
    viewport.width = std::max(viewport.width, 1), viewport.height = std::max(viewport.height, 1);
    viewport.x = (windowWidth - viewport.width) / 2;
    viewport.y = (windowHeight - viewport.height) / 2;
    return viewport;
}

PointInWindow toWindow(const Viewport& viewport, int x, int y) {
    return PointInWindow{viewport.x + static_cast<int>(std::floor((static_cast<float>(x) + 0.5f) * viewport.scale)),
                         viewport.y + static_cast<int>(std::floor((static_cast<float>(y) + 0.5f) * viewport.scale))};
}

PointInWindow toScreen(const Viewport& viewport, int windowX, int windowY) {
    return PointInWindow{static_cast<int>(std::floor((windowX - viewport.x + 0.5f) / viewport.scale)),
                         static_cast<int>(std::floor((windowY - viewport.y + 0.5f) / viewport.scale))};
}

int pictureScaleFor(float scale) {
    for (const int set : PictureScales)
        if (static_cast<float>(set) >= scale - 1e-3f) return set;
    return LargestPictureScale;
}

int wholeMultipleThatFits(int screenWidth, int screenHeight, int areaWidth, int areaHeight) {
    return std::max(1, std::min(areaWidth / screenWidth, areaHeight / screenHeight));
}
