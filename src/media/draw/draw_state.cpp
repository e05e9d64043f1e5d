#include "media/draw/draw_state.h"

#include <algorithm>
#include <cmath>

void updateDrawMatrix(DrawState& state) {
    const double radians = state.rotation * 3.14159265358979323846 / 180.0;
    const float c = static_cast<float>(std::cos(radians));
    const float s = static_cast<float>(std::sin(radians));
    state.ix = c * state.scaleX;
    state.iy = -s * state.scaleY;
    state.jx = s * state.scaleX;
    state.jy = c * state.scaleY;
}

int clampChannel(int value) { return std::clamp(value, 0, 255); }

int alphaByte(float alpha) { return static_cast<int>(std::clamp(alpha, 0.0f, 1.0f) * 255.0f); }
