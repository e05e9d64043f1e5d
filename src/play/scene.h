#pragma once
// Drawing one frame of a level: the scene under the HUD, and the HUD along the bottom.

#include <string>

#include "board/board.h"
#include "media/media_layer.h"

struct Effects;
struct Progress;
struct ScreenFade;
struct Resources;
struct SceneView;
struct SpriteFont;

// What the player's options add to the board's picture; nothing by default.
struct BoardMarks {
    const CellFlags* lit = nullptr;     // cells drawn again, lit: they carry the connection
    const CellFlags* locked = nullptr;  // cells dimmed, with a padlock
};

// Background, falling lights, board backdrop, rotation ghosts, cells and devices, sparkles.
void drawScene(MediaLayer& media, const Resources& res, Effects& effects, const Board& board, const ScreenFade& fade,
               const BoardMarks& marks = {});
// In white: panel, icon, timer, caption line, music buttons (and the undo and restart buttons
// where the player asks for them). Leaves the colour white.
void drawHud(MediaLayer& media, const Resources& res, const SpriteFont& font, SceneView scene, const Progress& progress,
             bool toolButtons = false);

// "mm:ss" of a time in frames; three minute digits from 100 minutes on.
std::string levelTimeText(int frames);
// "Level:1   Zone:0   Best: 01:40   Rank: Child"
std::string captionLine(const Progress& progress);
