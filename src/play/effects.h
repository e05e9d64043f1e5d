#pragma once
// Short-lived picture effects, each kind in a list of its own, and the computer screen animations.

#include <array>
#include <vector>

struct Game;

struct RotationGhost {
    int x = 0, y = 0;
    int tile = 0;
    float alpha = 0.5f;
    float scale = 1.0f;
};

struct Sparkle {
    int x = 0, y = 0;
    float alpha = 1.0f;
    float scale = 0.5f;
};

struct FallingLight {
    float x = 0, y = 0;
    float alpha = 0.7f;
    float scale = 1.0f;
    float speed = 1.0f;
    int frame = 0;
};

struct MenuParticle {
    float x = 0, y = 0;
    float alpha = 1.0f;
    float scale = 0.0f;
    int red = 0, green = 255, blue = 0;
    int frame = 0;
    float speed = 1.0f;
};

struct Effects {
    std::vector<RotationGhost> ghosts;
    std::vector<Sparkle> sparkles;
    std::vector<FallingLight> lights;
    std::vector<MenuParticle> particles;
};

// Computer screen animations: 10 rows of 65 frames, filled once at start-up.
using AnimationTable = std::array<std::array<int, 65>, 10>;
AnimationTable buildAnimationTable();
