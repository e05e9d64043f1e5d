#pragma once
// The one global drawing state that every draw call uses.

enum class BlendMode { Mask = 1, Solid = 2, Alpha = 3, Light = 4, Shade = 5 };

struct Colour {
    int r = 255, g = 255, b = 255;
};

struct DrawState {
    Colour colour;       // stored as given, clamped to 0..255 when used
    float alpha = 1.0f;  // stored as given, clamped to 0..1 when used
    BlendMode blend = BlendMode::Mask;
    float rotation = 0.0f;  // degrees, positive turns clockwise on screen
    float scaleX = 1.0f, scaleY = 1.0f;
    // 2 x 2 matrix from rotation and scale: x' = x + px*ix + py*iy, y' = y + px*jx + py*jy.
    float ix = 1.0f, iy = 0.0f, jx = 0.0f, jy = 1.0f;
};

// Recomputes the matrix after a change of rotation or scale.
void updateDrawMatrix(DrawState& state);

// Colour channel and alpha byte as the renderer uses them.
int clampChannel(int value);
int alphaByte(float alpha);  // trunc(clamp(alpha, 0, 1) * 255)
