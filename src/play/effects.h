#pragma once
// Short-lived picture effects, each kind in a list of its own, and the computer screen animations.

#include <array>
#include <vector>

struct Board;
struct Image;
struct ScreenFade;
class MediaLayer;

struct RotationGhost {
    int x = 0, y = 0;
    int tile = 0;
    float alpha = 0.5f;
    float scale = 1.0f;
    int direction = 1;  // 1: turning clockwise, as a left click turns; -1: turning back
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

// ---- Spawning: each appends one record to its list --------------------------
// Ghost of the tile a click turned, at the cell centre; it turns, grows and fades underneath the board.
void addRotationGhost(Effects& effects, int x, int y, int tile, int direction = 1);
void addSparkle(Effects& effects, int x, int y, float alpha, float scale);
// One light per frame of play, from above the screen at a random column.
void addFallingLight(Effects& effects, MediaLayer& media);
// One particle per frame of the menu and the help pages.
void addMenuParticle(Effects& effects, MediaLayer& media);

// ---- Drawing: draw every record, advance it, drop it once its alpha has run out --
// Each leaves alpha blending, alpha 1, scale 1 and rotation 0 behind.
void drawRotationGhosts(MediaLayer& media, std::vector<RotationGhost>& ghosts, const Image& tiles);
void drawSparkles(MediaLayer& media, std::vector<Sparkle>& sparkles, const Image& sphere);
void drawFallingLights(MediaLayer& media, std::vector<FallingLight>& lights, const Image& pictures);
// Also sets the colour back to the fade colour.
void drawMenuParticles(MediaLayer& media, std::vector<MenuParticle>& particles, const Image& pictures,
                       const ScreenFade& fade);

// ---- Computer screens ---------------------------------------------------------
// Plays the running animation of every computer and starts idle or connected ones.
void stepComputerAnimations(Board& board, const AnimationTable& table, MediaLayer& media);
