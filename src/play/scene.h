#pragma once
// Drawing one frame of a level: the scene under the HUD, and the HUD along the bottom.

#include <string>

struct Game;
struct Progress;

// Background, falling lights, board backdrop, rotation ghosts, cells and devices, sparkles.
void drawScene(Game& game);
// In white: panel, icon, timer, caption line, music buttons. Leaves the colour white.
void drawHud(Game& game);

// "mm:ss" of a time in frames; three minute digits from 100 minutes on.
std::string levelTimeText(int frames);
// "Level:1   Zone:0   Best: 01:40   Rank: Child"
std::string captionLine(const Progress& progress);
